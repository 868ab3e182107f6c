// libFuzzer target: number reading, rounding and the letter scan on rasters
// and geometry taken from the input.
#include "render/numbers.h"
#include "render/scan.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace pismolot;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size && text.size() < 4096; i += 2)
        text.push_back(char16_t(data[i] | data[i + 1] << 8));
    const double n = readNumber(text);
    (void)roundHalfEven<std::int16_t>(n);
    (void)roundHalfEven<int>(n);

    if (size < 16)
        return 0;
    float geometry[4];
    std::memcpy(geometry, data, sizeof geometry);
    for (float& g : geometry)
        if (!std::isfinite(g) || std::fabs(g) > 1e5f)
            g = 15;
    const int w = data[0] % 48, h = data[1] % 48, ow = data[2] % 48, oh = data[3] % 48;
    std::vector<std::uint32_t> scratch(std::size_t(w * h)), fast(std::size_t(ow * oh)), slow;
    for (std::size_t i = 0; i < scratch.size(); ++i)
        scratch[i] = (data[(i + 16) % size] & 1) ? 0xFF000000u : 0xFFFFFFFFu;
    slow = fast;
    const ScanPlan plan = planScan(geometry[0], std::fabs(geometry[1]), std::fabs(geometry[2]),
                                   std::fabs(geometry[3]) + 1, 1e4f);
    if (plan.rows > 5000 || plan.cols > 5000)
        return 0; // a legitimately long row loop, not a fault
    StyleRandom a, b;
    const int style = data[4] % 14;
    scanLetters({scratch.data(), w, w, h}, {fast.data(), ow, ow, oh}, plan, style, a);
    scanLettersReference({scratch.data(), w, w, h}, {slow.data(), ow, ow, oh}, plan, style, b);
    if (fast != slow)
        __builtin_trap();
    return 0;
}
