// The vector picture as SVG, written with Qt Core's XML writer: Qt SVG's
// generator cannot clip by a path per band, and the Windows build of Qt
// carries no Qt SVG.
#include "vectorpicture.h"

#include <QIODevice>
#include <QXmlStreamWriter>

#include <cmath>

namespace pismolot {

namespace {

// Coordinates in whole hundredths of a pixel: the relative steps of the path
// data add up exactly, so no error builds up along a contour.
struct Hundredths {
    long long x = 0;
    long long y = 0;
};

Hundredths hundredths(const QPointF& p) {
    return {std::llround(p.x() * 100), std::llround(p.y() * 100)};
}

// "12", "12.5", "-0.25", with a space before it only where the one before
// would run into it.
void appendNumber(QString& out, long long value) {
    if (value < 0)
        out += u'-';
    else if (!out.isEmpty() && (out.back().isDigit() || out.back() == u'.'))
        out += u' ';
    const long long magnitude = std::llabs(value);
    out += QString::number(magnitude / 100);
    const int part = int(magnitude % 100);
    if (part != 0) {
        out += u'.';
        out += QLatin1Char(char('0' + part / 10));
        if (part % 10 != 0)
            out += QLatin1Char(char('0' + part % 10));
    }
}

void appendStep(QString& out, const Hundredths& to, const Hundredths& from) {
    appendNumber(out, to.x - from.x);
    appendNumber(out, to.y - from.y);
}

// Path data in relative steps (the shortest form): each contour closed,
// each curve a cubic, a command letter only where it changes.
QString pathData(const QPainterPath& path) {
    QString d;
    const int count = path.elementCount();
    d.reserve(qsizetype(count) * 8);
    Hundredths current, start;
    char16_t last = 0;
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const Hundredths to = hundredths(e);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (i > 0) {
                d += u'z';
                current = start;
            }
            d += u'm';
            appendStep(d, to, current);
            start = current = to;
            last = 0; // more pairs after "m" would be lines
            break;
        case QPainterPath::LineToElement:
            if (last != u'l')
                d += u'l';
            appendStep(d, to, current);
            current = to;
            last = u'l';
            break;
        case QPainterPath::CurveToElement:
            if (last != u'c')
                d += u'c';
            appendStep(d, to, current);
            appendStep(d, hundredths(path.elementAt(i + 1)), current);
            appendStep(d, hundredths(path.elementAt(i + 2)), current);
            current = hundredths(path.elementAt(i + 2));
            i += 2;
            last = u'c';
            break;
        case QPainterPath::CurveToDataElement:
            break;
        }
    }
    if (count > 0)
        d += u'z';
    return d;
}

QString hexColour(std::uint32_t argb) {
    return QStringLiteral("#%1").arg(argb & 0xFFFFFFu, 6, 16, QLatin1Char('0'));
}

// XML 1.0 has no way to hold control characters, lone surrogates or
// U+FFFE/U+FFFF, even escaped; the title shows U+FFFD in their place.
QString xmlText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out += text[i];
            out += text[++i];
        } else if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || QChar::isSurrogate(c) ||
                   c == 0xFFFE || c == 0xFFFF) {
            out += QChar(QChar::ReplacementCharacter);
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

bool writeSvg(QIODevice& out, const VectorPicture& picture) {
    if (picture.size.isEmpty())
        return false;
    const QString width = QString::number(picture.size.width());
    const QString height = QString::number(picture.size.height());
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(0);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("width"), width);
    xml.writeAttribute(QStringLiteral("height"), height);
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %2").arg(width, height));
    xml.writeTextElement(QStringLiteral("title"), xmlText(picture.title));
    if (picture.background) {
        xml.writeEmptyElement(QStringLiteral("rect"));
        xml.writeAttribute(QStringLiteral("width"), width);
        xml.writeAttribute(QStringLiteral("height"), height);
        xml.writeAttribute(QStringLiteral("fill"), hexColour(*picture.background));
    }
    if (!picture.bands.empty()) {
        // The letters once, as the clip of every band.
        xml.writeStartElement(QStringLiteral("clipPath"));
        xml.writeAttribute(QStringLiteral("id"), QStringLiteral("letters"));
        xml.writeEmptyElement(QStringLiteral("path"));
        xml.writeAttribute(QStringLiteral("d"), pathData(picture.letters));
        xml.writeEndElement();
        xml.writeStartElement(QStringLiteral("g"));
        xml.writeAttribute(QStringLiteral("clip-path"), QStringLiteral("url(#letters)"));
        // Each band a rectangle as a path, the shortest way to write one: a
        // tall gradient has hundreds.
        const QString left = QStringLiteral("M%1 ").arg(picture.lettersArea.left());
        const QString across = QStringLiteral("h%1v").arg(picture.lettersArea.width());
        const QString back = QStringLiteral("h-%1z").arg(picture.lettersArea.width());
        for (const VectorPicture::Band& band : picture.bands) {
            xml.writeEmptyElement(QStringLiteral("path"));
            xml.writeAttribute(QStringLiteral("d"), left + QString::number(band.top) + across +
                                                        QString::number(band.rows) + back);
            xml.writeAttribute(QStringLiteral("fill"), hexColour(band.colour));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

} // namespace pismolot
