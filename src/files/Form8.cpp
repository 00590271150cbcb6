#include "files/Form8.h"

#include "lists/FontNameModel.h"
#include "lists/ListWindowLayout.h"
#include "lists/OneLineNameDelegate.h"
#include "files/FileProgress.h"
#include "desktop/ProgramIcon.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStringListModel>
#include <QStyle>
#include <QStyleOptionGroupBox>

using platform::twipsToPixels;

namespace {

constexpr int ClientWidthTwips = 8250;
constexpr int ClientHeightTwips = 5355;

// The frame's line runs through the middle of its caption in the design,
// with the two options well below it; this style draws the line under the
// caption, which leaves the designed places on the line. The options keep
// their spacing and stand in the middle of what lies below the line.
int captionAllowance(const QGroupBox* box)
{
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = box->title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    const int line = box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box).bottom();
    const int firstTop = twipsToPixels(300);
    const int block = twipsToPixels(600 + 195) - firstTop;
    return std::max(0, line + (box->height() - line - block) / 2 - firstTop);
}

} // namespace

Form8::Form8(const QStringList& installedNames, QWidget* parent)
    : Form8(new FontNameModel(installedNames), parent)
{
    m_installed->setParent(this);
}

Form8::Form8(FontNameModel* installedNames, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("フォント名比較"));
    setWindowIcon(platform::programIcon());
    setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));

    // The model holds the catalogue's list itself (implicitly shared), and
    // the view draws only the lines in sight: thousands of fonts cost no
    // start-up time here.
    m_installed = installedNames;
    m_fileNames = new QStringListModel(this);
    m_results = new QStringListModel(this);
    createControls();
    createSearchControls();
}

QListView* Form8::createList(QAbstractItemModel* model, int left, int top, int width, int height,
                             const QString& tip)
{
    auto list = new QListView(this);
    list->setModel(model);
    list->setItemDelegate(new OneLineNameDelegate(list));
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setToolTip(tip);
    placeInTwips(list, left, top, width, height);
    return list;
}

void Form8::createControls()
{
    // The labels are 13 pixels high; the default font's line is taller.
    QFont labelFont = font();
    labelFont.setPixelSize(11);
    auto label = [&](const QString& text, int left, int top, int width, const QString& tip) {
        auto control = new QLabel(text, this);
        control->setFont(labelFont);
        control->setTextFormat(Qt::PlainText);
        control->setToolTip(tip);
        placeInTwips(control, left, top, width, 195);
        return control;
    };

    Label1[0] = label(QStringLiteral("▲ この Windows に登録されているフォント名:"), 120, 120, 3675, {});
    List1 = createList(m_installed, 120, 360, 3915, 1860,
                       QStringLiteral("この Windows に登録されているフォント名の一覧です"));
    Label4[0] = label(countText(m_installed->rowCount()), 120, 2280, 3915,
                      QStringLiteral("この Windows に登録されているフォント名の一覧の総数です"));

    Label1[1] = label(QStringLiteral("■ ファイルから読み込んだフォント名:"), 4200, 120, 3255, {});
    List3 = createList(m_fileNames, 4200, 360, 3915, 1860,
                       QStringLiteral("ファイルから読み込んだフォント名の一覧です"));
    Label4[1] = label(countText(0), 4200, 2280, 3915,
                      QStringLiteral("ファイルから読み込んだフォント名の一覧の総数です"));

    // An etched separator across the window.
    auto separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setGeometry(twipsToPixels(60), twipsToPixels(2580), twipsToPixels(8100), 2);

    Label1[2] = label(QStringLiteral("検索したフォント名:"), 120, 2700, 1575,
                      QStringLiteral("検索したフォント名の一覧です"));
    List2 = createList(m_results, 120, 2940, 3915, 2040,
                       QStringLiteral("検索条件に満たしたフォント名の一覧です"));
    Label2 = label(countText(0), 180, 5040, 3855, QStringLiteral("検索条件に満たしたフォントの総数です"));
}

