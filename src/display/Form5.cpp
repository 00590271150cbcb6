#include "display/Form5.h"

#include "lists/FontNameModel.h"

#include "lists/ListWindowLayout.h"

#include "display/Form5Logic.h"
#include "display/SampleText.h"
#include "display/Form6Logic.h"
#include "display/FontDrawing.h"
#include "display/OneLineComboBox.h"
#include "desktop/DrawingFonts.h"
#include "platform/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QSlider>

#include <algorithm>
#include <memory>

using platform::pixelsToTwips;
using platform::twipsToPixels;

namespace {

// The window's frame (borders and title bar) in twips; the resize rule works
// on the outer size, the widget only knows its client area.
constexpr int FrameWidthTwips = 120;
constexpr int FrameHeightTwips = 575;

constexpr int DesignClientWidthTwips = 7590;
constexpr int DesignClientHeightTwips = 4665;

void moveTwips(QWidget* widget, int left, int top)
{
    widget->move(twipsToPixels(left), twipsToPixels(top));
}

QColor toQColor(std::uint32_t color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace

Form5::Form5(const QStringList& fontNames, const Settings& settings, platform::Dialogs& dialogs,
             QWidget* parent, FontNameModel* names)
    : QWidget(parent)
    , m_dialogs(dialogs)
{
    createControls();
    placeControls();
    setTabOrder();
    load(fontNames, settings, names);
    connectHandlers();
    platform::redrawAfterRelease(this, [this] {
        if (fontChosen())
            applyChosenFace();
    });
}

QSize Form5::designClientSizePixels()
{
    return {twipsToPixels(DesignClientWidthTwips), twipsToPixels(DesignClientHeightTwips)};
}

QSize Form5::outerSizeTwips() const
{
    return {pixelsToTwips(width()) + FrameWidthTwips, pixelsToTwips(height()) + FrameHeightTwips};
}

void Form5::createControls()
{
    setWindowTitle(Form5DesignCaption);

    Combo1 = new OneLineComboBox(this);
    Combo1->setEditable(false);
    Combo1->setToolTip(QStringLiteral("ここをクリックするとフォントを選ぶことができます"));

    Text1 = new SampleTextEdit(this);
    // Lines wrap at the box's width, so only a vertical scroll bar is needed.
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Text1->setToolTip(QStringLiteral("ここのテキストボックスに好きな文字や文章を入力してください"));

    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setRange(1, 100);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(10);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(10);
    Slider1->setToolTip(
        QStringLiteral("スライドさせるとフォントサイズ(文字の大きさ)を変えることができます"));

    Label1 = new QLabel(QStringLiteral("1pt"), this);
    Label2 = new QLabel(QStringLiteral("100 pt "), this);

    Check1 = new QCheckBox(QStringLiteral("太字 (ﾎﾞｰﾙﾄﾞ)"), this);
    Check1->setToolTip(
        QStringLiteral("ここをチェックするとテキストボックスの文字が太字(ボールド)になります"));
    Check2 = new QCheckBox(QStringLiteral("斜体 (ｲﾀﾘｯｸ)"), this);
    Check2->setToolTip(
        QStringLiteral("ここをチェックするとテキストボックスの文字が斜体(イタリック)になります"));

    Label3 = new QLabel(this);
    Label3->setAutoFillBackground(true);
    Label3->setFrameShape(QFrame::Panel);
    Label3->setFrameShadow(QFrame::Sunken);
    Label3->setToolTip(QStringLiteral("テキストボックスに表示されている文字の色です"));

    Command1 = new QPushButton(QStringLiteral("色..."), this);
    Command1->setToolTip(QStringLiteral(
        "ここをクリックするとテキストボックスに表示されている文字の色を変えることができます"));
    Command2 = new QPushButton(QStringLiteral("印刷..."), this);
    Command2->setToolTip(QStringLiteral("ここをクリックすると選択されているフォントを印刷します"));
}

void Form5::placeControls()
{
    placeInTwips(Combo1, 120, 90, 7335, 300);
    placeInTwips(Text1, 120, 420, 7335, 3015);
    placeInTwips(Slider1, 0, 3480, 7575, 465);
    placeInTwips(Label1, 120, 3840, 315, 195);
    placeInTwips(Label2, 7140, 3900, 435, 435);
    placeInTwips(Check1, 120, 4200, 1455, 180);
    placeInTwips(Check2, 120, 4440, 1395, 195);
    placeInTwips(Label3, 1680, 4140, 615, 315);
    placeInTwips(Command1, 2340, 4140, 555, 315);
    placeInTwips(Command2, 6360, 4200, 1095, 315);

    setMinimumSize(twipsToPixels(Form5MinimumOuterWidth - FrameWidthTwips),
                   twipsToPixels(Form5MinimumOuterHeight - FrameHeightTwips));
    resize(designClientSizePixels());
}

void Form5::setTabOrder()
{
    QWidget::setTabOrder(Command1, Check2);
    QWidget::setTabOrder(Check2, Check1);
    QWidget::setTabOrder(Check1, Combo1);
    QWidget::setTabOrder(Combo1, Text1);
    QWidget::setTabOrder(Text1, Slider1);
    QWidget::setTabOrder(Slider1, Command2);
}

void Form5::load(const QStringList& fontNames, const Settings& settings, FontNameModel* names)
{
    Slider1->setValue(StartPointSize(settings.SampleTextSize));

    setText1Text(settings.SampleText == 1 ? LoadSampleText(settings.SampleTextStrings)
                                          : Form5DesignText);

    // Only hand-edited settings hold bits above the colour; they are dropped.
    m_dialogColor = std::uint32_t(settings.SampleTextColor) & 0xFFFFFFu;
    applyTextColor(m_dialogColor);

    // A model over the names, not an item per name: a view opens at once
    // with thousands of fonts and costs no copy of their names.
    Combo1->setModel(names ? names : new FontNameModel(fontNames, Combo1));
    Combo1->setCurrentIndex(-1);

    // The design font where it is installed, else the program's own Japanese
    // face. Asking for a family that does not exist sends every text through
    // the font fallback, which walks all installed families: seconds with
    // thousands of fonts.
    const QString designFamily = QStringLiteral("ＭＳ Ｐゴシック");
    m_textFont = Text1->font();
    if (fontNames.contains(designFamily))
        m_textFont.setFamily(designFamily);
    m_textFont.setPointSize(Slider1->value());
    m_textFont.setBold(false);
    m_textFont.setItalic(false);
    applyTextFont();
    m_fallbackFamily = m_textFont.family();

    // A font must be chosen before there is anything to print.
    Command2->setEnabled(false);
}

void Form5::connectHandlers()
{
    connect(Combo1, &QComboBox::activated, this, [this](int) { Combo1_Click(); });
    // valueChanged follows dragging as well as keyboard and page steps.
    connect(Slider1, &QSlider::valueChanged, this, [this](int) { Slider1_Scroll(); });
    connect(Check1, &QCheckBox::toggled, this, [this](bool) { Check1_Click(); });
    connect(Check2, &QCheckBox::toggled, this, [this](bool) { Check2_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    // The box's own menu, with a way to the fonts that can show its text.
    FindFontsAction = new QAction(QStringLiteral("この文字を含むフォントを検索(&F)..."), this);
    connect(FindFontsAction, &QAction::triggered, this, [this] {
        const QString selected = Text1->textCursor().selectedText();
        emit findFontsRequested(selected.isEmpty() ? Text1->toPlainText() : selected);
    });
    DetailsAction = new QAction(QStringLiteral("フォント情報(&I)..."), this);
    connect(DetailsAction, &QAction::triggered, this, [this] {
        if (fontChosen())
            emit fontDetailsRequested(Combo1->currentText(), Text1Text());
    });
    CharacterMapAction = new QAction(QStringLiteral("文字一覧(&M)..."), this);
    connect(CharacterMapAction, &QAction::triggered, this, [this] {
        if (fontChosen())
            emit characterMapRequested(Combo1->currentText());
    });
    TypesettingAction = new QAction(QStringLiteral("組版見本(&T)..."), this);
    connect(TypesettingAction, &QAction::triggered, this, [this] {
        if (fontChosen())
            emit typesettingRequested(Combo1->currentText(), Text1Text());
    });
    Text1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Text1, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        std::unique_ptr<QMenu> menu(Text1->createStandardContextMenu(at));
        menu->addSeparator();
        menu->addAction(FindFontsAction);
        DetailsAction->setEnabled(fontChosen());
        CharacterMapAction->setEnabled(fontChosen());
        TypesettingAction->setEnabled(fontChosen());
        menu->addAction(DetailsAction);
        menu->addAction(CharacterMapAction);
        menu->addAction(TypesettingAction);
        menu->exec(Text1->viewport()->mapToGlobal(at));
    });
}

void Form5::setListIndex(int index)
{
    if (index < 0 || index >= Combo1->count())
        return;
    Combo1->setCurrentIndex(index);
    Combo1_Click();
}

int Form5::findEntry(const QString& name) const
{
    for (int i = 0; i < Combo1->count(); ++i) {
        if (Combo1->itemText(i) == name)
            return i;
    }
    return -1;
}

QString Form5::Text1Text() const
{
    return TextFromBoxLines(Text1->toPlainText());
}

void Form5::setText1Text(const QString& text)
{
    Text1->setPlainText(BoxLinesFromText(text));
}

bool Form5::fontChosen() const
{
    return Combo1->currentIndex() >= 0;
}

void Form5::Combo1_Click()
{
    if (!fontChosen())
        return;
    m_textFont.setBold(Check1->isChecked());
    m_textFont.setItalic(Check2->isChecked());
    m_textFont.setPointSize(Slider1->value());
    applyChosenFace();
    setWindowTitle(Form5Caption(Combo1->currentText(), Slider1->value()));
    Command2->setEnabled(true);
}

void Form5::applyChosenFace()
{
    // The font's own glyphs only: a character it lacks shows as missing,
    // never in another font that the reader would take for this one.
    // The box's face only stands in for a family the drawing code cannot find
    // at all; a missing family would send it through every installed font.
    m_textFont.setFamilies({drawingFamilyOf(m_drawing, Combo1->currentText()), m_fallbackFamily});
    setOwnGlyphsOnly(true);
    // A font whose file cannot draw leaves the box empty; the box's own face
    // shows the text instead.
    if (!FontDraws(m_textFont)) {
        m_textFont.setFamily(m_fallbackFamily);
        setOwnGlyphsOnly(false);
    }
    applyTextFont();
}

void Form5::Slider1_Scroll()
{
    m_textFont.setPointSize(Slider1->value());
    applyTextFont();
    // Without a chosen font the caption stays the design caption.
    if (fontChosen())
        setWindowTitle(Form5Caption(Combo1->currentText(), Slider1->value()));
}

void Form5::Check1_Click()
{
    m_textFont.setBold(Check1->isChecked());
    applyTextFont();
}

void Form5::Check2_Click()
{
    m_textFont.setItalic(Check2->isChecked());
    applyTextFont();
}

void Form5::Command1_Click()
{
    if (const auto chosen = m_dialogs.chooseColor(m_dialogColor))
        m_dialogColor = *chosen;
    applyTextColor(RebuildColor(m_dialogColor));
}

void Form5::Command2_Click()
{
    if (!fontChosen())
        return;
    emit printRequested(Combo1->currentText(), PrintTextFor(Text1Text()));
}

void Form5::setSmoothing(bool on)
{
    m_textFont.setStyleStrategy(
        QFont::StyleStrategy(SampleAntialiasing(on ? 1 : 0) | (m_textFont.styleStrategy() & QFont::NoFontMerging)));
    applyTextFont();
}

void Form5::setOwnGlyphsOnly(bool on)
{
    const int strategy = m_textFont.styleStrategy();
    m_textFont.setStyleStrategy(
        QFont::StyleStrategy(on ? strategy | QFont::NoFontMerging : strategy & ~QFont::NoFontMerging));
}

void Form5::applyTextFont()
{
    Text1->setFont(m_textFont);
}

void Form5::applyTextColor(std::uint32_t color)
{
    const QColor qcolor = toQColor(color);

    QPalette swatch = Label3->palette();
    swatch.setColor(QPalette::Window, qcolor);
    Label3->setPalette(swatch);

    QPalette text = Text1->palette();
    text.setColor(QPalette::Text, qcolor);
    Text1->setPalette(text);
}

bool Form5::isMinimizedWindow() const
{
    if (isMinimized())
        return true;
    const auto* frame = qobject_cast<const QMdiSubWindow*>(parentWidget());
    return frame && frame->isMinimized();
}

void Form5::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (isMinimizedWindow())
        return;
    const QSize outer = outerSizeTwips();
    applyLayout(Form5LayoutFor(outer.width(), outer.height()));
}

void Form5::applyLayout(const Form5Layout& l)
{
    placeInTwips(Text1, 120, 420, l.text1Width, l.text1Height);
    placeInTwips(Combo1, 120, 90, l.combo1Width, 300);
    placeInTwips(Slider1, 0, l.slider1Top, l.slider1Width, 465);
    moveTwips(Label1, 120, l.label1Top);
    moveTwips(Label2, l.label2Left, l.label2Top);
    moveTwips(Check1, 120, l.check1Top);
    moveTwips(Check2, 120, l.check2Top);
    moveTwips(Label3, 1680, l.label3Top);
    moveTwips(Command1, 2340, l.command1Top);
    moveTwips(Command2, l.command2Left, l.command2Top);
    fitTextControls();
}

void Form5::fitTextControls()
{
    // The design sizes were made for a smaller system font; captions must
    // not be cut, so these grow to their text (no taller than the spacing
    // between the two check boxes) and stay inside the window.
    const int maxHeight = twipsToPixels(270);
    for (QWidget* control : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label2),
                             static_cast<QWidget*>(Check1), static_cast<QWidget*>(Check2)}) {
        const QSize hint = control->sizeHint();
        QRect area = control->geometry();
        area.setWidth(std::max(area.width(), hint.width()));
        area.setHeight(std::max(area.height(), std::min(hint.height(), maxHeight)));
        area.moveLeft(std::max(0, std::min(area.left(), width() - area.width())));
        area.moveTop(std::max(0, std::min(area.top(), height() - area.height())));
        control->setGeometry(area);
    }
    // Near the smallest size the lower box is pushed up; keep the upper clear of it.
    if (Check1->geometry().bottom() >= Check2->y())
        Check1->move(Check1->x(), std::max(0, Check2->y() - Check1->height()));
}
