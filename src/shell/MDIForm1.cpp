#include "shell/MDIForm1.h"

#include "catalog/FontCatalogBuilder.h"
#include "catalog/FontFileLookup.h"
#include "lists/FontNameModel.h"
#include "lists/Form1.h"
#include "lists/Form2.h"
#include "about/Form3.h"
#include "display/Form10.h"
#include "display/Form6.h"
#include "display/Form5.h"
#include "printing/Form7.h"
#include "files/FileCommands.h"
#include "files/Form8.h"
#include "find/FindWindow.h"
#include "fontinfo/FontDetailsWindow.h"
#include "fontfileview/FontFileWindow.h"
#include "formats/FontNameFiles.h"
#include "platform/AppInfo.h"
#include "desktop/DrawingFonts.h"
#include "platform/Twips.h"
#include "shell/Form4.h"
#include "shell/ChildPlacement.h"
#include "shell/HidingSubWindow.h"
#include "shell/ToolCommands.h"
#include "shell/Workspace.h"
#include "core/Messages.h"
#include "core/SettingsStore.h"
#include "core/SystemIdentity.h"

#include <QApplication>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QDateTime>
#include <QElapsedTimer>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QComboBox>
#include <QListView>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <utility>

using platform::pixelsToTwips;
using platform::twipsToPixels;

namespace {

// The maker's addresses shown by the rotating status messages.
const QString MakerWebAddress = QStringLiteral("https://www.sorimo.example/glyfaro/");
const QString MakerMailAddress = QStringLiteral("support@sorimo.example");

// How often the font reading lets the splash window repaint. Yielding after
// every one of thousands of fonts would cost more than reading them.
constexpr int SplashRepaintMilliseconds = 30;

// How often the lock-key panels ask the keyboard, for changes made while
// another program has the focus; presses seen here update them at once.
constexpr int LockPollMilliseconds = 250;

// A few of the style's pictures come in 16 pixels only and would draw
// smaller than their neighbours; those are enlarged to the toolbar's size.
QIcon toolbarPicture(const QIcon& icon, QSize size)
{
    if (icon.actualSize(size) == size)
        return icon;
    QSize largest;
    for (const QSize available : icon.availableSizes()) {
        if (available.width() > largest.width())
            largest = available;
    }
    const QPixmap source = icon.pixmap(largest.isValid() ? largest : size);
    QIcon filled;
    for (const QSize target : {size, size * 2})
        filled.addPixmap(source.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return filled;
}

} // namespace

MDIForm1::MDIForm1(platform::Platform& platform, QWidget* parent)
    : QMainWindow(parent)
    , m_platform(platform)
{
    setWindowTitle(QStringLiteral("Glyfaro 2"));
    m_mdiArea = new Workspace(this);
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window)
            m_lastFront = window;
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (auto list = qobject_cast<FontNameList*>(now); list && m_form2 && m_form2->isAncestorOf(list))
            m_lastIndexList = list;
    });
    resize(twipsToPixels(10920), twipsToPixels(7500));
    // Comparison files dropped anywhere on the window.
    setAcceptDrops(true);

    m_tools = new ToolCommands(
        {m_platform, m_settings, m_catalog, [this]() -> const FontFileLookup& { return *m_lookup; },
         [this] { return m_fileCommands; }, [this](QWidget* window, bool kept) { return addToolWindow(window, kept); },
         [this](QMdiSubWindow* window) { showChild(window); }, [this] { return openView(); },
         [this] { return currentFontName(); }, [this](int message) { fail(message); }, this},
        this);
    createMenus();
    createToolbar();
    createStatusBar();
    createTimer();
    createLockWatch();
}

MDIForm1::~MDIForm1()
{
    delete m_splash;
}

