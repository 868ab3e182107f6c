#pragma once

// Internal to the POSIX file writer, for its tests: the system calls that
// finish a replaced file. The writer makes every one of these calls through
// this table, which holds the real calls; a test may swap one to make it
// fail, or to see the order of the steps, and must put it back (FileCallsSwap)
// before any other write runs. Nothing but tests changes it.

#include "render/callsswap.h"

namespace pismolot::detail {

struct FileCalls {
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};

FileCalls& fileCalls();

// Swaps the table for one scope.
using FileCallsSwap = CallsSwap<FileCalls, fileCalls>;

} // namespace pismolot::detail
