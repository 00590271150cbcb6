#include "fontfileview/FontFileWindow.h"

#include "catalog/SizeText.h"
#include "desktop/ProgramIcon.h"
#include "face/FaceReader.h"
#include "fontfiles/DisabledFonts.h"
#include "fontfileview/FileSample.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString Title = QStringLiteral("Glyfaro 2");

QColor toQColor(std::uint32_t color)
{
    return QColor(int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF));
}

} // namespace

FontFileWindow::FontFileWindow(FontFileScan scan, platform::Dialogs& dialogs, FontPlaces places,
                               const QString& sampleText, QWidget* parent)
    : QWidget(parent), m_scan(std::move(scan)), m_dialogs(dialogs), m_places(std::move(places))
{
    setWindowTitle(QStringLiteral("フォントファイル / ") + QFileInfo(m_scan.path).fileName());
    setWindowIcon(platform::programIcon());
    createControls();
    SampleText->setText(sampleText);
    Sample->setText(sampleText);
    Sample->setPointSize(SizeBox->value());
    showFace();
    // The sample first: where the file stands asks fontconfig for every
    // installed face and the package database, which takes longer.
    StandingLabel->setText(QStringLiteral("インストールされているフォントと比べています..."));
    InstallButton->setEnabled(false);
    SwitchButton->setEnabled(false);
    RemoveButton->hide();
    QTimer::singleShot(0, this, &FontFileWindow::refreshStanding);
}

void FontFileWindow::createControls()
{
    FaceList = new QComboBox(this);
    for (const platform::FontFace& face : m_scan.faces)
        FaceList->addItem(FaceTitle(face));
    FaceList->setToolTip(QStringLiteral("コレクションの書体を選びます"));
    SampleText = new QLineEdit(this);
    SizeBox = new QSpinBox(this);
    SizeBox->setRange(1, 100);
    SizeBox->setValue(36);
    SizeBox->setSuffix(QStringLiteral(" pt"));
    BoldCheck = new QCheckBox(QStringLiteral("太字(&B)"), this);
    ItalicCheck = new QCheckBox(QStringLiteral("斜体(&I)"), this);
    ColorButton = new QPushButton(QStringLiteral("色(&C)..."), this);
    Sample = new FileSample;
    auto sampleArea = new QScrollArea(this);
    sampleArea->setWidget(Sample);
    sampleArea->setWidgetResizable(true);
    sampleArea->setMinimumHeight(140);

    StandingLabel = new QLabel(this);
    StandingLabel->setWordWrap(true);
    Files = new QTableWidget(0, 4, this);
    Files->setHorizontalHeaderLabels({QStringLiteral(""), QStringLiteral("ファイル"), QStringLiteral("版"),
                                      QStringLiteral("サイズ（バイト）")});
    Files->verticalHeader()->hide();
    Files->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Files->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    Files->setMaximumHeight(110);
    PackageLabel = new QLabel(this);
    PackageLabel->setWordWrap(true);

    InstallButton = new QPushButton(QStringLiteral("インストール"), this);
    RemoveButton = new QPushButton(QStringLiteral("削除"), this);
    SwitchButton = new QPushButton(QStringLiteral("無効にする"), this);
    DetailsButton = new QPushButton(QStringLiteral("フォント情報..."), this);
    CharacterMapButton = new QPushButton(QStringLiteral("文字一覧..."), this);
    TypesettingButton = new QPushButton(QStringLiteral("組版見本..."), this);

    auto face = new QHBoxLayout;
    face->addWidget(new QLabel(QStringLiteral("書体:"), this));
    face->addWidget(FaceList, 1);
    auto style = new QHBoxLayout;
    style->addWidget(new QLabel(QStringLiteral("文字:"), this));
    style->addWidget(SampleText, 1);
    style->addWidget(SizeBox);
    style->addWidget(BoldCheck);
    style->addWidget(ItalicCheck);
    style->addWidget(ColorButton);
    auto actions = new QHBoxLayout;
    actions->addWidget(InstallButton);
    actions->addWidget(RemoveButton);
    actions->addWidget(SwitchButton);
    actions->addStretch(1);
    actions->addWidget(DetailsButton);
    actions->addWidget(CharacterMapButton);
    actions->addWidget(TypesettingButton);
    auto layout = new QVBoxLayout(this);
    layout->addLayout(face);
    layout->addLayout(style);
    layout->addWidget(sampleArea, 1);
    layout->addWidget(StandingLabel);
    layout->addWidget(Files);
    layout->addWidget(PackageLabel);
    layout->addLayout(actions);
    FaceList->setVisible(m_scan.faces.size() > 1);
    face->itemAt(0)->widget()->setVisible(m_scan.faces.size() > 1);

    connect(FaceList, &QComboBox::currentIndexChanged, this, [this] { showFace(); });
    connect(SampleText, &QLineEdit::textChanged, Sample, &FileSample::setText);
    connect(SizeBox, &QSpinBox::valueChanged, Sample, &FileSample::setPointSize);
    connect(BoldCheck, &QCheckBox::toggled, Sample, &FileSample::setBold);
    connect(ItalicCheck, &QCheckBox::toggled, Sample, &FileSample::setItalic);
    connect(ColorButton, &QPushButton::clicked, this, [this] {
        if (const auto chosen = m_dialogs.chooseColor(m_color)) {
            m_color = *chosen & 0xFFFFFFu;
            Sample->setColor(toQColor(m_color));
        }
    });
    connect(InstallButton, &QPushButton::clicked, this, &FontFileWindow::install);
    connect(RemoveButton, &QPushButton::clicked, this, &FontFileWindow::remove);
    connect(SwitchButton, &QPushButton::clicked, this, &FontFileWindow::switchOnOrOff);
    connect(DetailsButton, &QPushButton::clicked, this,
            [this] { emit detailsRequested(faceTitle(), m_scan.path, faceIndex()); });
    connect(CharacterMapButton, &QPushButton::clicked, this,
            [this] { emit characterMapRequested(faceTitle(), m_scan.path, faceIndex()); });
    connect(TypesettingButton, &QPushButton::clicked, this,
            [this] { emit typesettingRequested(faceTitle(), m_scan.path, faceIndex()); });
}