void Form8::createSearchControls()
{
    auto frame = [this](const QString& title, int top) {
        auto box = new QGroupBox(title, this);
        placeInTwips(box, 4200, top, 3915, 975);
        return box;
    };
    auto option = [](QGroupBox* box, const QString& text, int top, int width, const QString& tip) {
        auto button = new QRadioButton(text, box);
        button->setToolTip(tip);
        placeInTwips(button, 240, top, width, 195);
        button->move(button->x(), button->y() + captionAllowance(box));
        // The design width is for the design face; wider faces still show
        // the whole text.
        button->resize(std::max(button->width(), button->sizeHint().width()), button->height());
        return button;
    };

    Frame1 = frame(QStringLiteral("検索条件"), 2820);
    Option1[0] = option(Frame1, QStringLiteral("一致するフォント名を検索"), 300, 2355,
                        QStringLiteral("ここを選択すると一致するフォント名を検索します"));
    Option1[1] = option(Frame1, QStringLiteral("足りないフォント名を検索"), 600, 2235,
                        QStringLiteral("ここを選択すると足りないフォント名を検索します"));
    Option1[0]->setChecked(true);

    Frame2 = frame(QStringLiteral("ターゲット"), 3840);
    Option2[0] = option(Frame2, QStringLiteral("▲ の中で ■ を検索"), 300, 2175,
                        QStringLiteral("ここを選択すると▲ の中で ■ を検索します"));
    Option2[1] = option(Frame2, QStringLiteral("■ の中で ▲ を検索"), 600, 2115,
                        QStringLiteral("ここを選択すると■ の中で ▲ を検索します"));
    Option2[0]->setChecked(true);

    Command1 = new QPushButton(QStringLiteral("検索"), this);
    Command1->setToolTip(QStringLiteral("このボタンをクリックすると検索が開始します"));
    placeInTwips(Command1, 6720, 4920, 1395, 315);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    Picture1 = new QFrame(this);
    Picture1->setFrameShape(QFrame::Panel);
    Picture1->setFrameShadow(QFrame::Raised);
    Picture1->setAutoFillBackground(true);
    placeInTwips(Picture1, 2220, 1980, 3735, 1275);
    Label3 = new QLabel(QStringLiteral("検索中..."), Picture1);
    Label3->setAlignment(Qt::AlignCenter);
    placeInTwips(Label3, 840, 300, 2115, 195);
    ProgBar1 = new QProgressBar(Picture1);
    ProgBar1->setTextVisible(false);
    placeInTwips(ProgBar1, 240, 720, 3255, 255);
    Picture1->hide();
}

QString Form8::countText(qsizetype count)
{
    return QStringLiteral("総数: ") + QString::number(count) + QStringLiteral(" 個");
}

void Form8::Command1_Click()
{
    setCursor(Qt::WaitCursor);
    Command1->setEnabled(false);
    Picture1->show();
    Picture1->raise();
    m_results->setStringList({});
    EventPump pump;

    // ▲ の中で ■: each file name is looked for among the installed ones.
    const bool installedInside = Option2[0]->isChecked();
    const QStringList outer = installedInside ? fileNames() : installedNames();
    const QStringList inner = installedInside ? installedNames() : fileNames();
    const SearchCondition condition =
        Option1[0]->isChecked() ? SearchCondition::Matching : SearchCondition::Missing;

    ProgBar1->setRange(0, ProgressMaximum(outer.size()));
    ProgBar1->setValue(0);
    const QStringList found = SearchNames(outer, inner, condition, [&](qsizetype i) {
        ProgBar1->setValue(int(std::min<qsizetype>(i, ProgBar1->maximum())));
        pump();
    });
    m_results->setStringList(found);
    Label2->setText(countText(found.size()));

    Picture1->hide();
    Command1->setEnabled(true);
    unsetCursor();
    QCoreApplication::processEvents();
}

void Form8::clearFileSide()
{
    m_fileNames->setStringList({});
    m_results->setStringList({});
    // The count belongs to the list beside it; an emptied list counts nothing.
    Label2->setText(countText(0));
}

void Form8::setFileNames(const QStringList& names)
{
    m_fileNames->setStringList(names);
    Label4[1]->setText(countText(names.size()));
}

QStringList Form8::installedNames() const
{
    return m_installed->names();
}

QStringList Form8::fileNames() const
{
    return m_fileNames->stringList();
}

QStringList Form8::results() const
{
    return m_results->stringList();
}
