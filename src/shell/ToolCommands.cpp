#include "shell/ToolCommands.h"

#include "catalog/FontCatalog.h"
#include "comparison/Inventory.h"
#include "core/Messages.h"
#include "core/Settings.h"
#include "display/Form5.h"
#include "face/Coverage.h"
#include "files/FileCommands.h"
#include "find/FindWindow.h"
#include "fontfiles/FontFileScan.h"
#include "fontfiles/FontPlaces.h"
#include "fontfileview/DisabledFontsWindow.h"
#include "fontfileview/FontFileWindow.h"
#include "fontinfo/CharacterMap.h"
#include "fontinfo/FontDetailsWindow.h"
#include "fontinfo/SwitchedGlyphsWindow.h"
#include "formats/FileStore.h"
#include "identity/DetailedInventory.h"
#include "identity/MachineInventory.h"
#include "inventory/InventoryWindow.h"
#include "inventory/MachineReportWindow.h"
#include "platform/AppInfo.h"
#include "platform/FontSnapshot.h"
#include "platform/Platform.h"
#include "printing/ReportPrinting.h"
#include "typesetting/TypesettingWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressDialog>

ToolCommands::ToolCommands(Frame frame, QObject* parent) : QObject(parent), m_frame(std::move(frame))
{
}

ToolCommands::~ToolCommands() = default;

void ToolCommands::run(int index)
{
    if (index == 0) {
        showFindWindow(QString());
        return;
    }
    if (index == 3) {
        showInventory();
        return;
    }
    if (index == 4) {
        m_frame.place(new DisabledFontsWindow(m_frame.platform.dialogs, UserFontPlaces()), false);
        return;
    }
    const QString font = m_frame.currentFontName();
    if (font.isEmpty()) {
        m_frame.platform.dialogs.messageBox(QStringLiteral("フォントを一覧で選んでから、もう一度選んでください。"),
                                      platform::MbInformation, MessageTitle);
        return;
    }
    if (index == 1)
        showFontDetails(font, QString());
    else if (index == 2)
        showCharacterMap(font);
    else if (index == 5)
        showTypesetting(font, QString());
}

void ToolCommands::addFontMenu(QAbstractItemView* list)
{
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, [this, list](QPoint at) {
        const QModelIndex index = list->indexAt(at);
        if (!index.isValid())
            return;
        const QString font = index.data().toString();
        QMenu menu;
        menu.addAction(QStringLiteral("フォント情報(&I)..."), this, [this, font] { showFontDetails(font, QString()); });
        menu.addAction(QStringLiteral("文字一覧(&M)..."), this, [this, font] { showCharacterMap(font); });
        menu.addAction(QStringLiteral("組版見本(&T)..."), this, [this, font] { showTypesetting(font, QString()); });
        menu.exec(list->viewport()->mapToGlobal(at));
    });
}

FontDetailsWindow* ToolCommands::showFontDetails(const QString& font, const QString& sampleText)
{
    QString sample = sampleText.section(QStringLiteral("\r\n"), 0, 0).trimmed();
    if (sample.isEmpty())
        sample = m_frame.settings.PreviewText == 1 && !m_frame.settings.PreviewTextStrings.isEmpty() ? m_frame.settings.PreviewTextStrings
                                                                                           : QStringLiteral("「縦書き」のテスト、ー。");
    return wireDetails(new FontDetailsWindow(font, m_frame.platform.fonts, sample));
}

FontDetailsWindow* ToolCommands::wireDetails(FontDetailsWindow* details)
{
    connect(details, &FontDetailsWindow::switchedGlyphsRequested, this,
            [this](const QString& name, const QString& path, int index) {
                m_frame.place(new SwitchedGlyphsWindow(name, path, index), false);
            });
    connect(details, &FontDetailsWindow::characterMapRequested, this,
            [this](const QString& name, const QString& path, int index) { showCharacterMap(name, path, index); });
    connect(details, &FontDetailsWindow::printRequested, this,
            [this, details](const QStringList& lines) { printReport(lines, details->fontName()); });
    connect(details, &FontDetailsWindow::saveRequested, this,
            [this](const QString& name, const FaceDetails& face, const QList<SetCoverage>& coverage) {
                if (m_frame.fileCommands())
                    m_frame.fileCommands()->saveTable(QStringLiteral("日本語の収録状況を保存"),
                                              ReportFileName(name, QStringLiteral("csv")),
                                              CoverageCsvRows(name, face, coverage, &FileCommands::fitsFile));
            });
    m_frame.place(details, false);
    return details;
}

