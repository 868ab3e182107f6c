#pragma once

// Internal to the Windows file writer, for its tests: the calls that put a
// written file in the target's place. The writer makes them through this
// table, which holds the real calls; a test may swap one to make Windows'
// rarer failures happen, and must put it back (WinFileCallsSwap) before any
// other write runs. Nothing but tests changes it.

#include <windows.h>

namespace pismolot::detail {

struct WinFileCalls {
    decltype(&::ReplaceFileW) replaceFile;
    decltype(&::MoveFileExW) moveFile;
};

WinFileCalls& winFileCalls();

// Swaps the table for one scope.
class WinFileCallsSwap {
public:
    explicit WinFileCallsSwap(const WinFileCalls& calls) : saved_(winFileCalls()) {
        winFileCalls() = calls;
    }
    ~WinFileCallsSwap() { winFileCalls() = saved_; }
    WinFileCallsSwap(const WinFileCallsSwap&) = delete;
    WinFileCallsSwap& operator=(const WinFileCallsSwap&) = delete;

private:
    WinFileCalls saved_;
};

} // namespace pismolot::detail
