#include "display/Form6.h"

#include "lists/CaptionFit.h"
#include "lists/ListWindowLayout.h"
#include "core/Messages.h"
#include "display/Form5Logic.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

using platform::twipsToPixels;

namespace {

constexpr int ClientWidthTwips = 7740;
constexpr int ClientHeightTwips = 2760;
constexpr int OwnerOffsetLeftTwips = 1200;
constexpr int OwnerOffsetTopTwips = 900;
// 9 points at 15 twips a pixel; a wider face may take a pixel or two less.
constexpr int LabelPixels = 12;
constexpr int SmallestLabelPixels = 10;

QColor toQColor(std::uint32_t color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

int boxValue(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

Form6::Form6(Settings& settings, SystemInfo& info, platform::Platform& platform, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                         | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_settings(settings)
    , m_info(info)
    , m_platform(platform)
{
    createControls();
    placeControls();
    setTabOrder();
    load(owner);
    connectHandlers();
}

void Form6::createControls()
{
    setWindowTitle(QStringLiteral("環境設定"));
    setModal(true);

    // The layout was drawn for the proportional gothic at 9 points.
    QFont labelFont = font();
    if (const QString face = m_platform.fonts.designFace(platform::DesignFace::ProportionalGothic);
        !face.isEmpty())
        labelFont.setFamilies({face});
    labelFont.setPixelSize(LabelPixels);
    setFont(labelFont);

    const auto checkBox = [this](const QString& caption, const QString& tip) {
        auto* box = new QCheckBox(caption, this);
        box->setToolTip(tip);
        return box;
    };
    Check1[11] = checkBox(QStringLiteral("起動時に「全てを一覧」を表示する"),
                          QStringLiteral("ここをチェックすると Glyfaro 2 が起動したときに自動的に「全てを一覧」を表示します"));
    Check1[10] = checkBox(QStringLiteral("起動時に「全インデックス別一覧」を表示する"),
                          QStringLiteral("ここをチェックすると Glyfaro 2 が起動したときに自動的に「全インデックス別一覧」を表示します"));
    Check1[9] = checkBox(QStringLiteral("起動時にウィンドウを最大化する"),
                         QStringLiteral("ここをチェックすると Glyfaro 2 が起動したときに自動的にウィンドウが最大化されます"));
    Check1[7] = checkBox(QStringLiteral("終了時の確認をとる"),
                         QStringLiteral("ここをチェックすると Glyfaro 2 が終了するときにしたときに「終了してよろしいですか？」」の確認ウィンドウを表示します"));
    Check2 = checkBox(QStringLiteral("なめらかフォントを有効にする"),
                      QStringLiteral("ここをチェックすると Windows の機能で、「スクリーンフォントの縁をなめらかにする」機能を有効にします"));
    Check1[0] = checkBox(QStringLiteral("プレビュー文字をカスタムする"), QString());
    Text2 = new QLineEdit(QStringLiteral("ABC abc 123 あいう アイウ 漢字"), this);
    Check1[12] = checkBox(QStringLiteral("個別表示初期テキストをカスタムする"),
                          QStringLiteral("ここをチェックすると個別表示するときにテキストボックスの内容を自動的に好きな文字に変えられます"));

    Text1 = new QPlainTextEdit(this);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Tab moves on to the next control, as in every other box of the dialog.
    Text1->setTabChangesFocus(true);
    Text1->setToolTip(QStringLiteral("ここには個別表示するときに表示させる文字又は文章を書き込みます"));

    Label1[0] = new QLabel(QStringLiteral("個別表示初期フォントサイズ:"), this);
    Label2 = new QLabel(this);
    Label2->setToolTip(QStringLiteral("個別表示するときに自動的に設定されるテキストボックスのフォントサイズ(文字の大きさ)です"));

    VScroll1 = new QScrollBar(Qt::Vertical, this);
    VScroll1->setRange(1, 100);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    // It takes part in the tab order; arriving focus is passed on at once.
    VScroll1->setFocusPolicy(Qt::StrongFocus);

    Label1[1] = new QLabel(QStringLiteral("個別表示初期フォント色:"), this);
    Label3 = new QLabel(this);
    Label3->setAutoFillBackground(true);
    Label3->setFrameShape(QFrame::Panel);
    Label3->setFrameShadow(QFrame::Sunken);
    Label3->setToolTip(QStringLiteral("個別表示すると自動的にテキストボックスの文字の色を変えることができる色です"));

    const auto button = [this](const QString& caption, const QString& tip) {
        auto* command = new QPushButton(caption, this);
        command->setToolTip(tip);
        // Enter acts on the focused control only; no button is the default.
        command->setAutoDefault(false);
        return command;
    };
    Command4 = button(QStringLiteral("色..."),
                      QStringLiteral("ここをクリックすると個別表示すると自動的にテキストボックスの文字の色を変えることができる色を変更することができます"));
    Command1 = button(QStringLiteral("OK"),
                      QStringLiteral("ここをクリックすると設定を有効にし、このウインドウを閉じます"));
    Command2 = button(QStringLiteral("キャンセル"),
                      QStringLiteral("ここをクリックすると設定は元のままこのウインドウを閉じます"));
    // Holds the focus for the scroll bar, out of sight below the client area.
    Command3[0] = button(QStringLiteral("＋"), QString());
}

void Form6::placeControls()
{
    placeInTwips(Check1[11], 180, 180, 2895, 255);
    placeInTwips(Check1[10], 180, 540, 3675, 255);
    placeInTwips(Check1[9], 180, 900, 2775, 255);
    placeInTwips(Check1[7], 180, 1260, 1815, 255);
    placeInTwips(Check2, 180, 1620, 2595, 255);
    placeInTwips(Check1[0], 180, 1980, 2655, 255);
    placeInTwips(Text2, 420, 2340, 3435, 270);
    placeInTwips(Check1[12], 4080, 180, 3195, 255);
    placeInTwips(Text1, 4380, 480, 3195, 675);
    placeInTwips(Label1[0], 4140, 1380, 2235, 195);
    placeInTwips(Label2, 6600, 1380, 495, 195);
    placeInTwips(VScroll1, 7260, 1290, 315, 375);
    placeInTwips(Label1[1], 4140, 1860, 1935, 195);
    placeInTwips(Label3, 6180, 1800, 615, 315);
    placeInTwips(Command4, 6840, 1800, 735, 315);
    placeInTwips(Command1, 4860, 2280, 1275, 315);
    placeInTwips(Command2, 6300, 2280, 1275, 315);
    placeInTwips(Command3[0], 5820, 3360, 315, 255);

    // Each caption may grow up to the next control beside it: the upper
    // rows of the left column face the text box, the lower ones the labels.
    fitCaptions(this,
                {{Check1[11], 0, 4020}, {Check1[10], 0, 4320}, {Check1[9], 0, 4320},
                 {Check1[7], 0, 4080}, {Check2, 0, 4080}, {Check1[0], 0, 4080},
                 {Check1[12], 0, 7680}, {Label1[0], 0, 6540}, {Label2, 0, 7230},
                 {Label1[1], 0, 6150}, {Command4, 0, 7575}, {Command1, 0, 6135},
                 {Command2, 0, 7575}},
                LabelPixels, SmallestLabelPixels);

    setFixedSize(twipsToPixels(ClientWidthTwips), twipsToPixels(ClientHeightTwips));
}

void Form6::setTabOrder()
{
    const std::array<QWidget*, 14> order{Check1[9],  Check1[10], Check1[11], Command1, Command2,
                                         Check1[12], Text1,      Command3[0], VScroll1, Check2,
                                         Check1[7],  Command4,   Check1[0],  Text2};
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    Check1[9]->setFocus();
}

void Form6::load(QWidget* owner)
{
    Text1->clear();
    Text2->clear();

    if (owner) {
        const QPoint corner = owner->frameGeometry().topLeft();
        move(corner.x() + twipsToPixels(OwnerOffsetLeftTwips),
             corner.y() + twipsToPixels(OwnerOffsetTopTwips));
    }

    const Form6Controls c = LoadForm6Controls(m_settings, m_info);
    Check1[11]->setChecked(c.StartupOverall == 1);
    Check1[10]->setChecked(c.StartupIndexof == 1);
    Check1[9]->setChecked(c.MaxWindow == 1);
    Check1[7]->setChecked(c.EndQuestion == 1);

    m_swatch = c.SampleTextColor;
    showSwatch(std::uint32_t(m_swatch));

    Text1->setPlainText(BoxLinesFromText(LoadSampleText(c.SampleTextStrings)));
    Check1[12]->setChecked(c.SampleText == 1);
    VScroll1->setValue(c.SampleTextSize);
    VScroll1_Change();

    // Only hand-edited settings hold bits above the colour; the dialog is
    // offered the colour part.
    m_dialogColor = std::uint32_t(c.SampleTextColor) & 0xFFFFFFu;

    Text1->setEnabled(c.SampleText == 1);

    Check2->setEnabled(c.SmoothingEnabled);
    Check2->setChecked(c.Smoothing == 1);

    Text2->setText(c.PreviewTextStrings);
    Check1[0]->setChecked(c.PreviewText == 1);
    Text2->setEnabled(c.PreviewText == 1);
}

void Form6::connectHandlers()
{
    for (int index : {0, 7, 9, 10, 11, 12})
        connect(Check1[std::size_t(index)], &QCheckBox::clicked, this, [this, index] { Check1_Click(index); });
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int) { VScroll1_Change(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    Check2->installEventFilter(this);
    VScroll1->installEventFilter(this);
}

Form6Controls Form6::controls() const
{
    Form6Controls c;
    c.StartupOverall = boxValue(Check1[11]);
    c.StartupIndexof = boxValue(Check1[10]);
    c.MaxWindow = boxValue(Check1[9]);
    c.EndQuestion = boxValue(Check1[7]);
    c.SampleText = boxValue(Check1[12]);
    c.SampleTextStrings = TextFromBoxLines(Text1->toPlainText());
    c.SampleTextSize = VScroll1->value();
    c.SampleTextColor = m_swatch;
    c.PreviewText = boxValue(Check1[0]);
    c.PreviewTextStrings = Text2->text();
    c.SmoothingEnabled = Check2->isEnabled();
    c.Smoothing = boxValue(Check2);
    return c;
}

bool Form6::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Check2) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (Check2->isEnabled())
                Check2_MouseDown();
            return true;
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove:
            // The box changes only through the question, never by the click itself.
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // The space bar would toggle the box without the question.
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_Space)
                break;
            if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
                Check2_MouseDown();
            return true;
        }
        default:
            break;
        }
    } else if (watched == VScroll1 && event->type() == QEvent::FocusIn) {
        VScroll1_GotFocus(static_cast<QFocusEvent*>(event)->reason());
    }
    return QDialog::eventFilter(watched, event);
}