int FontFileWindow::faceIndex() const
{
    const int row = std::max(FaceList->currentIndex(), 0);
    return row < m_scan.faces.size() ? m_scan.faces.at(row).index : 0;
}

QString FontFileWindow::faceTitle() const
{
    return FaceList->currentText();
}

void FontFileWindow::showFace()
{
    Sample->setFace(m_scan.path, faceIndex());
}

QString FontFileWindow::installedCopy() const
{
    return m_standing.state == FileStanding::State::SameFile ? m_standing.installed.value(0).path : QString();
}

QStringList FontFileWindow::switchedOffCopies() const
{
    // The file itself, or an installed copy of its bytes.
    QStringList copies;
    for (const DisabledFont& font : ReadDisabledFonts(m_places).fonts) {
        if (SameBytes(font.path, m_scan.path))
            copies << font.path;
    }
    return copies;
}

void FontFileWindow::refreshStanding()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_standing = StandingOf(m_scan, platform::InstalledFacesNow());
    const bool off = m_standing.state != FileStanding::State::SameFile && !switchedOffCopies().isEmpty();
    QApplication::restoreOverrideCursor();

    StandingLabel->setText(off ? QStringLiteral("無効にされています（このユーザーのプログラムには見えません）")
                               : StandingText(m_standing.state));
    // This file first, then the installed files beside it.
    QList<QStringList> rows{{QStringLiteral("このファイル"), m_scan.path, ReadFaceVersion(m_scan.path, faceIndex()),
                             NumberText(QFileInfo(m_scan.path).size())}};
    if (m_standing.state == FileStanding::State::OtherFile) {
        for (const InstalledCopy& copy : m_standing.installed)
            rows.append({QStringLiteral("インストール済み"), copy.path, copy.version, NumberText(copy.size)});
    } else if (m_standing.state == FileStanding::State::SameFile && installedCopy() != m_scan.path) {
        const InstalledCopy& copy = m_standing.installed.first();
        rows.append({QStringLiteral("インストール済み"), copy.path, copy.version, NumberText(copy.size)});
    }
    Files->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        for (int column = 0; column < 4; ++column) {
            auto item = new QTableWidgetItem(rows.at(row).at(column));
            if (column == 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            item->setToolTip(rows.at(row).at(column));
            Files->setItem(row, column, item);
        }
    }
    Files->resizeColumnToContents(0);
    Files->resizeColumnToContents(2);
    Files->resizeColumnToContents(3);

    const QString copy = installedCopy();
    const QString package = copy.isEmpty() ? QString() : PackageOwning(copy);
    PackageLabel->setText(package.isEmpty() ? QString()
                                            : QStringLiteral("このフォントはパッケージ %1 でインストールされています。").arg(package));
    PackageLabel->setVisible(!package.isEmpty());
    InstallButton->setEnabled(m_standing.state != FileStanding::State::SameFile && !off);
    m_standingKnown = true;
    // Only the user's own fonts may be removed; the system's are the
    // administrator's, and a package's are the package manager's.
    RemoveButton->setVisible(!copy.isEmpty() && LiesInside(copy, m_places.fontsFolder));
    SwitchButton->setText(off ? QStringLiteral("有効にする") : QStringLiteral("無効にする"));
    SwitchButton->setEnabled(off || !copy.isEmpty());
}

