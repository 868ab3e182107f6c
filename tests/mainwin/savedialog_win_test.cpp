// Windows' save dialog as the program opens it, on threads with each kind of
// COM, cancelled from a second thread as a user would.
#include "mainwin/opensave.h"

#include <QDir>
#include <QTemporaryDir>

#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

// The shown windows of this process titled like the dialog, waited for up
// to ten seconds until there are `count`.
std::vector<HWND> dialogWindows(size_t count) {
    std::vector<HWND> found;
    for (int i = 0; i < 100 && found.size() != count; ++i) {
        std::this_thread::sleep_for(100ms);
        found.clear();
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                wchar_t text[64] = {};
                GetWindowTextW(window, text, 64);
                if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                    std::wstring(text) == L"Zapisz jako")
                    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
    }
    return found;
}

// Whether the dialog shows an address bar, which the legacy dialog that a
// hook forced had not.
bool hasAddressBar(HWND dialog) {
    bool found = false;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t kind[64] = {};
            GetClassNameW(child, kind, 64);
            const std::wstring name(kind);
            if (name == L"Breadcrumb Parent" || name == L"Address Band Root")
                *reinterpret_cast<bool*>(data) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

enum class Apartment { None, SingleThreaded, MultiThreaded };

// What the thread's COM is now: asking for an apartment-threaded one tells.
Apartment apartmentNow() {
    const HRESULT probe = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(probe))
        CoUninitialize();
    if (probe == S_OK)
        return Apartment::None;
    return probe == S_FALSE ? Apartment::SingleThreaded : Apartment::MultiThreaded;
}

struct Asked {
    bool shown = false;
    QString path;
    Apartment after = Apartment::None;
};

// AskSaveFileName on a thread whose COM is `before`, the dialog handed to
// `look` once shown and then cancelled, as often as needed for the thread to
// return, so that a failed check leaves no thread waiting in it.
Asked askAndCancel(Apartment before, const QString& dir,
                   const std::function<void(HWND)>& look = {}) {
    std::future<Asked> asked = std::async(std::launch::async, [&] {
        if (before != Apartment::None)
            CoInitializeEx(nullptr, before == Apartment::SingleThreaded ? COINIT_APARTMENTTHREADED
                                                                        : COINIT_MULTITHREADED);
        Asked result;
        result.path = AskSaveFileName(nullptr, "Pliki BMP (*.bmp)|*.bmp", "Zapisz jako", dir);
        result.after = apartmentNow();
        if (before != Apartment::None)
            CoUninitialize();
        return result;
    });
    const std::vector<HWND> shown = dialogWindows(1);
    if (look && shown.size() == 1)
        look(shown.front());
    while (asked.wait_for(200ms) != std::future_status::ready) {
        for (HWND window : dialogWindows(1))
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    Asked result = asked.get();
    result.shown = shown.size() == 1;
    return result;
}

// Cancel gives no name and writes nothing whatever COM the thread had (none
// where the program runs on the minimal platform); the thread's own COM is
// left as it was, a multithreaded one the caller's to end.
TEST(SaveDialogWindows, CancelOnEachKindOfThread) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const struct {
        const char* name;
        Apartment before;
        std::vector<Apartment> after;
    } cases[] = {
        // The shell may keep the OLE it started for the dialog (Wine's does).
        {"NoCom", Apartment::None, {Apartment::None, Apartment::SingleThreaded}},
        {"SingleThreaded", Apartment::SingleThreaded, {Apartment::SingleThreaded}},
        {"MultiThreaded", Apartment::MultiThreaded, {Apartment::MultiThreaded}},
    };
    for (const auto& c : cases) {
        const Asked asked = askAndCancel(c.before, dir.path());
        EXPECT_TRUE(asked.shown) << c.name << ": the dialog did not show alone";
        EXPECT_EQ(asked.path, QString()) << c.name;
        EXPECT_NE(std::find(c.after.begin(), c.after.end(), asked.after), c.after.end())
            << c.name << ": COM after is " << int(asked.after);
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << c.name;
    }
}

TEST(SaveDialogWindows, IsTheDialogWithTheAddressBar) {
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "Wine's dialog has no address bar, the current one or the legacy one";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    bool addressBar = false;
    const Asked asked = askAndCancel(Apartment::None, dir.path(),
                                     [&](HWND dialog) { addressBar = hasAddressBar(dialog); });
    EXPECT_TRUE(asked.shown);
    EXPECT_TRUE(addressBar);
}

} // namespace
