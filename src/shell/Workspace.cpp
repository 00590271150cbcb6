#include "shell/Workspace.h"

#include "shell/HeavyText.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// The colour a multiple-document frame's workspace has on the classic
// desktop, where the style names none.
const QColor WorkspaceColor(0xAB, 0xAB, 0xAB);
constexpr int ArtworkSize = 220;
constexpr int ArtworkMargin = 16;

} // namespace

Workspace::Workspace(QWidget* parent) : QMdiArea(parent)
{
    QPalette workspace = palette();
    workspace.setColor(QPalette::Dark, WorkspaceColor);
    setPalette(workspace);
    setBackground(WorkspaceColor);
}

QPixmap Workspace::artwork(qreal devicePixelRatio)
{
    if (!m_artwork.isNull() && qFuzzyCompare(m_artwork.devicePixelRatio(), devicePixelRatio))
        return m_artwork;

    // Three overlapping type sheets with a large "あ" and "Aa": fonts laid
    // side by side, in tones just lighter than the workspace.
    QPixmap image(QSize(ArtworkSize, ArtworkSize) * devicePixelRatio);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    const QColor sheet(255, 255, 255, 60);
    const QColor edge(255, 255, 255, 110);
    for (int k = 0; k < 3; ++k) {
        const QRectF card(20 + 28 * k, 58 - 22 * k, 120, 140);
        QPainterPath path;
        path.addRoundedRect(card, 10, 10);
        painter.fillPath(path, sheet);
        painter.setPen(QPen(edge, 1.5));
        painter.drawPath(path);
    }

    QFont glyph = font();
    glyph.setPixelSize(96);
    QLinearGradient ink(0, 30, 0, 190);
    ink.setColorAt(0, QColor(255, 255, 255, 170));
    ink.setColorAt(1, QColor(60, 70, 120, 120));
    painter.setPen(QPen(QBrush(ink), 1));
    drawHeavyText(painter, QRectF(76, 14, 124, 130), Qt::AlignCenter, QStringLiteral("あ"), glyph);

    QFont latin = font();
    latin.setPixelSize(46);
    latin.setItalic(true);
    painter.setFont(latin);
    painter.setPen(QColor(40, 50, 90, 110));
    painter.drawText(QRectF(20, 130, 130, 66), Qt::AlignCenter, QStringLiteral("Aa"));

    QFont word = font();
    word.setPixelSize(15);
    painter.setPen(QColor(255, 255, 255, 150));
    drawHeavyText(painter, QRectF(0, 196, ArtworkSize, 22), Qt::AlignCenter, QStringLiteral("Glyfaro 2"), word);
    painter.end();

    m_artwork = image;
    return m_artwork;
}

void Workspace::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.fillRect(event->rect(), WorkspaceColor);
    const QRect area = viewport()->rect();
    if (area.width() < ArtworkSize + 2 * ArtworkMargin || area.height() < ArtworkSize + 2 * ArtworkMargin)
        return;
    const QPixmap picture = artwork(devicePixelRatioF());
    painter.drawPixmap(area.right() - ArtworkSize - ArtworkMargin, area.bottom() - ArtworkSize - ArtworkMargin,
                       picture);
}