void MDIForm1::createMenus()
{
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu->addAction(QStringLiteral("フォント名比較ファイルを読み込む(&O)..."), this, [this] { File_Click(5); });
    fileMenu->addSeparator();
    fileMenu->addAction(QStringLiteral("全てのフォント名をファイルに保存(&S)..."), QKeySequence(Qt::CTRL | Qt::Key_S),
                        this, [this] { File_Click(7); });
    fileMenu->addAction(QStringLiteral("フォント名比較ファイルを保存(&C)..."), this, [this] { File_Click(8); });
    fileMenu->addAction(QStringLiteral("詳しいフォント構成を保存(&D)..."), this, [this] { m_tools->saveDetailedInventory(); });
    fileMenu->addSeparator();
    fileMenu->addAction(QStringLiteral("印刷(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                        [this] { File_Click(10); });
    fileMenu->addSeparator();
    // Past the menu's own items; Exit stays last.
    fileMenu->addAction(QStringLiteral("フォントファイルを開く(&F)..."), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                        [this] { m_tools->openFontFileDialog(); });
    fileMenu->addSeparator();
    fileMenu->addAction(QStringLiteral("終了(&X)"), QKeySequence(Qt::Key_F12), this, [this] { File_Click(255); });

    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    m_alwaysOnTop = viewMenu->addAction(QStringLiteral("常に手前に表示(&T)"));
    m_alwaysOnTop->setCheckable(true);
    // A checkable item has already flipped its mark when it reports the
    // click; the handler owns the mark and decides from the one the user saw.
    connect(m_alwaysOnTop, &QAction::triggered, this, [this](bool checked) {
        m_alwaysOnTop->setChecked(!checked);
        View_Click(0);
    });
    viewMenu->addSeparator();
    viewMenu->addAction(QStringLiteral("フォント全てを一覧(&A)..."), this, [this] { View_Click(2); });
    viewMenu->addAction(QStringLiteral("フォントをインデックス別で一覧(&I)..."), this, [this] { View_Click(3); });
    viewMenu->addAction(QStringLiteral("プレビュー(&P)..."), this, [this] { View_Click(4); });
    viewMenu->addAction(QStringLiteral("個別表示(&K)..."), this, [this] { View_Click(5); });

    QMenu* propertyMenu = menuBar()->addMenu(QStringLiteral("プロパティ(&P)"));
    propertyMenu->addAction(QStringLiteral("環境設定(&C)..."), this, [this] { Property_Click(0); });
    propertyMenu->addSeparator();
    propertyMenu->addAction(QStringLiteral("フォントフォルダ(&F)..."), this, [this] { Property_Click(2); });
    propertyMenu->addAction(QStringLiteral("画面のプロパティ(&S)..."), this, [this] { Property_Click(3); });

    QMenu* windowMenu = menuBar()->addMenu(QStringLiteral("ウインドウ(&W)"));
    m_windowMenu = windowMenu;
    connect(windowMenu, &QMenu::aboutToShow, this, &MDIForm1::fillWindowMenu);
    windowMenu->addAction(QStringLiteral("上下に並べて表示(&H)"), this, [this] { Window_Click(0); });
    windowMenu->addAction(QStringLiteral("左右に並べて表示(&V)"), this, [this] { Window_Click(1); });
    windowMenu->addAction(QStringLiteral("重ねて表示(&C)"), this, [this] { Window_Click(2); });
    windowMenu->addAction(QStringLiteral("アイコンの整列(&A)"), this, [this] { Window_Click(3); });

    QMenu* toolsMenu = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    toolsMenu->addAction(QStringLiteral("フォント検索(&F)..."), QKeySequence(Qt::CTRL | Qt::Key_F), this,
                         [this] { Tools_Click(0); });
    toolsMenu->addAction(QStringLiteral("フォント情報(&I)..."), QKeySequence(Qt::CTRL | Qt::Key_I), this,
                         [this] { Tools_Click(1); });
    toolsMenu->addAction(QStringLiteral("文字一覧(&M)..."), QKeySequence(Qt::CTRL | Qt::Key_M), this,
                         [this] { Tools_Click(2); });
    toolsMenu->addAction(QStringLiteral("組版見本(&T)..."), this, [this] { Tools_Click(5); });
    toolsMenu->addSeparator();
    toolsMenu->addAction(QStringLiteral("フォント構成の比較(&C)..."), this, [this] { Tools_Click(3); });
    toolsMenu->addAction(QStringLiteral("無効にしたフォント(&D)..."), this, [this] { Tools_Click(4); });

    QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    helpMenu->addAction(QStringLiteral("バージョン情報(&V)..."), this, [this] { Help_Click(255); });
}

void MDIForm1::createToolbar()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    struct Button {
        int index;
        const char* caption;
        const char* tooltip;
        QStyle::StandardPixmap icon;
        bool available;
    };
    const Button buttons[] = {
        {2, "Gfc を開く", "フォント名比較ファイルを開く", QStyle::SP_DialogOpenButton, true},
        {4, "Csv に書込", "全てのフォント名をファイルに保存", QStyle::SP_DialogSaveButton, true},
        {5, "Gfc に書込", "フォント名比較ファイルを保存", QStyle::SP_DriveFDIcon, true},
        {7, "全て一覧", "フォント全てを一覧", QStyle::SP_FileDialogListView, true},
        {8, "インデックス別", "フォントをインデックス別で一覧", QStyle::SP_FileDialogDetailedView, true},
        {9, "プレビュー", "プレビュー", QStyle::SP_FileDialogContentsView, true},
        {10, "個別表示", "個別表示", QStyle::SP_FileIcon, true},
        {12, "環境設定", "環境設定", QStyle::SP_ComputerIcon, true},
    };
    for (int index = 1; index <= 13; ++index) {
        auto button = std::find_if(std::begin(buttons), std::end(buttons),
                                   [index](const Button& b) { return b.index == index; });
        if (button == std::end(buttons)) {
            Toolbar1->addSeparator();
            continue;
        }
        QAction* action = Toolbar1->addAction(toolbarPicture(style()->standardIcon(button->icon), Toolbar1->iconSize()),
                                              QString::fromUtf8(button->caption));
        action->setToolTip(QString::fromUtf8(button->tooltip));
        action->setEnabled(button->available);
        connect(action, &QAction::triggered, this, [this, index] { Toolbar1_ButtonClick(index); });
    }

    // The tools' buttons follow; they are no part of the numbered buttons.
    QAction* find = Toolbar1->addAction(
        toolbarPicture(style()->standardIcon(QStyle::SP_FileDialogInfoView), Toolbar1->iconSize()),
        QStringLiteral("フォント検索"));
    find->setToolTip(QStringLiteral("名前や文字でフォントを検索"));
    connect(find, &QAction::triggered, this, [this] { Tools_Click(0); });
}

void MDIForm1::createStatusBar()
{
    for (auto& panel : StatusPanels) {
        panel = new QLabel(this);
        panel->setTextFormat(Qt::PlainText);
    }
    statusBar()->addWidget(StatusPanels[0], 1);
    for (int i = 1; i < 5; ++i)
        statusBar()->addPermanentWidget(StatusPanels[std::size_t(i)]);

    // Panel 4 is the clock.
    auto clock = new QTimer(this);
    auto tick = [this] {
        StatusPanels[3]->setText(QTime::currentTime().toString(QStringLiteral("H:mm")));
    };
    connect(clock, &QTimer::timeout, this, tick);
    clock->start(1000);
    tick();
}

void MDIForm1::createLockWatch()
{
    StatusPanels[1]->setText(QStringLiteral("CAPS"));
    StatusPanels[2]->setText(QStringLiteral("NUM"));
    auto poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &MDIForm1::updateLockPanels);
    poll->start(LockPollMilliseconds);
    qApp->installEventFilter(this);
    updateLockPanels();
}

