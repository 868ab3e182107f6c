#pragma once

#include <gtest/gtest.h>

// Skips, saying why, a test of what only POSIX systems have (terminals by
// name, byte file names, bash, devices under /dev); it runs everywhere else.
#ifdef _WIN32
#define SKIP_ON_WINDOWS(why) GTEST_SKIP() << "not on Windows: " << (why)
#else
#define SKIP_ON_WINDOWS(why) static_cast<void>(0)
#endif
