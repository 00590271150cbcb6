#include "files/FileCommands.h"

#include "catalog/FontFileLookup.h"
#include "core/Messages.h"
#include "formats/ComparisonFile.h"
#include "formats/Cp932Text.h"
#include "formats/CsvExport.h"
#include "formats/FontNameFiles.h"
#include "files/FileProgress.h"
#include "formats/FileStore.h"
#include "files/Form8.h"
#include "files/Form9.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <memory>

namespace {

constexpr int MessageFileDamaged = 9;

// Flags of the file dialogs, numbered as the platform numbers them.
constexpr int AskBeforeOverwrite = 0x2;
constexpr int FileMustExist = 0x1000;

const QString ComparisonFilter = QStringLiteral("Glyfaro 2 用フォント比較ファイル (*.gfc)|*.gfc|");
const QString CsvFilter = QStringLiteral("カンマ区切り形式 (*.csv)|*.csv|");

// Restores the flag however the command ends.
struct RunningFlag {
    bool& flag;
    explicit RunningFlag(bool& running) : flag(running) { flag = true; }
    ~RunningFlag() { flag = false; }
};

// The hourglass on the main window only, so that a file dialog shown
// meanwhile keeps its normal pointer.
struct WaitCursor {
    QWidget* window;
    explicit WaitCursor(QWidget* mainWindow) : window(mainWindow)
    {
        if (window)
            window->setCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (window)
            window->unsetCursor();
    }
};

} // namespace

FileCommands::FileCommands(const QStringList& fontNames, const FontFileLookup& lookup,
                           Settings& settings, platform::Dialogs& dialogs, Form8& form8,
                           QWidget* mainWindow)
    : QObject(mainWindow)
    , m_fontNames(fontNames)
    , m_lookup(lookup)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_form8(form8)
    , m_mainWindow(mainWindow)
{
}

platform::FileDialogRequest FileCommands::dialogRequest(int index, const Settings& settings)
{
    switch (index) {
    case 5:
        return {QStringLiteral("フォント比較用ファイルを読み込む"), ComparisonFilter,
                settings.CurrentFileGFC, FileMustExist, {}};
    case 7:
        return {QStringLiteral("全てのフォント名をファイルに保存"), CsvFilter, settings.CurrentFileCSV,
                AskBeforeOverwrite, QStringLiteral("csv")};
    case 8:
        return {QStringLiteral("フォント比較用ファイルを保存"), ComparisonFilter, settings.CurrentFileGFC,
                AskBeforeOverwrite, QStringLiteral("gfc")};
    default:
        return {};
    }
}

QString FileCommands::withDefaultSuffix(const QString& path, const QString& suffix)
{
    if (suffix.isEmpty())
        return path;
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || name.contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + suffix;
}

bool FileCommands::File_Click(int index)
{
    if (index != 5 && index != 7 && index != 8)
        return true;
    // Pending events are served while a file is worked on, so the menu
    // stays usable; a second file command then would work on the same
    // windows and files at once.
    if (m_running)
        return false;
    RunningFlag running(m_running);

    const platform::FileDialogRequest request = dialogRequest(index, m_settings);
    std::optional<QString> chosen;
    std::unique_ptr<WaitCursor> wait;
    if (index == 7) {
        chosen = m_dialogs.saveFile(request);
        wait = std::make_unique<WaitCursor>(m_mainWindow);
    } else {
        wait = std::make_unique<WaitCursor>(m_mainWindow);
        chosen = index == 5 ? m_dialogs.openFile(request) : m_dialogs.saveFile(request);
    }
    if (!chosen || chosen->isEmpty())
        return true;

    if (index == 5) {
        loadChosen(*chosen);
        return true;
    }
    const QString path = withDefaultSuffix(*chosen, request.defaultSuffix);
    if (index == 7)
        m_settings.CurrentFileCSV = path;
    else
        m_settings.CurrentFileGFC = path;
    save(path, QFileInfo(path).fileName(), index == 7 ? CsvExportMode : ComparisonSaveMode);
    return true;
}

bool FileCommands::loadComparisonFile(const QString& path)
{
    if (m_running)
        return false;
    RunningFlag running(m_running);
    WaitCursor wait(m_mainWindow);
    loadChosen(path);
    return true;
}

void FileCommands::loadChosen(const QString& path)
{
    const bool comparisonShown = m_form8.isVisible();
    emit comparisonWindowHideRequested();
    m_settings.CurrentFileGFC = path;
    // A file that could not be read leaves the window as the user had it.
    if (load(path, QFileInfo(path).fileName()) == Outcome::Failed && comparisonShown)
        emit comparisonWindowShowRequested();
}

void FileCommands::FontNameFile(const QString& fullPath, const QString& fileTitle, int mode)
{
    if (mode == CsvExportMode || mode == ComparisonSaveMode)
        save(fullPath, fileTitle, mode);
    else if (mode == ComparisonLoadMode)
        load(fullPath, fileTitle);
}