void Form6::Check1_Click(int index)
{
    if (index == 0)
        Text2->setEnabled(Check1[0]->isChecked());
    else if (index == 12)
        Text1->setEnabled(Check1[12]->isChecked());
}

void Form6::Check2_MouseDown()
{
    const int answer = m_platform.dialogs.messageBox(
        SmoothingQuestion, platform::MbYesNo | platform::MbQuestion, MessageTitle);
    if (answer == platform::AnswerYes)
        Check2->setChecked(ToggledSmoothingBox(boxValue(Check2)) == 1);
}

void Form6::VScroll1_Change()
{
    Label2->setText(Form6SizeText(VScroll1->value()));
}

void Form6::VScroll1_GotFocus(Qt::FocusReason reason)
{
    // The bar is worked with the mouse only. Tab passes on to the control
    // after it, so the keyboard is never caught between it and Command3(0).
    if (reason == Qt::TabFocusReason)
        focusNextPrevChild(true);
    else
        Command3[0]->setFocus(Qt::OtherFocusReason);
}

void Form6::Command4_Click()
{
    if (const auto chosen = m_platform.dialogs.chooseColor(m_dialogColor))
        m_dialogColor = *chosen;
    m_swatch = std::int32_t(RebuildColor(m_dialogColor));
    showSwatch(std::uint32_t(m_swatch));
}

void Form6::Command1_Click()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_outcome = ApplyForm6Controls(controls(), m_settings, m_info, m_platform.system);
    QApplication::restoreOverrideCursor();
    if (m_outcome.smoothingFailed) {
        ShowMessage(m_platform.dialogs, MessageUnexpected);
        m_platform.system.endProgram();
        reject();
        return;
    }
    accept();
}

void Form6::Command2_Click()
{
    reject();
}

void Form6::showSwatch(std::uint32_t color)
{
    QPalette swatch = Label3->palette();
    swatch.setColor(QPalette::Window, toQColor(color));
    Label3->setPalette(swatch);
}