std::pair<QString, int> ToolCommands::regularFace(const QString& font) const
{
    QString file;
    int face = 0;
    const QList<platform::FaceFile> faces = m_frame.platform.fonts.faceFiles(font);
    for (const platform::FaceFile& candidate : faces) {
        if (candidate.chosen && (file.isEmpty() || candidate.style == u"Regular")) {
            file = candidate.path;
            face = candidate.index;
        }
    }
    return {file, face};
}

void ToolCommands::showCharacterMap(const QString& font, const QString& path, int index)
{
    const auto [file, face] = path.isEmpty() ? regularFace(font) : std::pair{path, index};
    m_frame.place(new CharacterMap(font, file, face), false);
}

TypesettingWindow* ToolCommands::showTypesetting(const QString& font, const QString& text)
{
    const auto [file, face] = regularFace(font);
    return showTypesettingOf(font, file, face, text);
}

TypesettingWindow* ToolCommands::showTypesettingOf(const QString& title, const QString& path, int index,
                                                   const QString& text)
{
    QString sample = text;
    sample.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (sample.trimmed().isEmpty())
        sample = QStringLiteral("「組版見本」の文章です。（括弧）や、句読点。\nカタカナのテキスト、ABC 123。");
    auto window = new TypesettingWindow(title, path, index, sample);
    connect(window, &TypesettingWindow::printRequested, this, [this, window](const QList<ReportItem>& items) {
        ReportPrintDialog dialog(items, QStringLiteral("組版見本 ") + window->fontName(), m_frame.platform,
                                 m_frame.dialogParent);
        dialog.exec();
    });
    m_frame.place(window, false);
    return window;
}

const FontSet* ToolCommands::machineSet()
{
    if (!m_machineSet) {
        int fatal = -1;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_machineSet = std::make_unique<FontSet>(
            MachineFontSet(m_frame.catalog.AllFontNames, m_frame.lookup(), m_frame.platform.system.machineName(), fatal));
        QApplication::restoreOverrideCursor();
        // The Fonts key failed as it would for a saved file: the program
        // ends with its message.
        if (fatal >= 0) {
            m_machineSet.reset();
            m_frame.fail(fatal);
            return nullptr;
        }
    }
    return m_machineSet.get();
}

std::optional<DetailedInventory> ToolCommands::machineDetails()
{
    // Every font file read once, through the cache, and kept for the run as
    // the names are: reading thousands of files takes a while.
    if (!m_machineDetails) {
        const FontSet* names = machineSet();
        if (!names)
            return std::nullopt;
        QProgressDialog progress(QStringLiteral("フォントファイルを読み込んでいます…"), QStringLiteral("中止"), 0, 0,
                                 m_frame.dialogParent);
        progress.setWindowTitle(MessageTitle);
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(300);
        FileFactsCache cache;
        const QString tool = QStringLiteral("Glyfaro 2 %1.%2.%3")
                                 .arg(platform::appVersion.major)
                                 .arg(platform::appVersion.minor)
                                 .arg(platform::appVersion.revision);
        const MachineInventoryBuild build = BuildMachineInventory(
            platform::InstalledFacesNow(), *names, m_frame.platform.system.machineName(), tool, cache,
            [&progress](qsizetype done, qsizetype total) {
                progress.setMaximum(int(total));
                progress.setValue(int(done));
                return !progress.wasCanceled();
            });
        if (!build.inventory)
            return std::nullopt;
        if (build.filesSkipped > 0)
            m_frame.platform.dialogs.messageBox(
                QStringLiteral("読めないフォントファイルが %1 個あり、一覧に入れませんでした。").arg(build.filesSkipped),
                platform::MbInformation, MessageTitle);
        m_machineDetails = std::make_unique<DetailedInventory>(*build.inventory);
    }
    return *m_machineDetails;
}

