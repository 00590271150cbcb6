#include "printing/Form7.h"

#include "catalog/FontFileLookup.h"
#include "lists/ListWindowLayout.h"
#include "core/Messages.h"
#include "desktop/DrawingFonts.h"
#include "platform/Twips.h"
#include "printing/Form7Logic.h"
#include "printing/Printouts.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>

#include <exception>

using platform::twipsToPixels;

namespace {

constexpr int MessageInvalidValue = 6;
constexpr int MessageFontNotOnPrinter = 8;

const QString NoPrinterText = QStringLiteral("プリンタがありません");

} // namespace

Form7::Form7(const FontCatalog& catalog, const FontFileLookup& lookup, Settings& settings,
             PrintRecords& records, platform::Platform& platform, QWidget* parent)
    : QDialog(parent)
    , m_catalog(catalog)
    , m_lookup(lookup)
    , m_settings(settings)
    , m_records(records)
    , m_platform(platform)
{
    createControls();
    placeControls();
    setToolTips();
    connectHandlers();
    Form_Load();
    platform::redrawAfterRelease(this, [this] {
        if (m_showsSampleFace)
            applySampleFace();
    });
}

Form7::~Form7() = default;

void Form7::createControls()
{
    setWindowTitle(QStringLiteral("印刷..."));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The design's controls are sized for a 9-point interface face.
    QFont dialogFont = font();
    dialogFont.setPixelSize(11);
    setFont(dialogFont);

    Frame1 = new QGroupBox(QStringLiteral("ジョブ選択"), this);
    Option1[0] = new QRadioButton(QStringLiteral("フォント名を一覧形式で印刷"), Frame1);
    Option1[1] = new QRadioButton(QStringLiteral("フォント名をインデックス別形式で印刷"), Frame1);
    Label1[2] = new QLabel(QStringLiteral("印刷するインデックス選択:"), Frame1);
    List1 = new QListWidget(Frame1);
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    Option1[2] = new QRadioButton(QStringLiteral("字体を印刷"), Frame1);
    Label1[1] = new QLabel(QStringLiteral("印刷テキスト:"), Frame1);
    Text2 = new QLineEdit(QStringLiteral("任意の文字を入力してください。"), Frame1);
    Text2->setCursorPosition(0);

    Label1[0] = new QLabel(QStringLiteral("プリンタ:"), this);
    Combo1 = new QComboBox(this);
    Combo1->setEditable(false);
    Label4 = new QLabel(QStringLiteral("   ※印刷は全てモノクロです。用紙はA4を縦に差してください。"), this);
    Label4->setWordWrap(true);
    Label4->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1[3] = new QLabel(QStringLiteral("印刷部数:"), this);
    Text1 = new QLineEdit(QStringLiteral("1"), this);
    Text1->setMaxLength(2);
    Label1[4] = new QLabel(QStringLiteral("部"), this);
    Command1 = new QPushButton(QStringLiteral("印刷"), this);
    Command2 = new QPushButton(QStringLiteral("キャンセル"), this);
    for (QPushButton* button : {Command1, Command2})
        button->setAutoDefault(false);

    Picture1 = new QFrame(this);
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setFrameShadow(QFrame::Sunken);
    Label2 = new QLabel(QStringLiteral("プリンタに印刷情報を送信しています"), Picture1);
    Label3 = new QLabel(QStringLiteral("ページ 1 送信中..."), Picture1);
    Command3 = new QPushButton(QStringLiteral("強制中断"), Picture1);
    Command3->setAutoDefault(false);
    Picture1->hide();

    // A caption sits in the middle of its design height, as the design drew it.
    for (QLabel* label : {Label1[0], Label1[1], Label1[2], Label1[3], Label1[4], Label2, Label3})
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void Form7::placeControls()
{
    setFixedSize(twipsToPixels(DesignWidth), twipsToPixels(DesignHeight));
    placeInTwips(Frame1, 120, 120, 4395, 3555);
    placeInTwips(Option1[0], 180, 300, 2475, 195);
    placeInTwips(Option1[1], 180, 660, 3255, 195);
    placeInTwips(Label1[2], 900, 960, 2055, 195);
    placeInTwips(List1, 1500, 1200, 2715, 1110);
    placeInTwips(Option1[2], 180, 2460, 4035, 375);
    placeInTwips(Label1[1], 960, 2850, 1095, 195);
    placeInTwips(Text2, 1560, 3060, 2655, 270);
    placeInTwips(Label1[0], 720, 3960, 675, 195);
    placeInTwips(Combo1, 1500, 3900, 3015, 300);
    placeInTwips(Label4, 2100, 4260, 2415, 375);
    placeInTwips(Label1[3], 2400, 4860, 795, 195);
    placeInTwips(Text1, 3600, 4800, 615, 270);
    placeInTwips(Label1[4], 4320, 4860, 195, 195);
    placeInTwips(Command1, 1920, 5280, 1215, 315);
    placeInTwips(Command2, 3300, 5280, 1215, 315);
    placeInTwips(Picture1, 0, 0, 4395, 1815);
    placeInTwips(Label2, 780, 300, 2895, 255);
    placeInTwips(Label3, 1320, 720, 1875, 195);
    placeInTwips(Command3, 1560, 1200, 1395, 315);
    fitCaptions();
}

void Form7::fitCaptions()
{
    // The design sizes were made for a narrower face; a caption that needs
    // more room grows to the right and around its middle instead of being cut.
    const std::initializer_list<QWidget*> captions{Option1[0], Option1[1], Option1[2], Label1[0], Label1[1],
                                                   Label1[2], Label1[3], Label1[4], Label2, Label3};
    for (QWidget* caption : captions) {
        const QSize hint = caption->sizeHint();
        QRect area = caption->geometry();
        if (hint.width() > area.width())
            area.setWidth(std::min(hint.width(), caption->parentWidget()->width() - area.x()));
        if (hint.height() > area.height()) {
            const int extra = hint.height() - area.height();
            area.adjust(0, -extra / 2, 0, extra - extra / 2);
        }
        caption->setGeometry(area);
    }
    const int noteHeight = Label4->heightForWidth(Label4->width());
    if (noteHeight > Label4->height())
        Label4->resize(Label4->width(), noteHeight);
}

void Form7::setToolTips()
{
    Option1[0]->setToolTip(QStringLiteral("ここを選択すると全てのフォント名を印刷できるようになります"));
    Option1[1]->setToolTip(
        QStringLiteral("ここを選択すると指定したインデックスのフォント名を印刷することができるようになります"));
    List1->setToolTip(QStringLiteral("このリストの項目を選択したインデックスの分だけ印刷することができます"));
    Option1[2]->setToolTip(QStringLiteral("字体を印刷することができるようになります"));
    Text2->setToolTip(QStringLiteral("印刷するときのサンプル文字を入力します。サンプルは１行だけです"));
    Text1->setToolTip(QStringLiteral("ここに希望の印刷部数を入力してください"));
    Combo1->setToolTip(QStringLiteral("ここをクリックするとプリンタを選択することができます"));
    Command1->setToolTip(QStringLiteral("ここをクリックすると印刷を開始しようとします"));
    Command2->setToolTip(QStringLiteral("ここをクリックすると印刷をやめて、このウィンドウを閉じます"));
}

void Form7::connectHandlers()
{
    for (int i = 0; i < 3; ++i)
        connect(Option1[std::size_t(i)], &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    Text1->installEventFilter(this);
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
}

void Form7::Form_Load()
{
    Option1[0]->setChecked(true);
    List1->setEnabled(false);

    Combo1->addItems(m_platform.printers.printerNames());
    if (Combo1->count() == 0) {
        for (QWidget* control : std::initializer_list<QWidget*>{Command1, Text1, Text2, List1, Option1[0],
                                                                Option1[1], Option1[2]})
            control->setEnabled(false);
        Combo1->addItem(NoPrinterText);
    }

    for (int i = 0; i < IndexGroupCount; ++i) {
        List1->addItem(m_catalog.IndexLabels[std::size_t(i)] + QLatin1Char('\t')
                       + QString::number(m_catalog.Groups[std::size_t(i)].Names.size())
                       + QStringLiteral(" Fonts"));
    }

    if (Combo1->count() < qint64(m_settings.Printer) + 1 || m_settings.Printer < 0)
        m_settings.Printer = 0;
    Combo1->setCurrentIndex(m_settings.Printer);
    placeInTwips(Picture1, 120, 120, 4395, 1815);
}

void Form7::centreOn(const QRect& mainWindowTwips)
{
    const QPoint position =
        Form7Position(mainWindowTwips, QSize(platform::pixelsToTwips(frameGeometry().width()),
                                             platform::pixelsToTwips(frameGeometry().height())));
    move(twipsToPixels(position.x()), twipsToPixels(position.y()));
}

void Form7::prepareForFileMenu()
{
    Option1[2]->setEnabled(false);
    Text2->setEnabled(false);
    Label1[1]->setEnabled(false);
}

void Form7::applySampleFace()
{
    QFont sampleFont = Text2->font();
    if (!m_records.GlyphSampleFont.isEmpty())
        sampleFont.setFamilies({m_platform.fonts.drawingFamily(m_records.GlyphSampleFont)});
    Text2->setFont(sampleFont);
}

void Form7::prepareForGlyphSample(const QString& printText)
{
    Text2->setText(printText);
    m_showsSampleFace = true;
    applySampleFace();
    Option1[0]->setEnabled(false);
    Option1[1]->setEnabled(false);
    Option1[2]->setChecked(true);
    Option1[2]->setText(QStringLiteral("字体(") + m_records.GlyphSampleFont + QStringLiteral(")を印刷"));
    Text2->setCursorPosition(0);
    fitCaptions();
    Option1_Click(2);
}

void Form7::Option1_Click(int)
{
    List1->setEnabled(Option1[1]->isChecked());
}

bool Form7::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty())
            Text1_KeyPress(typed.at(0));
    }
    return QDialog::eventFilter(watched, event);
}