void MDIForm1::updateLockPanels()
{
    // A key that is off is shown greyed, as a lock indicator is.
    const platform::LockKeyState locks = m_platform.system.lockKeys();
    StatusPanels[1]->setEnabled(locks.capsLock);
    StatusPanels[2]->setEnabled(locks.numLock);
}

bool MDIForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // The keyboard's indicator changes once the press has been handled.
        if (key == Qt::Key_CapsLock || key == Qt::Key_NumLock)
            QTimer::singleShot(0, this, &MDIForm1::updateLockPanels);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MDIForm1::createTimer()
{
    Timer1 = new QTimer(this);
    Timer1->setInterval(7000);
    connect(Timer1, &QTimer::timeout, this, &MDIForm1::Timer1_Timer);
}

QString MDIForm1::versionText() const
{
    const auto version = platform::appVersion;
    return QStringLiteral("Rev. %1.%2.%3").arg(version.major).arg(version.minor).arg(version.revision);
}

MDIForm1::LoadResult MDIForm1::fail(int message)
{
    ShowMessage(m_platform.dialogs, message);
    abandonLoad();
    m_platform.system.endProgram();
    return LoadResult::Ended;
}

MDIForm1::LoadResult MDIForm1::abandonLoad()
{
    m_ended = true;
    if (m_splash) {
        QApplication::restoreOverrideCursor();
        delete m_splash;
        m_splash = nullptr;
    }
    return LoadResult::Ended;
}

