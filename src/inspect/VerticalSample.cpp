#include "inspect/VerticalSample.h"

#include <QEvent>
#include <QFile>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <hb.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr int Margin = 8;
// The note wraps at about this many full-width characters.
constexpr int MessageColumns = 14;

// QRawFont reads only the first face of a collection, so any other face is
// first copied out into a font file of its own, table by table.
QByteArray singleFaceData(const QString& path, int index)
{
    const QByteArray file = QFile::encodeName(path);
    hb_blob_t* blob = hb_blob_create_from_file(file.constData());
    hb_face_t* face = hb_face_create(blob, unsigned(index));
    hb_face_t* builder = hb_face_builder_create();
    unsigned count = hb_face_get_table_tags(face, 0, nullptr, nullptr);
    std::vector<hb_tag_t> tags(count);
    hb_face_get_table_tags(face, 0, &count, tags.data());
    for (unsigned i = 0; i < count; ++i) {
        hb_blob_t* table = hb_face_reference_table(face, tags[i]);
        hb_face_builder_add_table(builder, tags[i], table);
        hb_blob_destroy(table);
    }
    hb_blob_t* built = hb_face_reference_blob(builder);
    unsigned length = 0;
    const char* bytes = hb_blob_get_data(built, &length);
    QByteArray data = count > 0 ? QByteArray(bytes, qsizetype(length)) : QByteArray();
    hb_blob_destroy(built);
    hb_face_destroy(builder);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return data;
}

QRawFont rawFontFor(const QString& path, int index, qreal pixelSize)
{
    if (index == 0)
        return QRawFont(path, pixelSize, QFont::PreferNoHinting);
    QRawFont font;
    font.loadFromData(singleFaceData(path, index), pixelSize, QFont::PreferNoHinting);
    return font;
}

bool missingGlyphIsBlank(const QRawFont& font)
{
    return font.pathForGlyph(0).isEmpty() && font.alphaMapForGlyph(0, QRawFont::PixelAntialiasing).isNull();
}

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
            m_rawFont = rawFontFor(fontPath, faceIndex, pixelSize);
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
        if (m_run.glyphs.contains(0) && missingGlyphIsBlank(m_rawFont)) {
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
    const int width = fontMetrics().horizontalAdvance(QStringLiteral("あ")) * MessageColumns;
    const int left = m_sampleRect.isEmpty() ? Margin : Margin + int(std::ceil(m_sampleRect.width())) + Margin;
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, m_message);
    return QRect(left, Margin, width, text.height());
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