void FontFileWindow::tell(const QString& text, int style)
{
    m_dialogs.messageBox(text, style, Title);
}

void FontFileWindow::install()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const InstallResult result = InstallFontFile(m_scan, m_places, platform::InstalledFacesNow());
    QApplication::restoreOverrideCursor();
    switch (result.outcome) {
    case InstallResult::Outcome::Installed:
        tell(QStringLiteral("インストールしました。\r%1\r\r%2\r\rこのユーザーにインストールしました。すべてのユーザーに"
                            "インストールするには管理者の権限が必要です。")
                 .arg(result.path, NextStartNotice()),
             platform::MbInformation);
        break;
    case InstallResult::Outcome::AlreadyInstalled:
        tell(QStringLiteral("同じファイルが既にインストールされています。何もしませんでした。\r%1").arg(result.path),
             platform::MbInformation);
        break;
    case InstallResult::Outcome::Failed:
        tell(QStringLiteral("「%1」をインストールできませんでした。\r\r%2").arg(m_scan.path, result.error), platform::MbCritical);
        break;
    }
    refreshStanding();
}

void FontFileWindow::remove()
{
    const QString copy = installedCopy();
    if (copy.isEmpty())
        return;
    if (m_dialogs.messageBox(QStringLiteral("%1 をごみ箱に移します。ファイルマネージャーのごみ箱から元に戻せます。\r\rよろしいですか？")
                                 .arg(copy),
                             platform::MbYesNo | platform::MbQuestion, Title)
        != platform::AnswerYes)
        return;
    const RemoveResult removed = RemoveFontFile(copy, m_places);
    if (removed.removed)
        tell(QStringLiteral("ごみ箱に移しました。\r%1\r\r%2").arg(copy, NextStartNotice()), platform::MbInformation);
    else
        tell(QStringLiteral("%1 を削除できませんでした。\r\r%2").arg(copy, removed.error), platform::MbCritical);
    refreshStanding();
}

void FontFileWindow::switchOnOrOff()
{
    SwitchResult result;
    const QStringList offCopies = switchedOffCopies();
    const bool off = !offCopies.isEmpty();
    if (off) {
        result = EnableFonts(offCopies, m_places);
    } else {
        const QString copy = installedCopy();
        if (copy.isEmpty())
            return;
        result = DisableFonts({{copy, platform::FontSnapshot::screenName(m_scan.faces.first())}}, m_places);
    }
    if (!result.error.isEmpty())
        tell((off ? QStringLiteral("有効にできませんでした。\r\r") : QStringLiteral("無効にできませんでした。\r\r")) + result.error,
             platform::MbCritical);
    else
        tell((off ? QStringLiteral("有効にしました。\r\r") : QStringLiteral("無効にしました。\r\r")) + NextStartNotice(),
             platform::MbInformation);
    refreshStanding();
}