MDIForm1::LoadResult MDIForm1::MDIForm_Load()
{
    platform::Registry& registry = m_platform.registry;
    platform::System& system = m_platform.system;

    // The window stays hidden until it is placed at the end.
    QCoreApplication::processEvents();
    if (m_ended)
        return abandonLoad();

    if (system.previousInstanceRunning()) {
        if (m_startFile.isEmpty())
            return fail(MessageAlreadyRunning);
        // The file is not handed over; the user is told where to open it.
        ShowMessage(m_platform.dialogs, MessageAlreadyRunning);
        const QString item = IsComparisonFile(m_startFile) ? QStringLiteral("フォント名比較ファイルを読み込む")
                                                             : QStringLiteral("フォントファイルを開く");
        m_platform.dialogs.messageBox(QStringLiteral("ファイル「") + m_startFile + QStringLiteral("」は開いていません。\r\r")
                                          + QStringLiteral("起動している Glyfaro 2 のメニュー「ファイル」→「") + item
                                          + QStringLiteral("」から開いてください。"),
                                      platform::MbInformation, MessageTitle);
        return fail(-1);
    }

    m_systemInfo.TotalMemory = system.totalPhysicalMemory();
    const auto version = system.version();
    if (!version)
        return fail(MessageUnexpected);
    if (const PlatformCheck check = IdentifyPlatform(*version, system, m_systemInfo); check.refusal >= 0)
        return fail(check.refusal);

    // A settings file that could not be read was kept aside; say so before
    // the program starts over with defaults.
    if (const QString damage = registry.takeDamageReport(); !damage.isEmpty())
        m_platform.dialogs.messageBox(damage, platform::MbExclamation, MessageTitle);

    const SettingsPaths paths = settingsPathsOf(system);
    const NoticeSink notice = [this](int message) { ShowMessage(m_platform.dialogs, message); };
    if (const auto outcome = EnsureSettingsKey(registry, paths, notice); !outcome.ok())
        return fail(outcome.message);

    m_splash = new Form4;
    m_splash->centreOnScreen();
    m_splash->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_splash->Label1->setText(QStringLiteral("各種情報取得中..."));
    QCoreApplication::processEvents();
    if (m_ended)
        return abandonLoad();

    if (const int message = DescribeSystem(registry, *version, m_systemInfo); message >= 0)
        return fail(message);
    if (const auto outcome = LoadSettings(registry, paths, notice, m_settings); !outcome.ok())
        return fail(outcome.message);
    if (const int message = ReadSmoothingState(system, m_systemInfo); message >= 0)
        return fail(message);

    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    QString pendingStatus;
    const auto status = [&](const QString& text) {
        pendingStatus = text;
        if (sinceRepaint.elapsed() >= SplashRepaintMilliseconds) {
            m_splash->Label1->setText(pendingStatus);
            QCoreApplication::processEvents();
            sinceRepaint.restart();
        }
    };
    const CatalogBuildResult built = BuildFontCatalog(m_catalog, m_platform, m_systemInfo.WindowsKeyPath, status);
    if (m_ended)
        return abandonLoad();
    if (built.fatalMessage >= 0)
        return fail(built.fatalMessage);
    m_splash->Label1->setText(pendingStatus);

    createListWindows();
    if (!built.consistent) {
        m_platform.dialogs.messageBox(QStringLiteral("An error occurred during the initialization."),
                                      platform::MbCritical, MessageTitle);
    }
    m_form1->selectIndexLine(0);
    if (m_ended)
        return LoadResult::Ended;

    placeWindow();
    if (m_settings.StartupIndexof != 0)
        showChild(m_form2Window);
    if (m_settings.StartupOverall != 0)
        showChild(m_form1Window);
    applyAlwaysOnTop(m_settings.AlwaysTop == 1);
    ApplyEmptyTextMarkers(m_settings);

    StatusPanels[0]->setText(versionText());
    StatusPanels[4]->setText(QStringLiteral("総ｽｸﾘｰﾝﾌｫﾝﾄ数:%1個").arg(m_catalog.AllFontNames.size()));
    Timer1->start();

    QApplication::restoreOverrideCursor();
    delete m_splash;
    m_splash = nullptr;
    // Before the first paint, the high point of the start-up's memory: the
    // splash and the catalogue have read what they will not read again.
    platform::releaseMappedFontPages();
    platform::releaseFreeHeap();
    show();
    m_loaded = true;
    return LoadResult::Started;
}

void MDIForm1::createListWindows()
{
    m_lookup = std::make_unique<FontFileLookup>(m_catalog, m_platform, m_systemInfo.WindowsKeyPath);

    auto addList = [this](QWidget* form) {
        auto window = new HidingSubWindow;
        window->setWidget(form);
        window->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                               | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        window->setWindowIcon(form->windowIcon());
        m_mdiArea->addSubWindow(window);
        window->adjustSize();
        // The list windows take the first places of the cascade, so later
        // children do not open exactly over them.
        placeNewChild(window);
        window->hide();
        return window;
    };

    // One model of the names for every list that shows them all.
    m_allNames = new FontNameModel(m_catalog.AllFontNames, this);
    m_form1 = new Form1(m_catalog, *m_lookup, nullptr, m_allNames);
    m_form1Window = addList(m_form1);
    connect(m_form1, &Form1::openViewAt, this, [this](int position) { openView()->setListIndex(position); });
    connect(m_form1, &Form1::fatalError, this, [this](int message) { fail(message); });

    m_form2 = new Form2(m_catalog);
    m_form2Window = addList(m_form2);
    m_tools->addFontMenu(m_form1->List2);
    for (FontNameList* list : m_form2->List1)
        m_tools->addFontMenu(list);
    connect(m_form2, &Form2::openViewOnName, this, [this](const QString& name) {
        Form5* view = openView();
        if (const int position = view->findEntry(name); position >= 0)
            view->setListIndex(position);
    });

    m_form8 = new Form8(m_allNames);
    m_form8Window = addList(m_form8);
    m_fileCommands = new FileCommands(m_catalog.AllFontNames, *m_lookup, m_settings, m_platform.dialogs, *m_form8, this);
    connect(m_fileCommands, &FileCommands::comparisonWindowShowRequested, this, [this] { showChild(m_form8Window); });
    connect(m_fileCommands, &FileCommands::comparisonWindowHideRequested, m_form8Window, &QWidget::hide);
    connect(m_fileCommands, &FileCommands::fatalError, this, [this](int message) { fail(message); });
}

