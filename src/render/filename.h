#pragma once

// File names as the system holds them. On Linux a name is bytes, and not
// every name is UTF-8: each byte that is no part of valid UTF-8 is carried
// in a QString as a lone surrogate U+DC80 to U+DCFF, so that the name comes
// back byte for byte when the file is opened. (Valid UTF-8 never yields a
// lone surrogate, so nothing else is changed; Windows names are UTF-16, which
// QString holds as it is.)

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace pismolot {

QString decodeFileName(QByteArrayView bytes);
QByteArray encodeFileName(const QString& name);

// The byte of an undecodable name that `c` stands for, or nothing: only a
// lone surrogate from decodeFileName is one (`previous` is the QChar before
// it, or 0, to tell it from the second half of a pair).
std::optional<unsigned char> escapedByte(QChar previous, QChar c);

// What Windows makes of the name of a file to be written, an absolute path
// with "\" or "/" between its parts:
//   Device         the last part is a device (CON, PRN, AUX, NUL, COM0-9,
//                  LPT0-9, CONIN$, CONOUT$), with any extension and in any case
//   BadCharacter   a part holds a control character or one of < > : " | ? *
//                  (the drive's colon aside)
//   BadEnd         the last part ends with a dot or a space, which Windows
//                  would silently drop
//   TooLong        the path is MaxWindowsPath characters or longer; "\\?\"
//                  paths may be as long as the system allows
enum class WindowsName { Fine, Device, BadCharacter, BadEnd, TooLong };
inline constexpr qsizetype MaxWindowsPath = 260;
WindowsName checkWindowsName(QStringView path);

// The offset of the first byte at which `bytes` stops being valid UTF-8
// (overlong forms, surrogates and code points above U+10FFFF included), or
// nothing when all of it is valid.
std::optional<qsizetype> invalidUtf8Offset(QByteArrayView bytes);

} // namespace pismolot
