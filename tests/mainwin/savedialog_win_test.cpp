// The save dialog as Windows shows it, watched from another thread while it
// is open: the item dialog, whose folder is an address bar rather than the
// "Save in" box (cmb2) of the dialog that hooked GetSaveFileName calls get,
// on Windows and under Wine alike; modal to its owner; and Cancel gives no
// name and writes nothing.
#include "mainwin/opensave.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>

#include <windows.h>

#include <dlgs.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

namespace {

// What the watcher saw of the dialog.
struct Seen {
    bool shown = false;
    HWND owner = nullptr;
    bool ownerEnabled = true;
    bool saveInBox = false; // cmb2: the legacy dialog's folder box
};

HWND shownWindowTitled(const wchar_t* title) {
    struct Search {
        const wchar_t* title;
        HWND found;
    } search{title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t text[64] = {};
            GetWindowTextW(window, text, 64);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                wcscmp(text, s->title) == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool hasControl(HWND dialog, int id) {
    struct Search {
        int id;
        bool found;
    } search{id, false};
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(child) == s->id && IsWindowVisible(child))
                s->found = true;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for the dialog (its Save button, IDOK, is there in either kind),
// looks at it and cancels it as a user would.
Seen watchAndCancel(const wchar_t* title) {
    using namespace std::chrono;
    Seen seen;
    HWND dialog = nullptr;
    for (const auto until = steady_clock::now() + seconds(30); steady_clock::now() < until;) {
        dialog = shownWindowTitled(title);
        if (dialog && hasControl(dialog, IDOK))
            break;
        std::this_thread::sleep_for(milliseconds(50));
    }
    if (!dialog || !hasControl(dialog, IDOK)) {
        // Not Windows' dialog (the program's own has no native buttons):
        // closed, so that the test ends.
        if (dialog)
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        return seen;
    }
    seen.shown = true;
    seen.owner = GetWindow(dialog, GW_OWNER);
    seen.ownerEnabled = seen.owner && IsWindowEnabled(seen.owner);
    seen.saveInBox = hasControl(dialog, cmb2);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return seen;
}

TEST(SaveDialog, IsTheItemDialogModalToItsOwnerAndCancelWritesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("Pismolot"));
    owner.resize(300, 200);
    owner.show();
    const HWND ownerWindow = reinterpret_cast<HWND>(owner.winId());

    std::future<Seen> watcher = std::async(std::launch::async, watchAndCancel, L"Zapisz jako");
    QString selected = QStringLiteral("unchanged");
    const QString path =
        AskSaveFileName(&owner, QStringLiteral("Mapa bitowa (*.bmp)|*.bmp|PNG (*.png)|*.png"),
                        QStringLiteral("Zapisz jako"), dir.path(), &selected);
    const Seen seen = watcher.get();

    ASSERT_TRUE(seen.shown) << "Windows' save dialog, \"Zapisz jako\", did not appear";
    EXPECT_EQ(seen.owner, ownerWindow) << "the dialog is not owned by the window that asked";
    EXPECT_FALSE(seen.ownerEnabled) << "the owner took input while the dialog was open";
    EXPECT_TRUE(path.isEmpty()) << path.toStdString();
    EXPECT_EQ(selected, QStringLiteral("unchanged"));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
    EXPECT_FALSE(seen.saveInBox) << "Windows showed the legacy dialog (with its \"Save in\" box)";
}

} // namespace
