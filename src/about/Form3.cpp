#include "about/Form3.h"

#include "about/Form3Logic.h"
#include "lists/CaptionFit.h"
#include "lists/ListWindowLayout.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>

using platform::pixelsToTwips;
using platform::twipsToPixels;

namespace {

constexpr int ClientWidthTwips = 4950;
constexpr int ClientHeightTwips = 5010;
// 9 points at 15 twips a pixel; a wider face may take a pixel or two less.
constexpr int LabelPixels = 12;
constexpr int SmallestLabelPixels = 10;

// The product logo, 250 x 50 pixels: a sample tile with a kanji and the
// program's name beside it.
QPixmap logo(const QFont& face)
{
    QPixmap image(250, 50);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient tile(0, 3, 0, 47);
    tile.setColorAt(0, QColor(0x3A, 0x6E, 0xC8));
    tile.setColorAt(1, QColor(0x12, 0x2C, 0x6A));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tile);
    painter.drawRoundedRect(QRectF(3, 3, 44, 44), 8, 8);

    QFont glyph = face;
    glyph.setPixelSize(30);
    glyph.setBold(true);
    painter.setFont(glyph);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(3, 3, 44, 44), Qt::AlignCenter, QStringLiteral("字"));

    QFont name = face;
    name.setPixelSize(30);
    name.setBold(true);
    name.setItalic(true);
    painter.setFont(name);
    painter.setPen(QColor(0x12, 0x2C, 0x6A));
    const QString word = QStringLiteral("Glyfaro");
    painter.drawText(QPointF(58, 34), word);
    const qreal after = 58 + QFontMetricsF(name).horizontalAdvance(word) + 6;
    painter.setPen(QColor(0xE0, 0x70, 0x10));
    painter.drawText(QPointF(after, 34), QStringLiteral("2"));

    // A stroke under the name, fading out to the right.
    QLinearGradient rule(58, 0, 246, 0);
    rule.setColorAt(0, QColor(0xE0, 0x70, 0x10));
    rule.setColorAt(1, QColor(0xE0, 0x70, 0x10, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(rule);
    painter.drawRect(QRectF(58, 40, 188, 3));
    return image;
}

QLabel* label(QWidget* parent, const QString& text, Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* control = new QLabel(text, parent);
    control->setAlignment(alignment | Qt::AlignVCenter);
    return control;
}

QFrame* line(QWidget* parent, QPalette::ColorRole role)
{
    auto* stroke = new QFrame(parent);
    stroke->setFrameShape(QFrame::NoFrame);
    stroke->setAutoFillBackground(true);
    QPalette colours = stroke->palette();
    colours.setColor(QPalette::Window, parent->palette().color(role));
    stroke->setPalette(colours);
    return stroke;
}

} // namespace

Form3::Form3(const SystemInfo& info, const FontCatalog& catalog, platform::FontList& fonts,
             QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    createControls(fonts);
    Form_Load(info, catalog, owner);
}

