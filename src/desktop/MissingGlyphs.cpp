#include "desktop/MissingGlyphs.h"

#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include <hb.h>

#include <algorithm>

#include <memory>

namespace platform {

namespace {

bool isVariationSelector(char32_t c)
{
    return (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

using HbFont = std::shared_ptr<hb_font_t>;

// The glyph the font's own cmap maps base + selector to; 0 when none. Qt
// has no such question, so the cmap is handed to HarfBuzz, once a face.
quint32 variantGlyph(const QRawFont& font, char32_t base, char32_t selector)
{
    static QHash<QByteArray, HbFont> fonts;
    // The head table tells one face from another of the same name.
    const QByteArray key = font.familyName().toUtf8() + '\n' + font.styleName().toUtf8() + '\n' + font.fontTable("head");
    HbFont hbFont = fonts.value(key);
    if (!hbFont) {
        hb_face_t* face = hb_face_builder_create();
        for (const char* tag : {"cmap", "maxp"}) {
            const QByteArray table = font.fontTable(tag);
            hb_blob_t* blob = hb_blob_create(table.constData(), unsigned(table.size()), HB_MEMORY_MODE_DUPLICATE, nullptr, nullptr);
            hb_face_builder_add_table(face, hb_tag_from_string(tag, 4), blob);
            hb_blob_destroy(blob);
        }
        hbFont = HbFont(hb_font_create(face), &hb_font_destroy);
        hb_face_destroy(face);
        // A sample rarely meets more than a few faces with sequences.
        if (fonts.size() >= 32)
            fonts.clear();
        fonts.insert(key, hbFont);
    }
    hb_codepoint_t glyph = 0;
    return hb_font_get_variation_glyph(hbFont.get(), base, selector, &glyph) ? glyph : 0;
}

} // namespace

bool hasVariationSelector(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        // U+FE00–U+FE0F, or the high surrogate of U+E0100–U+E01EF.
        if ((c >= 0xFE00 && c <= 0xFE0F) || c == 0xDB40)
            return true;
    }
    return false;
}

QList<SequencePlace> variationSequences(const QTextLayout& layout, QPointF origin, const QString& laidOut)
{
    QList<SequencePlace> places;
    const QString text = laidOut.isEmpty() ? layout.text() : laidOut;
    if (!hasVariationSelector(text))
        return places;
    qsizetype baseAt = -1;
    char32_t base = 0;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype at = i;
        char32_t c = text.at(i++).unicode();
        if (QChar::isHighSurrogate(c) && i < text.size() && text.at(i).isLowSurrogate())
            c = QChar::surrogateToUcs4(char16_t(c), text.at(i++).unicode());
        if (!isVariationSelector(c)) {
            baseAt = at;
            base = c;
            continue;
        }
        if (baseAt < 0)
            continue;
        const qsizetype from = baseAt;
        baseAt = -1; // a second selector belongs to no base
        const QTextLine line = layout.lineForTextPosition(int(from));
        if (!line.isValid())
            continue;
        for (const QGlyphRun& run : line.glyphRuns(int(from), int(at - from))) {
            if (run.glyphIndexes().isEmpty())
                continue;
            SequencePlace place;
            place.position = int(from);
            place.base.setRawFont(run.rawFont());
            place.base.setGlyphIndexes({run.glyphIndexes().constFirst()});
            place.base.setPositions({run.positions().constFirst()});
            place.variant = variantGlyph(run.rawFont(), base, c);
            const QRawFont font = run.rawFont();
            const qreal advance = font.advancesForGlyphIndexes(place.base.glyphIndexes()).constFirst().x();
            const QPointF baseline = origin + run.positions().constFirst();
            place.cell = QRectF(baseline.x(), baseline.y() - font.ascent(), advance, font.ascent() + font.descent());
            places << place;
            break;
        }
    }
    return places;
}

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

namespace {

// The boxes of blank missing glyphs and of the sequences among places the
// face lacks.
void drawMarks(QPainter& painter, const QTextLayout& layout, QPointF origin, const QList<SequencePlace>& places)
{
    QList<QRectF> boxes = blankMissingGlyphBoxes(layout, origin);
    for (const SequencePlace& place : places) {
        if (place.variant == 0)
            boxes << place.cell.adjusted(0.5, 0.5, -0.5, -0.5);
    }
    if (boxes.isEmpty())
        return;
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& box : boxes)
        painter.drawRect(box);
    painter.restore();
}

} // namespace

void markMissingGlyphs(QPainter& painter, const QTextLayout& layout, QPointF origin, const QString& text)
{
    drawMarks(painter, layout, origin, variationSequences(layout, origin, text));
}

void drawLayoutMarkingMissing(QPainter& painter, const QTextLayout& layout, QPointF origin)
{
    const QList<SequencePlace> places = variationSequences(layout, origin);
    const bool variants = std::any_of(places.cbegin(), places.cend(), [](const SequencePlace& place) {
        return place.variant != 0 && place.variant != place.base.glyphIndexes().constFirst();
    });
    if (!variants) {
        layout.draw(&painter, origin);
    } else {
        for (int i = 0; i < layout.lineCount(); ++i) {
            for (QGlyphRun run : layout.lineAt(i).glyphRuns()) {
                QList<quint32> glyphs = run.glyphIndexes();
                const QList<QPointF> positions = run.positions();
                for (const SequencePlace& place : places) {
                    if (place.variant == 0 || !(place.base.rawFont() == run.rawFont()))
                        continue;
                    const QPointF at = place.base.positions().constFirst();
                    for (qsizetype j = 0; j < glyphs.size(); ++j) {
                        if (glyphs.at(j) == place.base.glyphIndexes().constFirst()
                            && (positions.at(j) - at).manhattanLength() < 0.01)
                            glyphs[j] = place.variant;
                    }
                }
                run.setGlyphIndexes(glyphs);
                painter.drawGlyphRun(origin, run);
            }
        }
    }
    drawMarks(painter, layout, origin, places);
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
    drawLayoutMarkingMissing(painter, layout, topLeft);
}

} // namespace platform
