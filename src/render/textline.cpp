#include "textline.h"

#include "fonts.h"
#include "scan.h"
#include "surfaces.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <array>
#include <cstdint>

namespace pismolot {

namespace {

constexpr qsizetype BigSurface = qsizetype(1) << 16;

} // namespace

std::optional<GlyphLine> glyphLine(const QString& text, const QFont& font,
                                   const QPaintDevice* device) {
    // Tabs and breaks are laid out by rules of their own.
    if (std::any_of(text.begin(), text.end(), [](QChar c) {
            return c.unicode() < 0x20 || c == QChar::LineSeparator ||
                   c == QChar::ParagraphSeparator || c == QChar::ObjectReplacementCharacter;
        }))
        return std::nullopt;
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(Qt::LeftToRight);
    QTextLayout layout(text, font, const_cast<QPaintDevice*>(device));
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (line.isValid())
        line.setLineWidth(1e6);
    layout.endLayout();
    if (!line.isValid())
        return std::nullopt;
    return GlyphLine{line.glyphRuns(), line.ascent()};
}

bool colourFace(const QRawFont& face) {
    static constexpr std::array<const char*, 4> colourTables = {"CBLC", "COLR", "sbix", "SVG "};
    return std::any_of(colourTables.begin(), colourTables.end(),
                       [&](const char* table) { return !face.fontTable(table).isEmpty(); });
}

bool bigSurface(QSize size) {
    return qsizetype(size.width()) * size.height() >= BigSurface;
}

bool monochrome(const std::optional<GlyphLine>& line) {
    return line && std::none_of(line->runs.begin(), line->runs.end(),
                                [](const QGlyphRun& run) { return colourFace(run.rawFont()); });
}

void paintText(QImage& surface, const QString& text, const FontChoice& choice, qreal baseline,
               int left, bool monochrome) {
    const auto draw = [&](QImage& target) {
        QPainter painter(&target);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(QFont(makeFont(choice), &target));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(-left, baseline), text);
    };
    draw(surface);
    if (monochrome || !holdsColouredPixel(rasterOf(std::as_const(surface))))
        return;
    QImage layer(surface.size(), QImage::Format_ARGB32_Premultiplied);
    layer.setDotsPerMeterX(surface.dotsPerMeterX());
    layer.setDotsPerMeterY(surface.dotsPerMeterY());
    layer.fill(Qt::transparent);
    draw(layer);
    for (int y = 0; y < surface.height(); ++y) {
        const auto* cover = reinterpret_cast<const std::uint32_t*>(layer.constScanLine(y));
        auto* row = reinterpret_cast<std::uint32_t*>(surface.scanLine(y));
        for (int x = 0; x < surface.width(); ++x)
            row[x] = cover[x] >= 0x80000000u ? 0xFF000000u : 0xFFFFFFFFu;
    }
}

void drawText(QImage& surface, const QString& text, const FontChoice& choice) {
    const QFont font(makeFont(choice), &surface);
    const QFontMetricsF fm(font, &surface);
    paintText(surface, text, choice, fm.ascent(), 0,
              bigSurface(surface.size()) && monochrome(glyphLine(text, font, &surface)));
}

} // namespace pismolot