void MDIForm1::placeWindow()
{
    move(twipsToPixels(m_settings.Left), twipsToPixels(m_settings.Top));
    resize(std::max(1, twipsToPixels(m_settings.Width)), std::max(1, twipsToPixels(m_settings.Height)));

    // A placement saved on a screen that is gone would open the window where
    // nobody can reach it; bring it back onto the primary screen.
    if (!QGuiApplication::screenAt(geometry().center()) && QGuiApplication::primaryScreen())
        move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());

    Qt::WindowStates state = Qt::WindowNoState;
    if (m_settings.WindowState == 1)
        state = Qt::WindowMinimized;
    else if (m_settings.WindowState == 2)
        state = Qt::WindowMaximized;
    if (m_settings.MaxWindow == 1)
        state = Qt::WindowMaximized;
    setWindowState(state);
}

void MDIForm1::showChild(QMdiSubWindow* window)
{
    window->show();
    window->raise();
    m_mdiArea->setActiveSubWindow(window);
    if (window->widget())
        window->widget()->setFocus();
}

void MDIForm1::applyAlwaysOnTop(bool on)
{
    m_alwaysOnTop->setChecked(on);
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    // Changing a window flag hides a shown window; show it again.
    if (visible)
        show();
}

bool MDIForm1::alwaysOnTopChecked() const
{
    return m_alwaysOnTop->isChecked();
}

Form5* MDIForm1::openView()
{
    auto view = new Form5(m_catalog.AllFontNames, m_settings, m_platform.dialogs, nullptr, m_allNames);
    view->setSmoothing(m_systemInfo.SmoothingOn != 0);
    view->setDrawingFamily(drawingFamily());
    connect(view, &Form5::findFontsRequested, this, &MDIForm1::showFindWindow);
    connect(view, &Form5::fontDetailsRequested, this, &MDIForm1::showFontDetails);
    connect(view, &Form5::characterMapRequested, this, [this](const QString& font) { showCharacterMap(font); });
    connect(view, &Form5::typesettingRequested, m_tools, &ToolCommands::showTypesetting);
    connect(view, &Form5::printRequested, this, [this](const QString& fontName, const QString& printText) {
        m_printRecords.GlyphSampleFont = fontName;
        showPrintDialog(true, printText);
    });
    auto window = m_mdiArea->addSubWindow(view);
    window->setAttribute(Qt::WA_DeleteOnClose);
    // The frame's title bar and borders are the subwindow's contents margins.
    const QMargins frame = window->contentsMargins();
    window->resize(Form5::designClientSizePixels().expandedTo(view->minimumSize())
                   + QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
    placeNewChild(window);
    window->show();
    view->setFocus();
    return view;
}

void MDIForm1::placeNewChild(QMdiSubWindow* window)
{
    // One title bar's height per window, as the frame cascades.
    const int step = std::max(1, window->contentsMargins().top());
    window->move(NextCascadePosition(m_cascadeStep, window->size(), m_mdiArea->viewport()->size(), step));
}

DrawingFamily MDIForm1::drawingFamily() const
{
    return [fonts = &m_platform.fonts](const QString& name) { return fonts->drawingFamily(name); };
}

void MDIForm1::showPreview()
{
    if (!m_form10) {
        const QString heading = m_platform.fonts.designFace(platform::DesignFace::ProportionalGothic);
        m_form10 = new Form10(m_catalog.AllFontNames, m_settings, heading, this, drawingFamily());
        m_form10->setSmoothing(m_systemInfo.SmoothingOn != 0);
        auto window = new HidingSubWindow;
        window->setWidget(m_form10);
        // A fixed single border without a maximize button.
        window->setWindowFlags(Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                               | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        window->setOption(QMdiSubWindow::RubberBandResize, false);
        window->setWindowIcon(m_form10->windowIcon());
        m_mdiArea->addSubWindow(window);
        window->adjustSize();
        window->setFixedSize(window->size());
        placeNewChild(window);
        m_form10Window = window;
        connect(m_form10, &Form10::openViewAt, this, [this](int position) { openView()->setListIndex(position); });
    }
    showChild(m_form10Window);
}

void MDIForm1::fillWindowMenu()
{
    for (QAction* action : m_windowListActions) {
        m_windowMenu->removeAction(action);
        delete action;
    }
    m_windowListActions.clear();

    QList<QMdiSubWindow*> open;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (window->isVisible())
            open << window;
    }
    if (open.isEmpty())
        return;
    m_windowListActions << m_windowMenu->addSeparator();
    int number = 0;
    for (QMdiSubWindow* window : open) {
        ++number;
        const QString title = window->windowTitle().replace(QLatin1Char('&'), QLatin1String("&&"));
        const QString caption = number < 10 ? QStringLiteral("&%1 %2").arg(number).arg(title)
                                            : QStringLiteral("%1 %2").arg(number).arg(title);
        QAction* action = m_windowMenu->addAction(caption);
        action->setCheckable(true);
        action->setChecked(window == m_mdiArea->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window] {
            if (window->isMinimized())
                window->showNormal();
            showChild(window);
        });
        m_windowListActions << action;
    }
}