void Form7::Text1_KeyPress(QChar typed)
{
    // The character is not held back: it shows, and the change that follows
    // puts the field back to "1".
    if (CopiesKeyAccepted(typed) || typed.category() == QChar::Other_Control)
        return;
    ShowMessage(m_platform.dialogs, MessageInvalidValue);
    m_resetPending = true;
}

void Form7::Text1_Change()
{
    if (!m_resetPending)
        return;
    m_resetPending = false;
    Text1->setText(QStringLiteral("1"));
}

void Form7::warn(const QString& text)
{
    m_platform.dialogs.messageBox(text, platform::MbExclamation, MessageTitle);
}

bool Form7::glyphFontOnPrinter(int printer)
{
    const QStringList fonts = m_platform.printers.printerFonts(printer);
    for (const QString& name : fonts) {
        if (name == m_records.GlyphSampleFont)
            return true;
        QCoreApplication::processEvents();
    }
    return false;
}

void Form7::showPrintingPanel()
{
    m_printing = true;
    Command1->setEnabled(false);
    // The frame loses its close button; a close request is refused as well
    // (closeEvent), which is what holds on every window system.
    if (QWindow* window = windowHandle())
        window->setFlags(window->flags() & ~Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(DesignWidth), twipsToPixels(PrintingHeight) - twipsToPixels(405));
    Frame1->hide();
    Picture1->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void Form7::finish(int message)
{
    unsetCursor();
    if (message >= 0)
        ShowMessage(m_platform.dialogs, message);
    m_printing = false;
    done(message < 0 ? QDialog::Accepted : QDialog::Rejected);
}

void Form7::Command1_Click()
{
    if (m_printing)
        return;
    if (Text1->text().isEmpty() || CopiesValue(Text1->text()) < 1) {
        warn(QStringLiteral("印刷部数は 1 以上にしてください。"));
        Text1->setText(QStringLiteral("1"));
        return;
    }
    std::array<bool, IndexGroupCount> selected{};
    for (int i = 0; i < IndexGroupCount && i < List1->count(); ++i)
        selected[std::size_t(i)] = List1->item(i)->isSelected();
    if (Option1[1]->isChecked() && std::none_of(selected.begin(), selected.end(), [](bool on) { return on; })) {
        warn(QStringLiteral("印刷するインデックスがが選択されていません。"));
        return;
    }
    if (m_platform.dialogs.messageBox(QStringLiteral("印刷してもよろしいですか？"),
                                      platform::MbYesNo | platform::MbQuestion, MessageTitle)
        != platform::AnswerYes)
        return;

    setCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
    const int printer = Combo1->currentIndex();
    const bool glyphJob = !Option1[0]->isChecked() && !Option1[1]->isChecked();
    if (glyphJob && !glyphFontOnPrinter(printer)) {
        finish(MessageFontNotOnPrinter);
        return;
    }

    try {
        platform::Printers::Job job = m_platform.printers.startJob(printer, QString());
        if (job.cancelled) {
            // The user turned down the file to print into: back to the choices.
            unsetCursor();
            return;
        }
        if (!job.device) {
            finish(MessagePrintFailed);
            return;
        }
        m_job = std::move(job.device);
        const QString labelFace = m_platform.fonts.designFace(platform::DesignFace::ProportionalGothic);
        m_job->setCopies(CopiesValue(Text1->text()));
        m_job->setPortraitA4();
        m_job->setAutomaticPaperSource();
        m_job->setFontSize(9);
        m_job->setFontName(labelFace);
        if (m_job->failed()) {
            finish(MessagePrintFailed);
            return;
        }
        m_records.CurrentPrintPage = 1;
        showPrintingPanel();
        if (m_job->killed())
            return;

        PrintContext context{*m_job,
                             m_catalog,
                             m_lookup,
                             m_records.CurrentPrintPage,
                             labelFace,
                             BannerTimeFor(QDateTime::currentDateTime(), QLocale::system()),
                             [this](const QString& text) { Label3->setText(text); },
                             [] { QCoreApplication::processEvents(); },
                             [this](const QString& name) { return m_platform.fonts.drawingFamily(name); }};
        PrintOutcome outcome;
        if (Option1[0]->isChecked())
            outcome = PrintNameList(context);
        else if (Option1[1]->isChecked())
            outcome = PrintIndexList(context, selected);
        else
            outcome = PrintGlyphSample(context, m_records.GlyphSampleFont, [this] { return Text2->text(); });

        switch (outcome.status) {
        case PrintStatus::Aborted:
            // The abort button has closed the dialog already.
            return;
        case PrintStatus::Fatal:
            m_job->killJob();
            unsetCursor();
            ShowMessage(m_platform.dialogs, outcome.fatalMessage);
            m_platform.system.endProgram();
            m_printing = false;
            done(QDialog::Rejected);
            return;
        case PrintStatus::PrinterFailed:
            m_job->killJob();
            finish(MessagePrintFailed);
            return;
        case PrintStatus::Completed:
            break;
        }
        if (!m_job->endJob()) {
            finish(MessagePrintFailed);
            return;
        }
        m_settings.Printer = printer;
        finish(-1);
    } catch (const std::exception&) {
        if (m_job)
            m_job->killJob();
        finish(MessagePrintFailed);
    }
}

void Form7::Command2_Click()
{
    unsetCursor();
    done(QDialog::Rejected);
}

void Form7::Command3_Click()
{
    if (!m_printing || !m_job)
        return;
    unsetCursor();
    m_job->killJob();
    m_printing = false;
    done(QDialog::Rejected);
}

void Form7::reject()
{
    // Escape closes the dialog like Cancel, but never a running job.
    if (m_printing)
        return;
    unsetCursor();
    QDialog::reject();
}

void Form7::closeEvent(QCloseEvent* event)
{
    if (m_printing) {
        event->ignore();
        return;
    }
    unsetCursor();
    QDialog::closeEvent(event);
}
