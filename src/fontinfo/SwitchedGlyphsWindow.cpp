#include "fontinfo/SwitchedGlyphsWindow.h"

#include "catalog/SizeText.h"
#include "desktop/ProgramIcon.h"
#include "face/JapaneseSets.h"
#include "fontinfo/FaceFont.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

constexpr int GlyphPixels = 40;
constexpr int Gap = 6;
// A pair: two glyph boxes side by side with an arrow between, the code below.
constexpr int CellWidth = 2 * GlyphPixels + 3 * Gap + 12;
constexpr int CellHeight = GlyphPixels + 2 * Gap + 16;

} // namespace

SwitchedGlyphsWindow::SwitchedGlyphsWindow(const QString& fontName, const QString& path, int index, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("字形の切り替え / ") + fontName);
    setWindowIcon(platform::programIcon());
    const GlyphForms forms = GlyphFormsOf(path, index);
    // The switch away from the face's default forms.
    const char* feature = forms.jp90 ? "jp90" : forms.jp04 ? "jp04" : nullptr;
    if (feature)
        m_characters = CharactersSwitchedBy(path, index, feature);
    Summary = new QLabel(this);
    Summary->setWordWrap(true);
    Summary->setText(!feature ? QStringLiteral("この書体は jp90/jp04 で字形を切り替えません。")
                              : QStringLiteral("%1 をオンにすると字形が変わる文字: %2 字（左: 標準の字形、右: %1 の字形）")
                                    .arg(QString::fromLatin1(feature), NumberText(m_characters.size())));
    Grid = new SwitchedGlyphsGrid(path, index, m_characters);
    auto area = new QScrollArea(this);
    area->setWidget(Grid);
    area->setWidgetResizable(true);
    CopyButton = new QPushButton(QStringLiteral("コピー"), this);
    CopyButton->setEnabled(!m_characters.isEmpty());
    connect(CopyButton, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(listText()); });
    auto buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(CopyButton);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(area, 1);
    layout->addLayout(buttons);
    resize(640, 480);
}

QString SwitchedGlyphsWindow::listText() const
{
    QStringList lines;
    for (const SwitchedCharacter& character : m_characters)
        lines << QString::fromUcs4(&character.character, 1) + u'\t' + CodePointText(character.character);
    return lines.join(u'\n');
}

SwitchedGlyphsGrid::SwitchedGlyphsGrid(const QString& path, int index, QList<SwitchedCharacter> characters, QWidget* parent)
    : QWidget(parent), m_path(path), m_index(index), m_characters(std::move(characters))
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int SwitchedGlyphsGrid::columnsFor(int width) const
{
    return std::max(1, width / CellWidth);
}

int SwitchedGlyphsGrid::heightForWidth(int width) const
{
    const int columns = columnsFor(width);
    return int((m_characters.size() + columns - 1) / columns) * CellHeight;
}

QSize SwitchedGlyphsGrid::sizeHint() const
{
    return {CellWidth * 5, heightForWidth(CellWidth * 5)};
}

QRect SwitchedGlyphsGrid::cellRect(int i) const
{
    const int columns = columnsFor(width());
    return {(i % columns) * CellWidth, (i / columns) * CellHeight, CellWidth, CellHeight};
}

void SwitchedGlyphsGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRawFont font = RawFontOfFace(m_path, m_index, GlyphPixels);
    if (!font.isValid())
        return;
    const qreal baseline = Gap + font.ascent() * GlyphPixels / (font.ascent() + font.descent());
    const QColor frame = palette().color(QPalette::Mid);
    for (int i = 0; i < m_characters.size(); ++i) {
        const QRect cell = cellRect(i);
        if (!cell.intersects(event->rect()))
            continue;
        const SwitchedCharacter& character = m_characters.at(i);
        const QRect left(cell.left() + Gap, cell.top() + Gap, GlyphPixels, GlyphPixels);
        const QRect right(left.right() + 1 + Gap + 12 + Gap, left.top(), GlyphPixels, GlyphPixels);
        painter.setPen(frame);
        painter.drawRect(left);
        painter.drawRect(right);
        painter.drawText(QRect(left.right() + 1, left.top(), Gap * 2 + 12, GlyphPixels), Qt::AlignCenter,
                         QStringLiteral("→"));
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Text));
        painter.drawPath(font.pathForGlyph(character.glyph).translated(left.left(), cell.top() + baseline));
        painter.drawPath(font.pathForGlyph(character.switchedGlyph).translated(right.left(), cell.top() + baseline));
        painter.setPen(palette().color(QPalette::Text));
        painter.setBrush(Qt::NoBrush);
        painter.drawText(QRect(cell.left(), left.bottom() + 2, cell.width(), 16), Qt::AlignCenter,
                         CodePointText(character.character));
    }
}
