#include "numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace pismolot {

namespace {

bool isSkipped(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

// Yields the characters of a text with the skipped ones left out.
class Reader {
public:
    explicit Reader(std::u16string_view text) : text_(text) {}
    char16_t peek() {
        while (pos_ < text_.size() && isSkipped(text_[pos_]))
            ++pos_;
        return pos_ < text_.size() ? text_[pos_] : u'\0';
    }
    void next() { ++pos_; }

private:
    std::u16string_view text_;
    std::size_t pos_ = 0;
};

int digitValue(char16_t c, int base) {
    int v = 99;
    if (c >= u'0' && c <= u'9')
        v = c - u'0';
    else if (c >= u'a' && c <= u'f')
        v = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        v = c - u'A' + 10;
    return v < base ? v : -1;
}

double readRadix(Reader& in, int base) {
    double value = 0;
    for (int d = 0; (d = digitValue(in.peek(), base)) >= 0; in.next())
        value = value * base + d;
    return value;
}

// Decimal order of magnitude of a well-formed number text ("-12.5e3" -> 5),
// saturating; tells overflow from underflow.
long magnitudeOrder(const std::string& number) {
    const std::size_t epos = number.find('e');
    const std::string mantissa = number.substr(0, epos);
    long exponent = 0;
    if (epos != std::string::npos) {
        const char* first = number.data() + epos + 1;
        if (*first == '+')
            ++first;
        if (std::from_chars(first, number.data() + number.size(), exponent).ec != std::errc())
            exponent = *first == '-' ? -100000 : 100000;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t lead = mantissa.find_first_of("123456789");
    if (lead == std::string::npos)
        return -100000;
    const long position = lead < point ? long(point - lead) : -long(lead - point - 1);
    return std::clamp(position + std::clamp(exponent, -100000L, 100000L), -200000L, 200000L);
}

} // namespace

double readNumber(std::u16string_view text) {
    Reader in(text);
    if (in.peek() == u'&') {
        in.next();
        const char16_t kind = in.peek();
        in.next();
        if (kind == u'H' || kind == u'h')
            return readRadix(in, 16);
        if (kind == u'O' || kind == u'o')
            return readRadix(in, 8);
        return 0;
    }

    // Gather the accepted characters as plain ASCII, then convert once.
    std::string number;
    if (in.peek() == u'+' || in.peek() == u'-') {
        if (in.peek() == u'-')
            number += '-';
        in.next();
    }
    bool digits = false;
    auto takeDigits = [&](bool& any) {
        for (char16_t c = 0; (c = in.peek()) >= u'0' && c <= u'9'; in.next()) {
            number += char(c);
            any = true;
        }
    };
    takeDigits(digits);
    if (in.peek() == u'.') {
        number += '.';
        in.next();
        takeDigits(digits);
    }
    if (!digits)
        return 0;
    const char16_t e = in.peek();
    if (e == u'E' || e == u'e' || e == u'D' || e == u'd') {
        std::string exponent = "e";
        in.next();
        if (in.peek() == u'+' || in.peek() == u'-') {
            exponent += char(in.peek());
            in.next();
        }
        bool expDigits = false;
        const std::size_t mark = number.size();
        takeDigits(expDigits);
        if (expDigits)
            number.insert(mark, exponent);
    }

    double value = 0;
    const char* first = number.data();
    if (*first == '-')
        ++first; // from_chars takes no '-' of ours for the sign handling below
    const auto result = std::from_chars(first, number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = magnitudeOrder(number) > 0 ? HUGE_VAL : 0.0;
    return number.front() == '-' ? -value : value;
}

} // namespace pismolot