void ToolCommands::saveDetailedInventory()
{
    const QString machine = m_frame.platform.system.machineName();
    // Beside the comparison files, named after the machine, so that files
    // gathered from many machines tell which is which.
    const platform::FileDialogRequest request{
        QStringLiteral("詳しいフォント構成を保存"),
        QStringLiteral("詳しいフォント構成 (*.json)|*.json|すべてのファイル (*.*)|*.*"),
        QDir(QFileInfo(m_frame.settings.CurrentFileGFC).path())
            .filePath(ReportFileName(machine.isEmpty() ? QStringLiteral("このコンピュータ") : machine, QStringLiteral("json"))),
        0x2 /* ask before overwriting */, QStringLiteral("json")};
    const std::optional<QString> chosen = m_frame.platform.dialogs.saveFile(request);
    if (!chosen || chosen->isEmpty())
        return;
    const std::optional<DetailedInventory> details = machineDetails();
    if (!details)
        return;
    const QString path = FileCommands::withDefaultSuffix(*chosen, request.defaultSuffix);
    if (const FileResult written = SaveFileReplacing(path, InventoryJson(*details)); !written.ok)
        m_frame.platform.dialogs.messageBox(QStringLiteral("ファイル「") + path + QStringLiteral("」に保存できませんでした。\r\r")
                                                + written.reason,
                                            platform::MbCritical, MessageTitle);
}

InventoryWindow* ToolCommands::showInventory()
{
    const auto machineSet = [this]() -> const FontSet& {
        static const FontSet none;
        const FontSet* set = this->machineSet();
        return set ? *set : none;
    };
    auto inventory = new InventoryWindow(machineSet, m_frame.platform.dialogs, m_frame.settings);
    inventory->setMachineDetails([this] { return machineDetails(); });
    connect(inventory, &InventoryWindow::printRequested, this,
            [this](const QStringList& lines) { printReport(lines, QStringLiteral("フォント構成の比較")); });
    connect(inventory, &InventoryWindow::saveRequested, this, [this](const QList<QStringList>& rows, const QString& name) {
        if (m_frame.fileCommands())
            m_frame.fileCommands()->saveTable(QStringLiteral("フォント構成の比較を保存"), name, rows);
    });
    connect(inventory, &InventoryWindow::machineReportOpened, this, [this](MachineReportWindow* report) {
        connect(report, &MachineReportWindow::printRequested, this,
                [this, report](const QStringList& lines) { printReport(lines, report->windowTitle()); });
        connect(report, &MachineReportWindow::saveRequested, this, [this](const QList<QStringList>& rows, const QString& name) {
            if (m_frame.fileCommands())
                m_frame.fileCommands()->saveTable(QStringLiteral("複数のコンピュータの比較を保存"), name, rows);
        });
        connect(report, &MachineReportWindow::htmlSaveRequested, this, [this](const QByteArray& page, const QString& name) {
            // Beside the CSV files, as the tables are saved.
            const platform::FileDialogRequest request{
                QStringLiteral("複数のコンピュータの比較を HTML で保存"),
                QStringLiteral("HTML ファイル (*.html)|*.html|すべてのファイル (*.*)|*.*"),
                QDir(QFileInfo(m_frame.settings.CurrentFileCSV).path()).filePath(name), 0x2 /* ask before overwriting */,
                QStringLiteral("html")};
            const std::optional<QString> chosen = m_frame.platform.dialogs.saveFile(request);
            if (!chosen || chosen->isEmpty())
                return;
            const QString path = FileCommands::withDefaultSuffix(*chosen, request.defaultSuffix);
            if (const FileResult written = SaveFileReplacing(path, page); !written.ok)
                m_frame.platform.dialogs.messageBox(QStringLiteral("ファイル「") + path
                                                        + QStringLiteral("」に保存できませんでした。\r\r") + written.reason,
                                                    platform::MbCritical, MessageTitle);
        });
        m_frame.place(report, false);
    });
    inventory->showMachine(InventoryWindow::Left);
    m_frame.place(inventory, false);
    return inventory;
}

