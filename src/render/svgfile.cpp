// The vector picture as SVG, written with Qt Core's XML writer: Qt SVG's
// generator cannot clip by a path per band, and the Windows build of Qt
// carries no Qt SVG.
#include "vectorpicture.h"

#include <QIODevice>
#include <QXmlStreamWriter>

#include <cmath>

namespace pismolot {

namespace {

// A coordinate to a hundredth of a pixel, without trailing zeros: "12",
// "12.5", "-0.25".
void appendNumber(QString& out, qreal value) {
    const long long hundredths = std::llround(value * 100);
    const long long whole = std::llabs(hundredths) / 100;
    const int part = int(std::llabs(hundredths) % 100);
    if (hundredths < 0)
        out += u'-';
    out += QString::number(whole);
    if (part != 0) {
        out += u'.';
        out += QLatin1Char(char('0' + part / 10));
        if (part % 10 != 0)
            out += QLatin1Char(char('0' + part % 10));
    }
}

void appendPoint(QString& out, QChar command, const QPointF& p) {
    if (!command.isNull())
        out += command;
    appendNumber(out, p.x());
    out += u' ';
    appendNumber(out, p.y());
}

// Path data: each contour closed, each curve a cubic.
QString pathData(const QPainterPath& path) {
    QString d;
    const int count = path.elementCount();
    d.reserve(qsizetype(count) * 12);
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            if (i > 0)
                d += u'Z';
            appendPoint(d, u'M', e);
            break;
        case QPainterPath::LineToElement:
            appendPoint(d, u'L', e);
            break;
        case QPainterPath::CurveToElement:
            appendPoint(d, u'C', e);
            break;
        case QPainterPath::CurveToDataElement:
            appendPoint(d, u' ', e);
            break;
        }
    }
    if (count > 0)
        d += u'Z';
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
        const QString left = QString::number(picture.lettersArea.left());
        const QString across = QString::number(picture.lettersArea.width());
        for (const VectorPicture::Band& band : picture.bands) {
            xml.writeEmptyElement(QStringLiteral("rect"));
            xml.writeAttribute(QStringLiteral("x"), left);
            xml.writeAttribute(QStringLiteral("y"), QString::number(band.top));
            xml.writeAttribute(QStringLiteral("width"), across);
            xml.writeAttribute(QStringLiteral("height"), QString::number(band.rows));
            xml.writeAttribute(QStringLiteral("fill"), hexColour(band.colour));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

} // namespace pismolot
