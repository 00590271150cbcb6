#include "display/SampleText.h"

#include "desktop/MissingGlyphs.h"

#include <QPainter>
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
    const int bottom = viewport()->height();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF area = blockBoundingGeometry(block).translated(offset);
        if (area.top() > bottom)
            break;
        if (block.isVisible() && block.layout())
            platform::markMissingGlyphs(painter, *block.layout(), area.topLeft());
    }
}
