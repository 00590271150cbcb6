#include "fontfileview/FileSample.h"

#include "desktop/MissingGlyphs.h"
#include "face/GlyphForms.h"
#include "fontinfo/FaceFont.h"

#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>
#include <QRawFont>

#include <cmath>

namespace {

constexpr int Margin = 8;
// What the system's synthetic italic slants by, and its bold's extra width
// as a share of the size.
constexpr qreal ItalicShear = -0.2;
constexpr qreal BoldShare = 1.0 / 36;

} // namespace

struct FileSample::Layout {
    QRawFont font;
    QList<QGlyphRun> lines;
    QSizeF size;
    int missing = 0;
    // Where a variation sequence the face lacks is drawn as its base.
    QList<QRectF> unmapped;
};

FileSample::FileSample(QWidget* parent) : QWidget(parent)
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void FileSample::setFace(const QString& path, int index)
{
    m_path = path;
    m_index = index;
    relayout();
}

void FileSample::setText(const QString& text)
{
    m_text = text;
    relayout();
}

void FileSample::setPointSize(int points)
{
    m_points = std::clamp(points, 1, 100);
    relayout();
}

void FileSample::setBold(bool on)
{
    m_bold = on;
    update();
}

void FileSample::setItalic(bool on)
{
    m_italic = on;
    update();
}

void FileSample::setColor(const QColor& color)
{
    m_color = color;
    update();
}

bool FileSample::readable() const
{
    return m_layout && m_layout->font.isValid();
}

int FileSample::missingCharacters() const
{
    return m_layout ? m_layout->missing : 0;
}

int FileSample::unmappedSequences() const
{
    return m_layout ? int(m_layout->unmapped.size()) : 0;
}

void FileSample::relayout()
{
    auto layout = std::make_shared<Layout>();
    // Points as the screen shows them: 96 pixels an inch.
    const qreal pixels = m_points * 96.0 / 72.0;
    // The face is read once; another size of it needs no second reading.
    if (m_loadedPath != m_path || m_loadedIndex != m_index) {
        m_face = m_path.isEmpty() ? QRawFont() : RawFontOfFace(m_path, m_index, pixels);
        m_loadedPath = m_path;
        m_loadedIndex = m_index;
    }
    layout->font = m_face;
    if (layout->font.isValid())
        layout->font.setPixelSize(pixels);
    if (layout->font.isValid()) {
        const qreal lineHeight = layout->font.ascent() + layout->font.descent() + layout->font.leading();
        qreal top = 0;
        for (const QString& line : m_text.split(u'\n')) {
            // A variation selector is no glyph of its own: with the character
            // before it, it picks the variant the face maps; a sequence the
            // face lacks is drawn as its base, and marked.
            QList<quint32> glyphs;
            QList<qsizetype> unmapped;
            const QList<uint> codePoints = line.toUcs4();
            for (qsizetype i = 0; i < codePoints.size(); ++i) {
                const char32_t character = codePoints.at(i);
                if (IsVariationSelector(character))
                    continue;
                quint32 glyph = layout->font.glyphIndexesForString(QString::fromUcs4(&character, 1)).value(0);
                // After a blank a selector selects nothing.
                if (i + 1 < codePoints.size() && IsVariationSelector(codePoints.at(i + 1)) && !QChar::isSpace(character)) {
                    if (const quint32 variant = SequenceGlyph(m_path, m_index, character, codePoints.at(i + 1)))
                        glyph = variant;
                    else if (glyph != 0)
                        unmapped << glyphs.size();
                }
                glyphs << glyph;
            }
            // Characters the face lacks come back as glyph 0, its missing glyph.
            layout->missing += int(std::count(glyphs.cbegin(), glyphs.cend(), 0u));
            QList<QPointF> advances = layout->font.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances);
            QList<QPointF> positions;
            QPointF pen(0, top + layout->font.ascent());
            for (qsizetype g = 0; g < advances.size(); ++g) {
                if (unmapped.contains(g))
                    layout->unmapped << QRectF(pen.x(), pen.y() - layout->font.ascent(), advances.at(g).x(),
                                               layout->font.ascent() + layout->font.descent());
                positions << pen;
                pen += advances.at(g);
            }
            QGlyphRun run;
            run.setRawFont(layout->font);
            run.setGlyphIndexes(glyphs);
            run.setPositions(positions);
            layout->lines << run;
            layout->size.setWidth(std::max(layout->size.width(), pen.x()));
            top += lineHeight;
        }
        layout->size.setHeight(top);
    }
    m_layout = std::move(layout);
    // The scroll area around shows what does not fit.
    setMinimumSize(sizeHint());
    updateGeometry();
    update();
}

QSize FileSample::sizeHint() const
{
    if (!readable())
        return {320, 120};
    const QSizeF size = m_layout->size;
    return QSize(int(std::ceil(size.width())) + 2 * Margin + m_points, int(std::ceil(size.height())) + 2 * Margin);
}

void FileSample::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    if (!readable()) {
        painter.drawText(rect().adjusted(Margin, Margin, -Margin, -Margin), Qt::TextWordWrap,
                         QStringLiteral("この書体の字形を読めません。"));
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(m_color);
    painter.translate(Margin, Margin);
    if (m_italic) {
        // Slanted about each line's baseline would need a transform per
        // line; about the sample's middle keeps the lines in their places.
        const qreal middle = m_layout->size.height() / 2;
        painter.translate(-ItalicShear * middle, 0);
        painter.setTransform(QTransform().shear(ItalicShear, 0), true);
    }
    const qreal bold = m_bold ? std::max(1.0, m_points * 96.0 / 72.0 * BoldShare) : 0;
    for (const QGlyphRun& line : m_layout->lines) {
        painter.drawGlyphRun(QPointF(0, 0), line);
        // Drawn again a little to the right, as a face without a bold
        // of its own is emboldened.
        for (qreal dx = 0.5; dx <= bold; dx += 0.5)
            painter.drawGlyphRun(QPointF(dx, 0), line);
    }
    // A face that leaves its missing glyph blank gets a box there, as
    // every other sample shows it.
    painter.setBrush(Qt::NoBrush);
    for (const QRectF& box : platform::blankMissingGlyphBoxes(m_layout->lines, QPointF(0, 0)))
        painter.drawRect(box);
    for (const QRectF& box : m_layout->unmapped)
        painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
}
