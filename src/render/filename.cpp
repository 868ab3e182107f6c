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

} // namespace pismolot
