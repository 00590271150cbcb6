#pragma once

#include "catalog/FontCatalog.h"
#include "display/DrawingFamily.h"
#include "platform/Platform.h"
#include "core/Settings.h"
#include "core/SystemInfo.h"
#include "printing/PrintRecords.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QDialog;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QTimer;
class QToolBar;
class Form1;
class Form2;
class FontNameList;
class FontFileWindow;
class ToolCommands;
class Form4;
class Form5;
class Form10;
class QMenu;
class Form8;
class FontNameModel;
class FileCommands;
class FontFileLookup;
class FindWindow;
class FontDetailsWindow;
class InventoryWindow;
struct FontSet;
class QAbstractItemView;

// The main window: the multiple-document frame that holds the list and view
// windows, with the menus, toolbar and status bar.
class MDIForm1 : public QMainWindow {
    Q_OBJECT

public:
    enum class LoadResult { Started, Ended };

    // Why the window is being closed, numbered as the platform numbers them.
    enum UnloadMode { FormControlMenu = 0, FormCode = 1, AppWindows = 2, AppTaskManager = 3 };

    explicit MDIForm1(platform::Platform& platform, QWidget* parent = nullptr);
    ~MDIForm1() override;

    // The whole start-up. Ended means a fatal message was shown and the
    // program was told to end; nothing else may run then.
    LoadResult MDIForm_Load();
    // The comparison file the program was started with, read once started.
    void setStartFile(const QString& path) { m_startFile = path; }
    // True cancels the exit.
    bool MDIForm_QueryUnload(int unloadMode);
    void MDIForm_Unload();
    // A session end or termination signal: no question, settings written.
    void systemShutdown();

    void File_Click(int index);
    void View_Click(int index);
    void Window_Click(int index);
    void Property_Click(int index);
    void Help_Click(int index);
    // The Tools menu: 0 the find window, 1 font details, 2 the character
    // map, 3 the inventory report, 4 the switched-off fonts.
    void Tools_Click(int index);
    // The Tools menu's windows and the font files.
    ToolCommands& tools() const { return *m_tools; }
    // A new inventory report, this computer on the left.
    InventoryWindow* showInventory();
    // A comparison file given on the command line or dropped on the window,
    // read as the File menu reads one; false when a file command is running.
    bool openComparisonFile(const QString& path);
    // The find window, made on first use; a text, where given, goes into its text field.
    void showFindWindow(const QString& text);
    FindWindow* findWindow() const;
    // A new details window on a font; sampleText, where given, is its vertical sample.
    FontDetailsWindow* showFontDetails(const QString& font, const QString& sampleText);
    // A font file's window, read from path; a box says why when the file
    // cannot be read, and nullptr is returned.
    FontFileWindow* openFontFile(const QString& path);
    // A file named at start or dropped: a comparison file or a font file.
    bool openStartFile(const QString& path);
    // A new character map on a font's face: the given file, else the one its regular style comes from.
    void showCharacterMap(const QString& font, const QString& path = QString(), int index = 0);
    // The font the user has in front: the active window's, else the all-fonts list's.
    QString currentFontName() const;
    void Toolbar1_ButtonClick(int index);
    void Timer1_Timer();

    Settings& settings() { return m_settings; }
    SystemInfo& systemInfo() { return m_systemInfo; }
    const FontCatalog& catalog() const { return m_catalog; }
    Form1* form1() const { return m_form1; }
    Form2* form2() const { return m_form2; }
    // The preview window, or nullptr before it was first shown.
    Form10* form10() const { return m_form10; }
    QMdiSubWindow* form10Window() const { return m_form10Window; }
    QMenu* windowMenu() const { return m_windowMenu; }
    QMdiSubWindow* form1Window() const { return m_form1Window; }
    QMdiSubWindow* form2Window() const { return m_form2Window; }
    Form8* form8() const { return m_form8; }
    QMdiSubWindow* form8Window() const { return m_form8Window; }
    FileCommands* fileCommands() const { return m_fileCommands; }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    bool alwaysOnTopChecked() const;
    // A new individual view, shown inside the frame.
    Form5* openView();
    // Shows the lock-key state the platform reports in panels 2 and 3.
    void updateLockPanels();
    // The print dialog, modal: from an individual view with the glyph job
    // for GlyphSampleFont and printText, else from the File menu.
    void showPrintDialog(bool glyphJobFromView, const QString& printText = QString());
    PrintRecords& printRecords() { return m_printRecords; }
    // The print dialog while it is open; for tests.
    QDialog* printDialog() const { return m_printDialog; }

    QTimer* Timer1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    std::array<QLabel*, 5> StatusPanels{};

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createMenus();
    void createToolbar();
    void createStatusBar();
    void createTimer();
    void createLockWatch();
    void fillWindowMenu();
    void placeNewChild(QMdiSubWindow* window);
    void showPreview();
    DrawingFamily drawingFamily() const;
    void showPreferences();
    // A window of the Tools menu, sized and placed: made anew each time and
    // shown, or kept for the run and hidden when closed.
    QMdiSubWindow* addToolWindow(QWidget* window, bool kept);

    LoadResult fail(int message);
    LoadResult abandonLoad();
    void showSplashStatus(const QString& text);
    void createListWindows();
    void placeWindow();
    void applyAlwaysOnTop(bool on);
    void showChild(QMdiSubWindow* window);
    QMdiSubWindow* frontWindow() const;
    QString versionText() const;

    platform::Platform& m_platform;
    Settings m_settings;
    SystemInfo m_systemInfo;
    FontCatalog m_catalog;
    std::unique_ptr<FontFileLookup> m_lookup;
    PrintRecords m_printRecords;
    QDialog* m_printDialog = nullptr;
    QMdiArea* m_mdiArea = nullptr;
    Form4* m_splash = nullptr;
    Form1* m_form1 = nullptr;
    Form2* m_form2 = nullptr;
    QMdiSubWindow* m_form1Window = nullptr;
    QMdiSubWindow* m_form2Window = nullptr;
    Form10* m_form10 = nullptr;
    QMdiSubWindow* m_form10Window = nullptr;
    QMenu* m_windowMenu = nullptr;
    QList<QAction*> m_windowListActions;
    int m_cascadeStep = 0;
    Form8* m_form8 = nullptr;
    FontNameModel* m_allNames = nullptr;
    QMdiSubWindow* m_form8Window = nullptr;
    FileCommands* m_fileCommands = nullptr;
    ToolCommands* m_tools = nullptr;
    QString m_startFile;
    // The child window last in front; it stays so while a menu or another
    // popup is the active window and the frame has no active child.
    QPointer<QMdiSubWindow> m_lastFront;
    QPointer<FontNameList> m_lastIndexList;
    QAction* m_alwaysOnTop = nullptr;
    int m_timerStep = 0;
    bool m_unloaded = false;
    bool m_ended = false;
    bool m_loaded = false;
};