bool FileCommands::saveTable(const QString& title, const QString& fileName, const QList<QStringList>& rows)
{
    const QString folder = QFileInfo(m_settings.CurrentFileCSV).path();
    const platform::FileDialogRequest request{title, CsvFilter, QDir(folder).filePath(fileName), AskBeforeOverwrite,
                                              QStringLiteral("csv")};
    const std::optional<QString> chosen = m_dialogs.saveFile(request);
    if (!chosen || chosen->isEmpty())
        return false;
    const QString path = withDefaultSuffix(*chosen, request.defaultSuffix);
    const FileResult written = SaveFileReplacing(path, CsvExport::table(rows));
    if (!written.ok) {
        reportError(QStringLiteral("ファイル「") + path + QStringLiteral("」に保存できませんでした。"), written.reason);
        return false;
    }
    return true;
}

bool FileCommands::fitsFile(char32_t character)
{
    return !EncodeForFile(QString::fromUcs4(&character, 1)).substituted;
}

void FileCommands::reportError(const QString& textBeforeReason, const QString& reason)
{
    m_dialogs.messageBox(textBeforeReason + QStringLiteral("\r\r") + reason, platform::MbCritical,
                         MessageTitle);
}

FileCommands::Outcome FileCommands::save(const QString& fullPath, const QString& fileTitle, int mode)
{
    EventPump pump;
    const qsizetype count = m_fontNames.size();
    auto progress = std::make_unique<Form9>(m_mainWindow);
    progress->setWindowTitle(QStringLiteral("ファイル保存"));
    progress->setStatus(fileTitle, QStringLiteral(" に保存中..."));
    progress->ProgBar1->setRange(0, ProgressMaximum(count));
    progress->ProgBar1->setValue(0);
    progress->showCentred();

    const FontNameFileContent content = MakeFontNameFile(
        mode == CsvExportMode ? FontNameFileKind::Csv : FontNameFileKind::Comparison, m_fontNames, m_lookup,
        [&](qsizetype k) {
            progress->ProgBar1->setValue(int(std::min<qsizetype>(k, progress->ProgBar1->maximum())));
            pump();
        });
    if (content.fatalMessage >= 0) {
        progress.reset();
        emit fatalError(content.fatalMessage);
        return Outcome::Failed;
    }
    const QByteArray& bytes = content.bytes;
    const int substituted = content.substituted;
    const FileResult written = SaveFileReplacing(fullPath, bytes);
    progress.reset();

    if (!written.ok) {
        reportError(QStringLiteral("ファイル「") + fullPath + QStringLiteral("」に保存できませんでした。"),
                    written.reason);
        return Outcome::Failed;
    }
    if (substituted > 0) {
        m_dialogs.messageBox(SubstitutedNamesNotice(substituted), platform::MbExclamation, MessageTitle);
    }
    return Outcome::Done;
}

FileCommands::Outcome FileCommands::load(const QString& fullPath, const QString& fileTitle)
{
    EventPump pump;
    FileBytes file;
    if (const FileResult opened = file.open(fullPath); !opened.ok) {
        reportError(QStringLiteral("ファイル「") + fullPath + QStringLiteral("」を読み込めませんでした。"),
                    opened.reason);
        return Outcome::Failed;
    }
    const QByteArrayView bytes = file.bytes();

    auto progress = std::make_unique<Form9>(m_mainWindow);
    progress->setWindowTitle(QStringLiteral("ファイル読み込み"));
    progress->setStatus(fileTitle, QStringLiteral(" から読み込み中..."));
    progress->ProgBar1->setRange(0, ProgressMaximum(qint64(bytes.size()) + 1));
    progress->ProgBar1->setValue(0);
    progress->showCentred();
    m_form8.clearFileSide();

    comparison_file::Reader reader(bytes);
    QStringList names;
    if (!reader.magicOk()) {
        ShowMessage(m_dialogs, MessageFileDamaged);
    } else {
        using Step = comparison_file::Reader::Step;
        QString name;
        for (;;) {
            progress->ProgBar1->setValue(
                int(std::min<qint64>(reader.position() + 1, progress->ProgBar1->maximum())));
            pump();
            const Step step = reader.next(name);
            if (step == Step::Name) {
                names.append(name);
                continue;
            }
            if (step == Step::Damaged) {
                ShowMessage(m_dialogs, MessageFileDamaged);
                names.clear();
            } else if (step == Step::Cut) {
                // The complete records before the cut are kept; the user is
                // still told that the file is not whole.
                ShowMessage(m_dialogs, MessageFileDamaged);
            }
            break;
        }
    }

    m_form8.setFileNames(names);
    progress.reset();
    emit comparisonWindowShowRequested();
    return Outcome::Done;
}
