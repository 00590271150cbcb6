#include "desktop/MissingGlyphs.h"

#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

namespace platform {

bool missingGlyphIsBlank(const QRawFont& font)
{
    return font.pathForGlyph(0).isEmpty() && font.alphaMapForGlyph(0, QRawFont::PixelAntialiasing).isNull();
}

QList<QRectF> blankMissingGlyphBoxes(const QTextLayout& layout, QPointF origin)
{
    // Line by line: a text document's block keeps no text of its own, and
    // asks for the runs of the whole layout give none.
    QList<QGlyphRun> runs;
    for (int line = 0; line < layout.lineCount(); ++line)
        runs << layout.lineAt(line).glyphRuns();
    return blankMissingGlyphBoxes(runs, origin);
}

QList<QRectF> blankMissingGlyphBoxes(const QList<QGlyphRun>& runs, QPointF origin)
{
    QList<QRectF> boxes;
    for (const QGlyphRun& run : runs) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (!glyphs.contains(0))
            continue;
        const QRawFont font = run.rawFont();
        if (!missingGlyphIsBlank(font))
            continue;
        const QList<QPointF> positions = run.positions();
        const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
        const qreal height = font.ascent() * 0.75;
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            if (glyphs.at(i) != 0)
                continue;
            // Some blank missing-glyphs have no width either; a box still shows.
            const qreal advance = advances.at(i).x() > 1 ? advances.at(i).x() : font.averageCharWidth();
            const QPointF baseline = origin + positions.at(i);
            boxes << QRectF(baseline.x() + advance * 0.1, baseline.y() - height, advance * 0.8, height);
        }
    }
    return boxes;
}

void markMissingGlyphs(QPainter& painter, const QTextLayout& layout, QPointF origin)
{
    const QList<QRectF> boxes = blankMissingGlyphBoxes(layout, origin);
    if (boxes.isEmpty())
        return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& box : boxes)
        painter.drawRect(box);
    painter.restore();
}

void drawTextMarkingMissing(QPainter& painter, const QFont& font, const QString& text, QPointF topLeft)
{
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(lines, font, painter.device());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal top = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setPosition(QPointF(0, top));
        top += line.height();
    }
    layout.endLayout();
    layout.draw(&painter, topLeft);
    markMissingGlyphs(painter, layout, topLeft);
}

} // namespace platform
