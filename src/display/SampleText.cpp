#include "display/SampleText.h"

#include "desktop/MissingGlyphs.h"

#include <QPainter>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextLayout>

void SampleLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    platform::drawTextMarkingMissing(painter, font(), text(), contentsRect().topLeft());
}

void SampleTextEdit::paintEvent(QPaintEvent* event)
{
    QPlainTextEdit::paintEvent(event);
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QPointF offset = contentOffset();
    const QTextCursor cursor = textCursor();
    const int bottom = viewport()->height();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF area = blockBoundingGeometry(block).translated(offset);
        if (area.top() > bottom)
            break;
        if (!block.isVisible() || !block.layout())
            continue;
        // The editor draws each variation sequence in its base's default
        // form; the face's own variant is drawn over it.
        for (const platform::SequencePlace& place : platform::variationSequences(*block.layout(), area.topLeft(), block.text())) {
            if (place.variant == 0 || place.variant == place.base.glyphIndexes().constFirst())
                continue;
            const int at = block.position() + place.position;
            const bool selected = at >= cursor.selectionStart() && at < cursor.selectionEnd();
            painter.fillRect(place.cell, palette().color(selected ? QPalette::Highlight : QPalette::Base));
            QGlyphRun variant = place.base;
            variant.setGlyphIndexes({place.variant});
            painter.save();
            painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
            painter.drawGlyphRun(area.topLeft(), variant);
            painter.restore();
        }
        platform::markMissingGlyphs(painter, *block.layout(), area.topLeft(), block.text());
    }
}
