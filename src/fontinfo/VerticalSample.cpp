#include "fontinfo/VerticalSample.h"

#include "fontinfo/FaceFont.h"
#include "desktop/MissingGlyphs.h"

#include <QEvent>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>


#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace {

constexpr int Margin = 8;
// The note wraps at about this many full-width characters, fewer where the
// window gives the panel less room, never fewer than the least.
constexpr int MessageColumns = 14;
constexpr int LeastMessageColumns = 5;

} // namespace

VerticalSample::VerticalSample(QWidget* parent)
    : QWidget(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void VerticalSample::setSample(const QString& fontPath, int faceIndex, const QString& text, qreal pixelSize)
{
    m_run = LayOutVertically(fontPath, faceIndex, text, pixelSize);
    m_sampleRect = {};
    m_missingBoxes.clear();
    if (!m_run.error.isEmpty()) {
        m_rawFont = QRawFont();
        m_fontPath.clear();
        m_message = m_run.error;
    } else {
        // The face is read again only when it changes; a new text or size
        // reuses it.
        if (fontPath != m_fontPath || faceIndex != m_faceIndex || !m_rawFont.isValid()) {
            m_rawFont = RawFontOfFace(fontPath, faceIndex, pixelSize);
            m_fontPath = fontPath;
            m_faceIndex = faceIndex;
        }
        m_rawFont.setPixelSize(pixelSize);
        if (!m_rawFont.isValid())
            m_message = QStringLiteral("この書体を描けません（Qt がこのフォントファイルを読めません）");
        else if (!m_run.usedVerticalForms)
            m_message = QStringLiteral("この書体には縦書き用の字形（vert/vrt2）がありません");
        else
            m_message.clear();
    }
    if (m_rawFont.isValid() && !m_run.glyphs.isEmpty()) {
        // Glyphs may reach out of their columns; the sample makes room for
        // all of their ink so that none is cut off.
        m_sampleRect = m_run.bounds;
        for (qsizetype i = 0; i < m_run.glyphs.size(); ++i)
            m_sampleRect |= m_rawFont.boundingRect(m_run.glyphs.at(i)).translated(m_run.positions.at(i));
        if (m_run.glyphs.contains(0) && platform::missingGlyphIsBlank(m_rawFont)) {
            // As in the other windows, a blank missing-glyph is shown as a
            // box so that the gap is seen.
            for (qsizetype i = 0; i < m_run.glyphs.size(); ++i) {
                if (m_run.glyphs.at(i) == 0) {
                    const QRectF cell = m_run.cells.at(i);
                    m_missingBoxes << cell.adjusted(cell.width() * 0.1, cell.height() * 0.1, -cell.width() * 0.1,
                                                    -cell.height() * 0.1);
                }
            }
        }
    }
    updateGeometry();
    update();
}

QRect VerticalSample::messageRect() const
{
    if (m_message.isEmpty())
        return {};
    const int column = fontMetrics().horizontalAdvance(QStringLiteral("あ"));
    const int left = m_sampleRect.isEmpty() ? Margin : Margin + int(std::ceil(m_sampleRect.width())) + Margin;
    // The layout may give less than the width asked for: the note then wraps
    // into more lines rather than running past the edge.
    const int room = width() > 0 ? width() - left - Margin : column * MessageColumns;
    const int width = std::clamp(room, column * LeastMessageColumns, column * MessageColumns);
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, m_message);
    return QRect(left, Margin, width, text.height());
}

QSize VerticalSample::minimumSizeHint() const
{
    const int sample = m_sampleRect.isEmpty() ? 0 : int(std::ceil(m_sampleRect.width())) + Margin;
    const int note = m_message.isEmpty() ? 0 : fontMetrics().horizontalAdvance(QStringLiteral("あ")) * LeastMessageColumns + Margin;
    return QSize(Margin + sample + note, 2 * Margin);
}

QSize VerticalSample::sizeHint() const
{
    int width = Margin;
    int height = 0;
    if (!m_sampleRect.isEmpty()) {
        width += int(std::ceil(m_sampleRect.width())) + Margin;
        height = int(std::ceil(m_sampleRect.height()));
    }
    if (const QRect message = messageRect(); message.isValid()) {
        width = message.right() + 1 + Margin;
        height = std::max(height, message.height());
    }
    return QSize(width, height + 2 * Margin);
}

void VerticalSample::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    if (!m_sampleRect.isEmpty()) {
        const QPointF origin = QPointF(Margin, Margin) - m_sampleRect.topLeft();
        QGlyphRun glyphs;
        glyphs.setRawFont(m_rawFont);
        glyphs.setGlyphIndexes(m_run.glyphs);
        glyphs.setPositions(m_run.positions);
        painter.drawGlyphRun(origin, glyphs);
        for (const QRectF& box : std::as_const(m_missingBoxes))
            painter.drawRect(box.translated(origin));
    }
    if (!m_message.isEmpty())
        painter.drawText(messageRect(), Qt::TextWordWrap, m_message);
}

void VerticalSample::changeEvent(QEvent* event)
{
    // The note is set in the widget's own font, so its room changes with it.
    if (event->type() == QEvent::FontChange) {
        updateGeometry();
        update();
    }
    QWidget::changeEvent(event);
}
