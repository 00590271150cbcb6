#include "lists/Form2.h"

#include "lists/ListWindowLayout.h"
#include "lists/FontNameList.h"
#include "lists/FontNameModel.h"
#include "lists/OneLineNameDelegate.h"
#include "desktop/ProgramIcon.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>

using platform::twipsToPixels;

namespace {

constexpr int ClientWidthTwips = 8460;
constexpr int ClientHeightTwips = 6795;

constexpr int ListWidthTwips = 2500;
constexpr int ListHeightTwips = 600;
constexpr int RowPitchTwips = 660;
constexpr int FirstRowTopTwips = 120;
constexpr int OtherListTopTwips = 4740;

// 150 rather than 135 twips, reaching the list's edge, so that
// a "W" fits in today's fonts.
constexpr int LetterWidthTwips = 150;
constexpr int LetterHeightTwips = 195;

struct Column {
    int listLeft;
    int labelLeft;
};
constexpr std::array<Column, 3> Columns{{{240, 90}, {3000, 2850}, {5760, 5610}}};

// Lists 0..9, 10..19 and 20..26 fill the columns from the top; the "Other"
// list sits in the third column's eighth row.
int columnOf(int index)
{
    return index < 10 ? 0 : index < 20 ? 1 : 2;
}

int listTopOf(int index)
{
    if (index == OtherGroup)
        return OtherListTopTwips;
    return FirstRowTopTwips + (index % 10) * RowPitchTwips;
}

// A title of one character a line, its lines set at an even pitch that fills
// its height, each character's ink in the middle of its slot. The face's own
// line is made for Japanese text and taller than a title: it would push the
// last of the four symbols, or the tail of a Q, out of sight.
class TitleLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const QStringList lines = text().split(QLatin1Char('\n'));
        const QFontMetricsF metrics(font());
        const qreal pitch = qreal(height() - 2) / qreal(lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QRectF ink = metrics.tightBoundingRect(lines.at(i));
            const qreal x = (width() - metrics.horizontalAdvance(lines.at(i))) / 2;
            const qreal slotMiddle = 1 + pitch * (qreal(i) + 0.5);
            painter.drawText(QPointF(x, slotMiddle - ink.center().y()), lines.at(i));
        }
    }
};

// Small enough for a letter to fit its 13-pixel-high title and for the four
// symbols to stand in the first title's height.
QFont titleFont(const QFont& base)
{
    QFont font = base;
    font.setPixelSize(10);
    return font;
}

} // namespace

Form2::Form2(const FontCatalog& catalog, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("フォントをインデックス別で一覧"));
    setWindowIcon(platform::programIcon());
    setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));
    createLists();
    createLabels();
    fillLists(catalog);
    connectHandlers();
}

void Form2::createLists()
{
    for (int index = 0; index < IndexGroupCount; ++index) {
        FontNameList* list = new FontNameList(this);
        placeInTwips(list, Columns[std::size_t(columnOf(index))].listLeft, listTopOf(index),
                     ListWidthTwips, ListHeightTwips);
        list->setToolTip(QStringLiteral("インデックス別のフォント一覧です"));
        list->setItemDelegate(new OneLineNameDelegate(list));
        List1[std::size_t(index)] = list;
    }
}

void Form2::createLabels()
{
    const QFont font = titleFont(this->font());
    auto makeLabel = [&](std::size_t number, const QString& caption, int left, int top, int width,
                         int height) {
        QLabel* label = new TitleLabel(caption, this);
        label->setFont(font);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        placeInTwips(label, left, top, width, height);
        Label1[number] = label;
    };

    // The four symbols stand one under the other in a narrow title.
    makeLabel(0, QStringLiteral("$\n%\n&\n@"), 90, 0, LetterWidthTwips, 735);

    // The letters are set from the catalogue when it is filled in.
    for (int index = 1; index <= 26; ++index) {
        makeLabel(std::size_t(index), QStringLiteral("A"),
                  Columns[std::size_t(columnOf(index))].labelLeft, listTopOf(index),
                  LetterWidthTwips, LetterHeightTwips);
    }

    // "Other" written downwards beside its list.
    struct Letter {
        const char16_t* text;
        int left;
        int top;
        int width;
    };
    constexpr std::array<Letter, 5> other{{{u"O", 5610, 4680, 135},
                                           {u"t", 5640, 4845, 75},
                                           {u"h", 5640, 5025, 135},
                                           {u"e", 5640, 5190, 135},
                                           {u"r", 5640, 5340, 135}}};
    for (std::size_t i = 0; i < other.size(); ++i) {
        makeLabel(27 + i, QString::fromUtf16(other[i].text), other[i].left, other[i].top,
                  other[i].width, LetterHeightTwips);
    }
}

void Form2::fillLists(const FontCatalog& catalog)
{
    for (std::size_t index = 0; index < List1.size(); ++index)
        List1[index]->setModel(new FontNameModel(catalog.Groups[index].Names, List1[index]));
    for (std::size_t index = 1; index <= 26; ++index) {
        if (!catalog.IndexLabels[index].isEmpty())
            Label1[index]->setText(catalog.IndexLabels[index]);
    }
}

void Form2::connectHandlers()
{
    for (int index = 0; index < IndexGroupCount; ++index) {
        connect(List1[std::size_t(index)], &QAbstractItemView::doubleClicked, this,
                [this, index] { List1_DblClick(index); });
    }
}

void Form2::List1_DblClick(int index)
{
    if (index < 0 || index >= IndexGroupCount)
        return;
    const FontNameList::Row selected = List1[std::size_t(index)]->currentItem();
    if (!selected)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    emit openViewOnName(selected.text());
    QApplication::restoreOverrideCursor();
}
