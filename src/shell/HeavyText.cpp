#include "shell/HeavyText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

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
    // stems: copies of the outline moved around a small circle, filled as
    // one path under the winding rule, which is their union, so translucent
    // ink stays even. (Stroking the outline, or joining the copies into one
    // outline, took a sixth of the start-up.)
    const qreal radius = std::max<qreal>(0.5, font.pixelSize() / 44.0);
    QPainterPath heavy;
    heavy.setFillRule(Qt::WindingFill);
    constexpr int Steps = 8;
    for (int k = 0; k < Steps; ++k) {
        const qreal angle = 2 * M_PI * k / Steps;
        heavy.addPath(outline.translated(QPointF(std::cos(angle), std::sin(angle)) * radius));
    }
    heavy.addPath(outline);
    painter.fillPath(heavy, painter.pen().brush());
}