void MDIForm1::showPrintDialog(bool glyphJobFromView, const QString& printText)
{
    // One dialog at a time: a second request while one is open is ignored.
    if (m_printDialog || !m_lookup)
        return;
    Form7 dialog(m_catalog, *m_lookup, m_settings, m_printRecords, m_platform, this);
    if (glyphJobFromView)
        dialog.prepareForGlyphSample(printText);
    else
        dialog.prepareForFileMenu();
    const QRect frame = frameGeometry();
    dialog.centreOn(QRect(pixelsToTwips(frame.x()), pixelsToTwips(frame.y()), pixelsToTwips(frame.width()),
                          pixelsToTwips(frame.height())));
    m_printDialog = &dialog;
    dialog.exec();
    m_printDialog = nullptr;
}

void MDIForm1::File_Click(int index)
{
    if (index == 10) {
        showPrintDialog(false);
        return;
    }
    if (index != 255) {
        if (m_fileCommands)
            m_fileCommands->File_Click(index);
        return;
    }
    if (m_settings.EndQuestion == 1) {
        const int answer = m_platform.dialogs.messageBox(QStringLiteral("終了してもよろしいですか？"),
                                                         platform::MbYesNo | platform::MbQuestion, MessageTitle);
        if (answer != platform::AnswerYes)
            return;
    }
    // Closing from code asks no second time.
    MDIForm_Unload();
    close();
}

void MDIForm1::View_Click(int index)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    switch (index) {
    case 0:
        applyAlwaysOnTop(!m_alwaysOnTop->isChecked());
        break;
    case 2:
        showChild(m_form1Window);
        break;
    case 3:
        showChild(m_form2Window);
        break;
    case 4:
        showPreview();
        break;
    case 5: {
        Form5* view = openView();
        // "ＭＳ ゴシック" where it is installed, else its counterpart.
        const QString face = m_platform.fonts.designFace(platform::DesignFace::FixedGothic);
        if (const int position = face.isEmpty() ? -1 : view->findEntry(face); position >= 0)
            view->setListIndex(position);
        break;
    }
    default:
        break;
    }
    QApplication::restoreOverrideCursor();
}

void MDIForm1::Property_Click(int index)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (index == 0)
        showPreferences();
    else if (index == 2)
        m_platform.system.openFontsFolder();
    else if (index == 3)
        m_platform.system.openDisplaySettings();
    QApplication::restoreOverrideCursor();
}

void MDIForm1::showPreferences()
{
    // The dialog is modal: the pointer is the user's while it is open.
    QApplication::restoreOverrideCursor();
    Form6 dialog(m_settings, m_systemInfo, m_platform, this);
    dialog.exec();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const Form6Result& outcome = dialog.outcome();
    if (outcome.smoothingFailed) {
        // Message 2 was shown and the program told to end.
        m_ended = true;
        return;
    }
    if (outcome.previewChanged && m_form10)
        m_form10->applyPreviewText();
    if (outcome.smoothingChanged) {
        const bool on = m_systemInfo.SmoothingOn != 0;
        if (m_form10)
            m_form10->setSmoothing(on);
        for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
            if (auto view = qobject_cast<Form5*>(window->widget()))
                view->setSmoothing(on);
        }
    }
}

void MDIForm1::Help_Click(int index)
{
    if (index != 255)
        return;
    Form3 about(m_systemInfo, m_catalog, m_platform.fonts, this);
    about.exec();
}

