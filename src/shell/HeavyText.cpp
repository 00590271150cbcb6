#include "shell/HeavyText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>

#include <algorithm>

void drawHeavyText(QPainter& painter, const QRectF& rect, Qt::Alignment alignment, const QString& text,
                   const QFont& font)
{
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(text);
    const qreal x = alignment & Qt::AlignLeft ? rect.left() : rect.center().x() - width / 2;
    // The baseline that centres the face's ascent and descent in the rectangle.
    const qreal baseline = rect.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    QPainterPath outline;
    outline.addText(QPointF(x, baseline), font, text);

    // Each glyph widened by about what a bold face adds to a regular one's
    // stems, filled once so that translucent ink stays even.
    QPainterPathStroker stroker;
    stroker.setWidth(std::max<qreal>(1.0, font.pixelSize() / 22.0));
    stroker.setJoinStyle(Qt::RoundJoin);
    const QPainterPath heavy = outline.united(stroker.createStroke(outline));
    painter.fillPath(heavy, painter.pen().brush());
}
