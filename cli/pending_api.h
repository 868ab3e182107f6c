#pragma once

// Stand-ins for the engine's and the output's new interfaces until they are
// merged; backend.cpp is the only user. Deleted at the merge.

#include <QString>

namespace pismolot {

enum class ImageFormat { Bmp, Png, Jpeg, Ppm, Webp };

enum class WriteError {
    None,
    EmptyPicture,
    TooLarge,
    IsDirectory,
    NoPermission,
    NoSuchFolder,
    DiskFull,
    ReadOnlyFileSystem,
    Other
};

struct WriteStatus {
    WriteError error = WriteError::None;
    QString systemText;
    bool ok() const { return error == WriteError::None; }
};

} // namespace pismolot