void MDIForm1::Window_Click(int index)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
        if (window->isVisible() && !window->isMinimized())
            windows << window;
    }
    const QRect area = m_mdiArea->viewport()->rect();
    switch (index) {
    case 0:
    case 1: {
        // 0 sets the windows side by side, 1 one above the other.
        if (windows.isEmpty())
            break;
        const int count = int(windows.size());
        for (int i = 0; i < count; ++i) {
            windows[i]->showNormal();
            if (index == 0) {
                const int width = area.width() / count;
                windows[i]->setGeometry(i * width, 0, width, area.height());
            } else {
                const int height = area.height() / count;
                windows[i]->setGeometry(0, i * height, area.width(), height);
            }
        }
        break;
    }
    case 2: {
        // The windows move one title bar apart and keep their sizes: the
        // frame's own cascade shrinks a window without a layout to nothing.
        int step = 0;
        for (QMdiSubWindow* window : windows) {
            if (window->isMaximized())
                window->showNormal();
            const int stepPixels = std::max(1, window->contentsMargins().top());
            window->move(NextCascadePosition(step, window->size(), area.size(), stepPixels));
            window->raise();
        }
        break;
    }
    case 3: {
        // Minimized windows line up along the bottom edge.
        int x = 0;
        for (QMdiSubWindow* window : m_mdiArea->subWindowList()) {
            if (window->isVisible() && window->isMinimized()) {
                window->move(x, area.height() - window->height());
                x += window->width();
            }
        }
        break;
    }
    default:
        break;
    }
}

QMdiSubWindow* MDIForm1::frontWindow() const
{
    if (QMdiSubWindow* active = m_mdiArea->activeSubWindow())
        return active;
    // A menu opened through the accessibility bus, or any popup, is a window
    // of its own and leaves the frame without an active child meanwhile.
    if (m_lastFront && m_lastFront->isVisible() && m_mdiArea->subWindowList().contains(m_lastFront.data()))
        return m_lastFront;
    return nullptr;
}

QString MDIForm1::currentFontName() const
{
    // The font of the window in front, where it shows one; else the one
    // chosen in the all-fonts list.
    const QMdiSubWindow* frame = frontWindow();
    QWidget* front = frame ? frame->widget() : nullptr;
    if (auto view = qobject_cast<Form5*>(front); view && view->Combo1->currentIndex() >= 0)
        return view->Combo1->currentText();
    if (auto details = qobject_cast<FontDetailsWindow*>(front))
        return details->fontName();
    if (auto find = qobject_cast<FindWindow*>(front); find && find->Results->currentIndex().isValid())
        return find->Results->currentIndex().data().toString();
    if (front == m_form2) {
        // The list that last had the focus: a popup that holds the keyboard
        // takes the focus from it meanwhile.
        for (FontNameList* list : m_form2->List1) {
            if ((list->hasFocus() || list == m_lastIndexList) && list->currentItem())
                return list->currentItem().text();
        }
    }
    if (m_form1 && m_form1->List2->currentItem())
        return m_form1->List2->currentItem().text();
    return {};
}

QMdiSubWindow* MDIForm1::addToolWindow(QWidget* window, bool kept)
{
    QMdiSubWindow* frame = nullptr;
    if (kept) {
        frame = new HidingSubWindow;
        frame->setWidget(window);
        frame->setWindowIcon(window->windowIcon());
        m_mdiArea->addSubWindow(frame);
    } else {
        frame = m_mdiArea->addSubWindow(window);
        frame->setAttribute(Qt::WA_DeleteOnClose);
    }
    frame->adjustSize();
    // A window that stands out of the frame hides its own lower part.
    frame->resize(frame->size().boundedTo(m_mdiArea->viewport()->size()));
    placeNewChild(frame);
    if (!kept)
        showChild(frame);
    return frame;
}

void MDIForm1::Tools_Click(int index)
{
    m_tools->run(index);
}

InventoryWindow* MDIForm1::showInventory()
{
    return m_tools->showInventory();
}

void MDIForm1::showFindWindow(const QString& text)
{
    m_tools->showFindWindow(text);
}

FindWindow* MDIForm1::findWindow() const
{
    return m_tools->findWindow();
}

FontDetailsWindow* MDIForm1::showFontDetails(const QString& font, const QString& sampleText)
{
    return m_tools->showFontDetails(font, sampleText);
}

void MDIForm1::showCharacterMap(const QString& font, const QString& path, int index)
{
    m_tools->showCharacterMap(font, path, index);
}

FontFileWindow* MDIForm1::openFontFile(const QString& path)
{
    return m_tools->openFontFile(path);
}

bool MDIForm1::openComparisonFile(const QString& path)
{
    return m_fileCommands && m_fileCommands->loadComparisonFile(path);
}

bool MDIForm1::openStartFile(const QString& path)
{
    return IsComparisonFile(path) ? openComparisonFile(path) : openFontFile(path) != nullptr;
}