void Form3::createControls(platform::FontList& fonts)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);
    setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));

    // The layout was drawn for the proportional gothic at 9 points.
    QFont labelFont = font();
    if (const QString face = fonts.designFace(platform::DesignFace::ProportionalGothic); !face.isEmpty())
        labelFont.setFamilies({face});
    labelFont.setPixelSize(LabelPixels);
    setFont(labelFont);

    Image1 = new QLabel(this);
    Image1->setPixmap(logo(labelFont));
    placeInTwips(Image1, 120, 120, 3750, 750);

    Label5 = label(this, QStringLiteral("for Windows 95/98/NT4/2000"), Qt::AlignRight);
    placeInTwips(Label5, 2400, 900, 2355, 195);

    const std::array<QString, 6> captions{
        QStringLiteral("オペレーティングシステム:"), QStringLiteral("プラットフォーム:"),
        QStringLiteral("このソフトは以下の方にライセンスされています:"),
        QStringLiteral("登録されているフォント数:"), QStringLiteral("なめらかフォント:"),
        QStringLiteral("Windows が利用できる物理メモリ:")};
    for (std::size_t i = 0; i < captions.size(); ++i)
        Label1[i] = label(this, captions[i], i == 2 || i == 5 ? Qt::AlignLeft : Qt::AlignRight);
    placeInTwips(Label1[0], 180, 1320, 1995, 195);
    placeInTwips(Label1[1], 180, 1620, 1995, 195);
    placeInTwips(Label1[3], 180, 1980, 1995, 195);
    placeInTwips(Label1[4], 180, 2280, 1995, 195);
    placeInTwips(Label1[2], 240, 2640, 3675, 195);
    placeInTwips(Label1[5], 1080, 3840, 2595, 195);

    Picture1 = new QFrame(this);
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Sunken);
    placeInTwips(Picture1, 180, 2940, 4575, 615);
    const QString ownerTip = QStringLiteral("現在の Windows のライセンス先及びこのソフトの使用者です");
    Picture1->setToolTip(ownerTip);

    for (std::size_t i = 0; i < Label2.size(); ++i)
        Label2[i] = label(i == 2 || i == 3 ? static_cast<QWidget*>(Picture1) : this, QString(),
                          i == 6 ? Qt::AlignRight : Qt::AlignLeft);
    placeInTwips(Label2[0], 2280, 1320, 2625, 195);
    placeInTwips(Label2[1], 2280, 1620, 2475, 195);
    placeInTwips(Label2[4], 2280, 1980, 2475, 195);
    placeInTwips(Label2[5], 2280, 2280, 2475, 195);
    placeInTwips(Label2[2], 120, 60, 4335, 195);
    placeInTwips(Label2[3], 120, 300, 4335, 195);
    placeInTwips(Label2[6], 3780, 3840, 975, 195);
    Label2[0]->setToolTip(QStringLiteral("現在使用しているオペレーティングシステム(OS)です"));
    Label2[1]->setToolTip(QStringLiteral("現在使用しているオペレーティングシステムのプラットフォームです"));
    Label2[2]->setToolTip(ownerTip);
    Label2[3]->setToolTip(ownerTip);
    Label2[4]->setToolTip(QStringLiteral("登録されているフォント数です"));
    Label2[5]->setToolTip(QStringLiteral(
        "Windows の機能で、「スクリーンフォントの縁をなめらかにする」機能が有効になっているか否かです"));
    Label2[6]->setToolTip(QStringLiteral(
        "Windows が利用できる物理メモリ量（パソコンに搭載されているメモリ量）です"));

    Line1[0] = line(this, QPalette::Dark);
    Line1[1] = line(this, QPalette::HighlightedText);
    placeInTwips(Line1[0], 120, 3660, 4680, 15);
    placeInTwips(Line1[1], 120, 3675, 4680, 15);

    Label4 = label(this, QStringLiteral("Copyright (C) Sorimo Products. All rights reserved."),
                   Qt::AlignRight);
    Label4->setToolTip(QStringLiteral("このソフトの著作権です"));
    placeInTwips(Label4, 780, 4200, 4035, 195);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setToolTip(QStringLiteral("ここをクリックするとこのウインドウを閉じます"));
    placeInTwips(Command1, 3660, 4560, 1155, 315);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    Command1->setFocus();

    Label3 = label(this, QString());
    Label3->setToolTip(QStringLiteral("ビルドされたパージョンです"));
    placeInTwips(Label3, 180, 4680, 915, 195);
}

void Form3::Form_Load(const SystemInfo& info, const FontCatalog& catalog, QWidget* owner)
{
    if (owner) {
        // This window's frame is not known before it is shown; the same
        // window manager draws it as the main window's.
        const QRect mainOuter = owner->frameGeometry();
        const QRect mainInner = owner->geometry();
        const QSize frame = mainOuter.size() - mainInner.size();
        const QSize ownOuter = size() + frame;
        const QPoint place = Form3Position(
            QRect(pixelsToTwips(mainOuter.x()), pixelsToTwips(mainOuter.y()),
                  pixelsToTwips(mainOuter.width()), pixelsToTwips(mainOuter.height())),
            QSize(pixelsToTwips(ownOuter.width()), pixelsToTwips(ownOuter.height())));
        move(twipsToPixels(place.x()), twipsToPixels(place.y()));
    }

    Label2[0]->setText(info.OsDescription);
    Label2[1]->setText(info.OsFamily);
    Label2[2]->setText(info.OwnerName);
    Label2[3]->setText(info.OrganizationName);
    Label2[4]->setText(FontCountText(catalog.FontTotal));
    Label2[5]->setText(SmoothingWord(info));
    Label2[6]->setText(MemoryText(info.TotalMemory));
    Label3->setText(VersionText());

    // Each caption may grow up to the next control on its row.
    fitCaptions(this,
                {{Label5, 1200, 0}, {Label1[0], 60, 0}, {Label1[1], 60, 0}, {Label1[3], 60, 0},
                 {Label1[4], 60, 0}, {Label1[2], 0, 4890}, {Label1[5], 0, 3720},
                 {Label2[6], 3735, 0}, {Label4, 120, 0}, {Label3, 0, 3600},
                 {Command1, 0, 4815}},
                LabelPixels, SmallestLabelPixels);
    // The system's own names can be of any length.
    for (QLabel* value : {Label2[0], Label2[1], Label2[2], Label2[3], Label2[4], Label2[5]})
        fitValueText(value, SmallestLabelPixels - 1);
}

void Form3::Command1_Click()
{
    accept();
}
