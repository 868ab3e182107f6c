// Windows' save dialog as the program opens it, driven from a second thread
// the way a user would: a name typed, the create question answered, cancel.
#include "mainwin/opensave.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

const wchar_t* const kTitle = L"Zapisz jako";
const char* const kFilter = "Pliki BMP (*.bmp)|*.bmp|Pliki PNG (*.png)|*.png";

bool underWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The shown windows of this process titled like the dialog: the dialog
// itself and, once asked, its question.
std::vector<HWND> shownWindows() {
    std::vector<HWND> found;
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t text[64] = {};
            GetWindowTextW(window, text, 64);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                std::wstring(text) == kTitle)
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Waits up to ten seconds for `count` such windows.
std::vector<HWND> waitForWindows(size_t count) {
    for (int i = 0; i < 100; ++i) {
        std::vector<HWND> windows = shownWindows();
        if (windows.size() == count)
            return windows;
        std::this_thread::sleep_for(100ms);
    }
    return shownWindows();
}

// Of the dialog and its question, the one that is owned by the other.
HWND question(const std::vector<HWND>& windows) {
    for (HWND window : windows) {
        for (HWND other : windows) {
            if (GetWindow(window, GW_OWNER) == other)
                return window;
        }
    }
    return nullptr;
}

HWND dialogOf(const std::vector<HWND>& windows) {
    const HWND asked = question(windows);
    for (HWND window : windows) {
        if (window != asked)
            return window;
    }
    return nullptr;
}

// The dialog's name box: its shown edit field.
HWND nameBox(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t kind[32] = {};
            GetClassNameW(child, kind, 32);
            if (std::wstring(kind) != L"Edit" || !IsWindowVisible(child))
                return TRUE;
            *reinterpret_cast<HWND*>(data) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A button pressed. Posted, not sent: the press may open a question that
// the driver has to answer before the owner's thread returns.
void press(HWND window, int button) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
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
    QString path;
    QString filter;
    Apartment after = Apartment::None;
};

// The dialog's thread, waited for however the test ends: whatever is still
// shown is closed, so that a failed check does not leave it waiting.
class Asking {
public:
    explicit Asking(std::future<Asked> asked) : asked_(std::move(asked)) {}
    Asking(const Asking&) = delete;
    Asking& operator=(const Asking&) = delete;
    ~Asking() {
        if (asked_.valid())
            result();
    }
    Asked result() {
        for (int i = 0; i < 100 && asked_.wait_for(100ms) != std::future_status::ready; ++i) {
            std::vector<HWND> windows = shownWindows();
            if (const HWND asking = question(windows))
                press(asking, IDNO);
            else if (const HWND dialog = dialogOf(windows))
                press(dialog, IDCANCEL);
        }
        return asked_.get();
    }

private:
    std::future<Asked> asked_;
};

// AskSaveFileName on a thread of its own whose COM is `before`, as the
// program's thread may have it (none on the minimal platform).
std::future<Asked> startAsking(Apartment before, const QString& dir) {
    return std::async(std::launch::async, [before, dir] {
        if (before != Apartment::None)
            CoInitializeEx(nullptr, before == Apartment::SingleThreaded ? COINIT_APARTMENTTHREADED
                                                                        : COINIT_MULTITHREADED);
        Asked asked;
        asked.path =
            AskSaveFileName(nullptr, kFilter, QStringLiteral("Zapisz jako"), dir, &asked.filter);
        asked.after = apartmentNow();
        if (before != Apartment::None)
            CoUninitialize();
        return asked;
    });
}

// Cancel gives no name and writes nothing, whatever COM the thread had; a
// thread's own COM is left as it was: still apartment-threaded, or still
// multithreaded, which is the caller's to end.
TEST(SaveDialogWindows, CancelGivesNoNameAndLeavesTheThreadsCom) {
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
        Asking asking(startAsking(c.before, dir.path()));
        const std::vector<HWND> windows = waitForWindows(1);
        EXPECT_EQ(windows.size(), 1u) << c.name << ": the dialog did not show alone";
        if (!windows.empty())
            press(windows.front(), IDCANCEL);
        const Asked result = asking.result();
        EXPECT_EQ(result.path, QString()) << c.name;
        EXPECT_NE(std::find(c.after.begin(), c.after.end(), result.after), c.after.end())
            << c.name << ": COM after is " << int(result.after);
        EXPECT_TRUE(QDir(dir.path()).isEmpty()) << c.name;
    }
}

// A new name: "no" to the create question keeps the dialog open, "yes"
// returns the name as typed, with no extension added and nothing written.
TEST(SaveDialogWindows, CreateQuestionNoKeepsTheDialogYesGivesTheTypedName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString typed = QDir::toNativeSeparators(dir.filePath("obraz bez rozszerzenia"));
    Asking asking(startAsking(Apartment::None, dir.path()));

    for (const int answer : {IDNO, IDYES}) {
        const std::vector<HWND> shown = waitForWindows(1);
        ASSERT_EQ(shown.size(), 1u) << "the dialog is not shown alone before answer " << answer;
        const HWND box = nameBox(shown.front());
        ASSERT_NE(box, nullptr) << "no name box in the dialog";
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.utf16()));
        press(shown.front(), IDOK);
        const std::vector<HWND> windows = waitForWindows(2);
        const HWND asked = question(windows);
        ASSERT_NE(asked, nullptr) << "a new name brought no question";
        EXPECT_EQ(dialogOf(windows), shown.front()) << "the question is not the dialog's own";
        press(asked, answer);
    }
    const Asked result = asking.result();
    EXPECT_EQ(QDir::toNativeSeparators(result.path).toLower(), typed.toLower());
    EXPECT_EQ(result.filter, "Pliki BMP (*.bmp)");
    EXPECT_TRUE(QDir(dir.path()).isEmpty()) << "the dialog wrote a file itself";
}

// The legacy dialog that a hook forced had no address bar; the current one
// has. Wine draws one dialog for both.
TEST(SaveDialogWindows, IsTheDialogWithTheAddressBar) {
    if (underWine())
        GTEST_SKIP() << "Wine's save dialog has no address bar, legacy or not";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Asking asking(startAsking(Apartment::None, dir.path()));
    const std::vector<HWND> windows = waitForWindows(1);
    ASSERT_EQ(windows.size(), 1u);
    bool addressBar = false;
    EnumChildWindows(
        windows.front(),
        [](HWND child, LPARAM data) -> BOOL {
            wchar_t kind[64] = {};
            GetClassNameW(child, kind, 64);
            const std::wstring name(kind);
            if (name == L"Breadcrumb Parent" || name == L"Address Band Root")
                *reinterpret_cast<bool*>(data) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&addressBar));
    EXPECT_TRUE(addressBar);
}

} // namespace