namespace {

// The comparison and font files among what is dragged over the window.
QStringList droppedFiles(const QMimeData* data)
{
    static const char* const Opened[] = {".gfc", ".ttf", ".otf", ".ttc", ".otc", ".woff", ".woff2", ".pfb", ".pfa"};
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls()) {
        const QString file = url.toLocalFile();
        if (url.isLocalFile() && std::any_of(std::begin(Opened), std::end(Opened), [&file](const char* suffix) {
                return file.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
            }))
            files.append(file);
    }
    return files;
}

} // namespace

void MDIForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (m_loaded && !droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MDIForm1::dropEvent(QDropEvent* event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    // One comparison side: the first comparison file is the one read. Each
    // font file opens a window of its own.
    bool comparisonRead = false;
    for (const QString& file : files) {
        if (!IsComparisonFile(file))
            openFontFile(file);
        else if (!std::exchange(comparisonRead, true))
            openComparisonFile(file);
    }
}

void MDIForm1::Toolbar1_ButtonClick(int index)
{
    switch (index) {
    case 2:
        File_Click(5);
        break;
    case 4:
        File_Click(7);
        break;
    case 5:
        File_Click(8);
        break;
    case 7:
        View_Click(2);
        break;
    case 8:
        View_Click(3);
        break;
    case 9:
        View_Click(4);
        break;
    case 10:
        View_Click(5);
        break;
    case 12:
        Property_Click(0);
        break;
    default:
        break;
    }
}

void MDIForm1::Timer1_Timer()
{
    QString text;
    int next = m_timerStep;
    switch (m_timerStep) {
    case 0:
        text = QStringLiteral("ご利用ありがとうございます。");
        next = 1;
        break;
    case 1:
        text = QStringLiteral("新しいバージョンの確認は ") + MakerWebAddress + QStringLiteral(" でできます。");
        next = 2;
        break;
    case 2:
        text = QStringLiteral("ご不明な点やバグはメール ") + MakerMailAddress + QStringLiteral(" まで。");
        next = 3;
        break;
    case 3:
        text = QStringLiteral("「はじめにお読み下さい」か「Readme.txt」で確認してください。");
        next = 4;
        break;
    case 4:
        text = QStringLiteral("バージョンアップの通知が欲しい方はメールでご連絡下さい。");
        next = 5;
        break;
    case 5:
        text = versionText();
        next = 0;
        break;
    default:
        return;
    }
    StatusPanels[0]->setText(text);
    m_timerStep = next;
}

bool MDIForm1::MDIForm_QueryUnload(int unloadMode)
{
    if (unloadMode != FormControlMenu || m_settings.EndQuestion != 1)
        return false;
    const int answer = m_platform.dialogs.messageBox(QStringLiteral("終了してもよろしいですか？"),
                                                     platform::MbYesNo | platform::MbQuestion, MessageTitle);
    return answer != platform::AnswerYes;
}

void MDIForm1::MDIForm_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_settings.AlwaysTop = alwaysOnTopChecked() ? 1 : 0;
    m_settings.WindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;

    // The restored placement, outer frame included, whatever the state.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const QRect normal = windowState() == Qt::WindowNoState ? inner : normalGeometry();
    const QRect outer = normal.adjusted(frame.left() - inner.left(), frame.top() - inner.top(),
                                        frame.right() - inner.right(), frame.bottom() - inner.bottom());
    m_settings.Left = pixelsToTwips(outer.x());
    m_settings.Top = pixelsToTwips(outer.y());
    m_settings.Width = pixelsToTwips(outer.width());
    m_settings.Height = pixelsToTwips(outer.height());

    const SettingsOutcome outcome = WriteBackSettings(m_platform.registry, m_settings);
    QApplication::restoreOverrideCursor();
    if (outcome.message == MessageUnexpected) {
        ShowMessage(m_platform.dialogs, MessageUnexpected);
        m_platform.system.endProgram();
        return;
    }
    if (outcome.message >= 0)
        ShowMessage(m_platform.dialogs, outcome.message);
    QCoreApplication::quit();
}

void MDIForm1::systemShutdown()
{
    if (m_ended || m_unloaded)
        return;
    if (!m_loaded) {
        // During the start-up the settings are not all read yet; writing
        // them back now would store defaults over the user's own.
        m_ended = true;
        m_platform.system.endProgram();
        return;
    }
    MDIForm_QueryUnload(AppWindows);
    MDIForm_Unload();
}

void MDIForm1::closeEvent(QCloseEvent* event)
{
    if (m_unloaded || m_ended) {
        event->accept();
        return;
    }
    if (MDIForm_QueryUnload(FormControlMenu)) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}
