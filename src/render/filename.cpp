#include "render/filename.h"

#include <QStringDecoder>

namespace pismolot {

namespace {

constexpr char16_t FirstEscape = 0xDC80;
constexpr char16_t LastEscape = 0xDCFF;

// A piece of valid UTF-8, a leading U+FEFF kept (it is part of the name).
QString fromValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(bytes);
}

} // namespace

std::optional<qsizetype> invalidUtf8Offset(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned lead = p[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int continuation = 0;
        unsigned low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            if (lead == 0xE0)
                low = 0xA0; // overlong
            else if (lead == 0xED)
                high = 0x9F; // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            if (lead == 0xF0)
                low = 0x90; // overlong
            else if (lead == 0xF4)
                high = 0x8F; // above U+10FFFF
        } else {
            return i;
        }
        if (i + continuation >= n)
            return i;
        if (p[i + 1] < low || p[i + 1] > high)
            return i;
        for (int k = 2; k <= continuation; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return i;
        }
        i += continuation + 1;
    }
    return std::nullopt;
}

QString decodeFileName(QByteArrayView bytes) {
    QString name;
    while (!bytes.isEmpty()) {
        const qsizetype bad = invalidUtf8Offset(bytes).value_or(bytes.size());
        name += fromValidUtf8(bytes.first(bad));
        if (bad < bytes.size())
            name += QChar(char16_t(0xDC00 | static_cast<unsigned char>(bytes[bad])));
        bytes = bytes.sliced(std::min(bad + 1, bytes.size()));
    }
    return name;
}

std::optional<unsigned char> escapedByte(QChar previous, QChar c) {
    if (c.unicode() < FirstEscape || c.unicode() > LastEscape || previous.isHighSurrogate())
        return std::nullopt;
    return static_cast<unsigned char>(c.unicode() & 0xFF);
}

QByteArray encodeFileName(const QString& name) {
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype start = 0; // of the run not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (const auto byte = escapedByte(i > 0 ? name[i - 1] : QChar(), name[i])) {
            bytes += QStringView(name).sliced(start, i - start).toUtf8();
            bytes += char(*byte);
            start = i + 1;
        }
    }
    bytes += QStringView(name).sliced(start).toUtf8();
    return bytes;
}

namespace {

bool isSeparator(QChar c) {
    return c == u'\\' || c == u'/';
}

bool isDeviceName(QStringView part) {
    // The device is the part before the first dot, blanks at its end ignored.
    QStringView base = part.left(part.indexOf(u'.') < 0 ? part.size() : part.indexOf(u'.'));
    while (base.endsWith(u' '))
        base.chop(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"}) {
        if (base.compare(QLatin1String(device), Qt::CaseInsensitive) == 0)
            return true;
    }
    if (base.size() != 4)
        return false;
    const QStringView stem = base.left(3);
    const bool port = stem.compare(QLatin1String("COM"), Qt::CaseInsensitive) == 0 ||
                      stem.compare(QLatin1String("LPT"), Qt::CaseInsensitive) == 0;
    // Windows counts the superscript digits ¹ ² ³ as port numbers too.
    const QChar n = base[3];
    return port && ((n >= u'0' && n <= u'9') || n == u'\u00B9' || n == u'\u00B2' || n == u'\u00B3');
}

} // namespace

WindowsName checkWindowsName(QStringView path) {
    const QStringView verbatim = QStringView(u"\\\\?\\");
    const bool longForm = path.startsWith(verbatim);
    if (longForm)
        path = path.sliced(verbatim.size());
    else if (path.size() >= MaxWindowsPath)
        return WindowsName::TooLong;
    // A drive's colon ("C:") is the one a path may hold.
    qsizetype start = path.size() >= 2 && path[1] == u':' && path[0].isLetter() ? 2 : 0;
    QStringView last;
    while (start <= path.size()) {
        qsizetype end = start;
        while (end < path.size() && !isSeparator(path[end]))
            ++end;
        const QStringView part = path.sliced(start, end - start);
        for (const QChar c : part) {
            if (c.unicode() < 32 || QStringView(u"<>:\"|?*").contains(c))
                return WindowsName::BadCharacter;
        }
        if (!part.isEmpty())
            last = part;
        start = end + 1;
    }
    if (last.isEmpty() || last == u"." || last == u"..")
        return WindowsName::Fine; // a folder's name, refused as one by the writer
    if (isDeviceName(last))
        return WindowsName::Device;
    if (last.endsWith(u'.') || last.endsWith(u' '))
        return WindowsName::BadEnd;
    return WindowsName::Fine;
}

} // namespace pismolot