FontFileWindow* ToolCommands::openFontFile(const QString& path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    FontFileScan scan = ScanFontFile(path);
    QApplication::restoreOverrideCursor();
    if (!scan.ok()) {
        m_frame.platform.dialogs.messageBox(QStringLiteral("フォントファイル「%1」を開けません。\r\r%2").arg(path, scan.error),
                                      platform::MbCritical, MessageTitle);
        return nullptr;
    }
    const QString sample = m_frame.settings.SampleText == 1 && !m_frame.settings.SampleTextStrings.isEmpty()
                               ? m_frame.settings.SampleTextStrings.section(QStringLiteral("\r\n"), 0, 0)
                               : QStringLiteral("あいうえお　永遠の字形　ABCabc 0123");
    auto window = new FontFileWindow(std::move(scan), m_frame.platform.dialogs, UserFontPlaces(), sample);
    connect(window, &FontFileWindow::detailsRequested, this, [this, window](const QString& title, const QString& file, int index) {
        // The file's faces under the names the file carries.
        QList<platform::FamilyName> names;
        QList<platform::FaceFile> faces;
        int shown = 0;
        for (const platform::FontFace& face : window->scan().faces) {
            if (face.index == index)
                shown = int(faces.size());
            faces.append({file, face.index, face.style, true});
        }
        const platform::FontFace& first = window->scan().faces.at(shown);
        for (qsizetype i = 0; i < first.families.size(); ++i)
            names.append({first.families.at(i), first.familyLanguages.value(i)});
        wireDetails(new FontDetailsWindow(title, names, faces, shown, QStringLiteral("「縦書き」のテスト、ー。")));
    });
    connect(window, &FontFileWindow::characterMapRequested, this,
            [this](const QString& title, const QString& file, int index) { showCharacterMap(title, file, index); });
    connect(window, &FontFileWindow::typesettingRequested, this,
            [this, window](const QString& title, const QString& file, int index) {
                showTypesettingOf(title, file, index, window->SampleText->text());
            });
    m_frame.place(window, false);
    return window;
}

void ToolCommands::openFontFileDialog()
{
    platform::FileDialogRequest request;
    request.title = QStringLiteral("フォントファイルを開く");
    request.filter = QStringLiteral("フォントファイル (*.ttf;*.otf;*.ttc;*.otc;*.woff;*.woff2;*.pfb;*.pfa)|"
                                    "*.ttf;*.otf;*.ttc;*.otc;*.woff;*.woff2;*.pfb;*.pfa|すべてのファイル (*.*)|*.*");
    request.flags = 0x1000; // the file must exist
    if (const std::optional<QString> chosen = m_frame.platform.dialogs.openFile(request))
        openFontFile(*chosen);
}

void ToolCommands::printReport(const QStringList& lines, const QString& documentName)
{
    ReportPrintDialog dialog(lines, documentName, m_frame.platform, m_frame.dialogParent);
    dialog.exec();
}

void ToolCommands::showFindWindow(const QString& text)
{
    if (!m_findWindow) {
        m_findWindow = new FindWindow(m_frame.catalog.AllFontNames, m_frame.settings, m_frame.platform.fonts);
        // Kept for the run: closing it hides it with what it found.
        QMdiSubWindow* window = m_frame.place(m_findWindow, true);
        m_findWindowFrame = window;
        connect(m_findWindow, &FindWindow::openViewAt, this, [this](int position, const QString& text) {
            Form5* view = m_frame.openView();
            view->setListIndex(position);
            if (!text.isEmpty())
                view->setSampleText(text);
        });
        addFontMenu(m_findWindow->Results);
    }
    if (!text.isEmpty())
        m_findWindow->setText(text);
    m_frame.show(m_findWindowFrame);
}

