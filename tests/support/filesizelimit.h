#pragma once

#include <QtGlobal>

#if __has_include(<sys/resource.h>)
#include <sys/resource.h>

#include <csignal>

inline constexpr bool CanLimitFileSize = true;

// A full disk in miniature, no root needed: while it lives, a write that would
// make a file larger than `bytes` raises SIGXFSZ, whose default action ends
// the process, as it would a user's; the writers under test must block it and
// report EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit = old_;
        limit.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};
#else
// Windows has no file size limit of a process: the cases that need one skip.
inline constexpr bool CanLimitFileSize = false;
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64) {}
};
#endif
