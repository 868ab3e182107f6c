#pragma once

// Internal to the Windows file writer, for its tests: the calls that put a
// written file in the target's place. The writer makes them through this
// table, which holds the real calls; a test may swap one to make Windows'
// rarer failures happen, and must put it back (WinFileCallsSwap) before any
// other write runs. Nothing but tests changes it.

#include "render/callsswap.h"

#include <windows.h>

namespace pismolot::detail {

struct WinFileCalls {
    decltype(&::ReplaceFileW) replaceFile;
    decltype(&::MoveFileExW) moveFile;
};

WinFileCalls& winFileCalls();

// Swaps the table for one scope.
using WinFileCallsSwap = CallsSwap<WinFileCalls, winFileCalls>;

} // namespace pismolot::detail
