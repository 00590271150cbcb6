#include "inventory/InventoryWindow.h"

#include "catalog/OneLineText.h"
#include "catalog/SizeText.h"
#include "core/Messages.h"
#include "desktop/ProgramIcon.h"
#include "files/FileCommands.h"
#include "formats/FontNameFiles.h"
#include "identity/MachineInventory.h"
#include "identity/InventoryFiles.h"
#include "inventory/MachineReportWindow.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QColor>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int MessageFileDamaged = 9;

// Tab captions short enough for the four to stand side by side; the
// whole title is the tab's tip.
QString shortTitle(InventoryGroup group)
{
    switch (group) {
    case InventoryGroup::OnlyLeft:
        return QStringLiteral("左だけ");
    case InventoryGroup::OnlyRight:
        return QStringLiteral("右だけ");
    case InventoryGroup::SizeDiffers:
        return QStringLiteral("サイズ違い");
    case InventoryGroup::Same:
        break;
    }
    return QStringLiteral("同じ");
}

QString countText(qsizetype count)
{
    return QStringLiteral("総数: ") + NumberText(count) + QStringLiteral(" 個");
}

// Short enough for the six to stand side by side in the window's width.
QString shortTitle(IdentityGroup group)
{
    switch (group) {
    case IdentityGroup::FormsDiffer:
        return QStringLiteral("字形違い");
    case IdentityGroup::OtherVersion:
    case IdentityGroup::Same:
        return IdentityGroupTitle(group);
    case IdentityGroup::OtherBytes:
        return QStringLiteral("中身違い");
    case IdentityGroup::OnlyLeft:
        return QStringLiteral("左だけ");
    case IdentityGroup::OnlyRight:
        break;
    }
    return QStringLiteral("右だけ");
}

const QString InventoryFilter = QStringLiteral("詳しいフォント構成 (*.json)|*.json|すべてのファイル (*.*)|*.*");
constexpr int FileMustExist = 0x1000;
// The glyph-forms group's tab, in the red the report saved as a page uses.
const QColor WarningColor(0xb3, 0x26, 0x1e);

QTreeView* newList(QAbstractItemModel* model, std::initializer_list<int> widths)
{
    auto list = new QTreeView;
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAlternatingRowColors(true);
    list->setModel(model);
    list->header()->setStretchLastSection(true);
    int column = 0;
    for (const int width : widths)
        list->setColumnWidth(column++, width);
    return list;
}

} // namespace

// One group's names, sizes and notes; rows are made as the view asks.
class InventoryModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setEntries(const QList<InventoryEntry>* entries)
    {
        beginResetModel();
        m_entries = entries;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || !m_entries ? 0 : int(m_entries->size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_entries || !index.isValid() || index.row() >= m_entries->size())
            return {};
        const InventoryEntry& entry = m_entries->at(index.row());
        if (role == Qt::TextAlignmentRole && (index.column() == 1 || index.column() == 2))
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
            return {};
        switch (index.column()) {
        case 0:
            return OneLineText(entry.name);
        case 1:
            return entry.leftSizes.isEmpty() ? QString() : SizesText(entry.leftSizes, Digits::Grouped);
        case 2:
            return entry.rightSizes.isEmpty() ? QString() : SizesText(entry.rightSizes, Digits::Grouped);
        default:
            return ProbableMatchNote(entry);
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char16_t* const titles[] = {u"フォント名", u"左のサイズ (バイト)", u"右のサイズ (バイト)", u"備考"};
        return QString::fromUtf16(titles[section]);
    }

private:
    const QList<InventoryEntry>* m_entries = nullptr;
};

// One group of the comparison by identity: its rows of the table the CSV
// file is saved from, so the window and the file word each cell alike.
class IdentityModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<QStringList>* table, qsizetype first, qsizetype count)
    {
        beginResetModel();
        m_table = table;
        m_first = first;
        m_count = table ? count : 0;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(m_count); }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 5; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_table || !index.isValid() || index.row() >= m_count || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        // The table's first column names the group, which the tab does.
        const QString& cell = m_table->at(m_first + index.row()).at(index.column() + 1);
        return index.column() == 0 ? OneLineText(cell) : cell;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        static const char16_t* const titles[] = {u"フォント", u"左の版", u"右の版", u"左の字形", u"右の字形"};
        return QString::fromUtf16(titles[section]);
    }

private:
    const QList<QStringList>* m_table = nullptr;
    qsizetype m_first = 0;
    qsizetype m_count = 0;
};

InventoryWindow::InventoryWindow(std::function<const FontSet&()> machineSet, platform::Dialogs& dialogs,
                                 const Settings& settings, QWidget* parent)
    : QWidget(parent)
    , m_machineSet(std::move(machineSet))
    , m_dialogs(dialogs)
    , m_settings(settings)
{
    setWindowTitle(QStringLiteral("フォント構成の比較"));
    setWindowIcon(platform::programIcon());

    auto layout = new QVBoxLayout(this);
    auto sides = new QHBoxLayout;
    for (const Side side : {Left, Right}) {
        auto box = new QGroupBox(side == Left ? QStringLiteral("左") : QStringLiteral("右"));
        auto boxLayout = new QVBoxLayout(box);
        SideLabel[side] = new QLabel(QStringLiteral("（まだ選ばれていません）"));
        SideLabel[side]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        // Machine and file names are text, never markup.
        SideLabel[side]->setTextFormat(Qt::PlainText);
        boxLayout->addWidget(SideLabel[side]);
        auto buttons = new QHBoxLayout;
        MachineButton[side] = new QPushButton(QStringLiteral("このコンピュータ"));
        FileButton[side] = new QPushButton(QStringLiteral("フォント名比較ファイルを開く..."));
        DetailsButton[side] = new QPushButton(QStringLiteral("詳しいフォント構成を開く..."));
        buttons->addWidget(MachineButton[side]);
        buttons->addWidget(FileButton[side]);
        buttons->addStretch();
        boxLayout->addLayout(buttons);
        auto moreButtons = new QHBoxLayout;
        moreButtons->addWidget(DetailsButton[side]);
        moreButtons->addStretch();
        boxLayout->addLayout(moreButtons);
        sides->addWidget(box, 1);
        connect(MachineButton[side], &QPushButton::clicked, this, [this, side] { showMachine(side); });
        connect(FileButton[side], &QPushButton::clicked, this, [this, side] { chooseFile(side); });
        connect(DetailsButton[side], &QPushButton::clicked, this, [this, side] { chooseDetails(side); });
    }
    layout->addLayout(sides);

    Summary = new QLabel;
    Summary->setWordWrap(true);
    layout->addWidget(Summary);

    Pages = new QStackedWidget;
    Groups = new QTabWidget;
    for (std::size_t group = 0; group < Lists.size(); ++group) {
        m_models[group] = new InventoryModel(this);
        Lists[group] = newList(m_models[group], {260, 130, 130});
        Groups->addTab(Lists[group], shortTitle(InventoryGroups[group]));
        Groups->setTabToolTip(int(group), GroupTitle(InventoryGroups[group]));
    }
    Pages->addWidget(Groups);
    IdentityTabs = new QTabWidget;
    for (std::size_t group = 0; group < IdentityLists.size(); ++group) {
        m_identityModels[group] = new IdentityModel(this);
        IdentityLists[group] = newList(m_identityModels[group], {240, 120, 120, 80});
        IdentityTabs->addTab(IdentityLists[group], shortTitle(IdentityGroups[group]));
        IdentityTabs->setTabToolTip(int(group), IdentityGroupTitle(IdentityGroups[group]));
    }
    // Every group in sight: the one that matters most is never scrolled
    // away behind an arrow.
    IdentityTabs->setUsesScrollButtons(false);
    Pages->addWidget(IdentityTabs);
    layout->addWidget(Pages, 1);

    auto actions = new QHBoxLayout;
    MachinesButton = new QPushButton(QStringLiteral("複数のコンピュータを比較..."));
    actions->addWidget(MachinesButton);
    connect(MachinesButton, &QPushButton::clicked, this, [this] { chooseMachines(); });
    actions->addStretch();
    SaveButton = new QPushButton(QStringLiteral("CSV で保存..."));
    PrintButton = new QPushButton(QStringLiteral("印刷..."));
    actions->addWidget(SaveButton);
    actions->addWidget(PrintButton);
    layout->addLayout(actions);
    connect(SaveButton, &QPushButton::clicked, this, [this] {
        if (byIdentity())
            emit saveRequested(m_identityTable, QStringLiteral("フォント構成の比較.csv"));
        else if (compared())
            emit saveRequested(InventoryTable(m_inventory, *m_sets[Left], *m_sets[Right]),
                               QStringLiteral("フォント構成の比較.csv"));
    });
    connect(PrintButton, &QPushButton::clicked, this, [this] {
        if (byIdentity()) {
            emit printRequested(IdentityLines(m_identity, title(Left), title(Right)));
        } else if (compared()) {
            QStringList lines = InventoryLines(m_inventory, *m_sets[Left], *m_sets[Right]);
            // As the command-line tool prints it: the note under the heading.
            if (const QString note = sizesOnlyNote(); !note.isEmpty())
                lines.insert(1, note);
            emit printRequested(lines);
        }
    });
    compare();
}

InventoryWindow::~InventoryWindow()
{
    // The views outlive the inventory while the widget base class closes
    // them, and may ask for rows meanwhile.
    for (InventoryModel* model : m_models)
        model->setEntries(nullptr);
    for (IdentityModel* model : m_identityModels)
        model->setRows(nullptr, 0, 0);
}

QSize InventoryWindow::sizeHint() const
{
    return QWidget::sizeHint().expandedTo(QSize(760, 520));
}

void InventoryWindow::setMachineDetails(std::function<std::optional<DetailedInventory>()> machineDetails)
{
    m_machineDetails = std::move(machineDetails);
}

void InventoryWindow::showMachine(Side side)
{
    // Against a detailed inventory this computer is read in detail too.
    std::optional<DetailedInventory> details;
    if (m_machineDetails && fileDetailed(Side(1 - side))) {
        details = m_machineDetails();
        if (!details)
            return;
    }
    place(side, m_machineSet(), std::move(details), true);
}

void InventoryWindow::chooseFile(Side side)
{
    // The File menu's own dialog for reading a comparison file.
    const std::optional<QString> chosen = m_dialogs.openFile(FileCommands::dialogRequest(5, m_settings));
    if (chosen && !chosen->isEmpty())
        readFile(side, *chosen);
}

void InventoryWindow::chooseDetails(Side side)
{
    const platform::FileDialogRequest request{QStringLiteral("詳しいフォント構成を開く"), InventoryFilter,
                                              m_lastDetailsFile, FileMustExist, {}};
    const std::optional<QString> chosen = m_dialogs.openFile(request);
    if (chosen && !chosen->isEmpty()) {
        m_lastDetailsFile = *chosen;
        readFile(side, *chosen);
    }
}

bool InventoryWindow::readFile(Side side, const QString& path)
{
    // A detailed inventory is told by its bytes, whichever button chose it;
    // anything else is read as a comparison file, as it always was.
    InventoryFile details = ReadInventoryFile(path);
    if (details.status == InventoryFile::Status::Damaged) {
        m_dialogs.messageBox(QStringLiteral("ファイル「") + path + QStringLiteral("」") + details.error,
                             platform::MbCritical, MessageTitle);
        return false;
    }
    if (details.status == InventoryFile::Status::Read) {
        const QString title = InventoryTitle(*details.inventory, QFileInfo(path).fileName());
        FontSet set = FontSetOf(*details.inventory, title);
        place(side, std::move(set), std::move(details.inventory), false);
        return true;
    }
    FontSetFile file = ReadFontSetFile(path);
    switch (file.status) {
    case FontSetFile::Status::Unreadable:
        m_dialogs.messageBox(QStringLiteral("ファイル「") + path + QStringLiteral("」を読み込めませんでした。\r\r")
                                 + file.reason,
                             platform::MbCritical, MessageTitle);
        return false;
    case FontSetFile::Status::NotComparisonFile:
    case FontSetFile::Status::Damaged:
        ShowMessage(m_dialogs, MessageFileDamaged);
        return false;
    case FontSetFile::Status::Cut:
        // As the comparison window does: the records before the cut are
        // shown, and the user is told the file is not whole.
        ShowMessage(m_dialogs, MessageFileDamaged);
        break;
    case FontSetFile::Status::Read:
        break;
    }
    setSide(side, FontSet{QFileInfo(path).fileName(), std::move(file.names), std::move(file.sizes)});
    return true;
}

void InventoryWindow::setSide(Side side, FontSet set)
{
    place(side, std::move(set), std::nullopt, false);
}

MachineReportWindow* InventoryWindow::chooseMachines()
{
    const platform::FileDialogRequest request{QStringLiteral("比べるコンピュータの詳しいフォント構成を選ぶ（複数選べます）"),
                                              InventoryFilter, m_lastDetailsFile, FileMustExist, {}};
    const std::optional<QStringList> chosen = m_dialogs.openFiles(request);
    if (!chosen || chosen->isEmpty())
        return nullptr;
    m_lastDetailsFile = chosen->constFirst();
    if (chosen->size() < 2) {
        m_dialogs.messageBox(QStringLiteral("複数のコンピュータを比べるには、詳しいフォント構成ファイルを 2 つ以上選んでください。"),
                             platform::MbInformation, MessageTitle);
        return nullptr;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MachineInventories read = ReadMachineInventories(*chosen);
    QApplication::restoreOverrideCursor();
    if (!read.error.isEmpty()) {
        m_dialogs.messageBox(read.error, platform::MbCritical, MessageTitle);
        return nullptr;
    }
    auto window = new MachineReportWindow(std::move(read.inventories), std::move(read.titles));
    emit machineReportOpened(window);
    if (!window->parent()) {
        window->setParent(this, Qt::Window);
        window->show();
    }
    return window;
}

void InventoryWindow::place(Side side, FontSet set, std::optional<DetailedInventory> details, bool machine)
{
    m_sets[side] = std::move(set);
    m_details[side] = std::move(details);
    m_machine[side] = machine;
    // This computer's side is read in detail while, and only while, the
    // other side is a detailed inventory; else it is its names and sizes,
    // as before there were detailed inventories.
    const Side other = Side(1 - side);
    if (m_machine[other] && m_sets[other]) {
        if (!fileDetailed(side))
            m_details[other].reset();
        else if (!m_details[other] && m_machineDetails)
            m_details[other] = m_machineDetails();
    }
    for (const Side each : {Left, Right}) {
        if (!m_sets[each])
            continue;
        if (m_details[each])
            SideLabel[each]->setText(m_sets[each]->title + QStringLiteral("\n詳しいフォント構成: ")
                                     + NumberText(m_details[each]->faces.size()) + QStringLiteral(" 書体、フォント名 ")
                                     + NumberText(m_sets[each]->names.size()) + QStringLiteral(" 個"));
        else
            SideLabel[each]->setText(m_sets[each]->title + QStringLiteral("（") + countText(m_sets[each]->names.size())
                                     + QStringLiteral("）"));
    }
    compare();
}

void InventoryWindow::compare()
{
    for (InventoryModel* model : m_models)
        model->setEntries(nullptr);
    for (IdentityModel* model : m_identityModels)
        model->setRows(nullptr, 0, 0);
    const bool identity = byIdentity();
    m_inventory = compared() && !identity ? CompareFontSets(*m_sets[Left], *m_sets[Right]) : Inventory{};
    m_identity = identity ? CompareByIdentity(*m_details[Left], *m_details[Right]) : IdentityComparison{};
    m_identityTable = identity ? IdentityTable(m_identity, title(Left), title(Right)) : QList<QStringList>{};
    for (std::size_t group = 0; group < m_models.size(); ++group) {
        const QList<InventoryEntry>& entries = EntriesOf(m_inventory, InventoryGroups[group]);
        m_models[group]->setEntries(&entries);
        Groups->setTabText(int(group), shortTitle(InventoryGroups[group]) + QStringLiteral("（")
                                           + NumberText(entries.size()) + QStringLiteral(" 個）"));
    }
    // The table holds the groups one after another, in the tabs' order,
    // below its heading row.
    qsizetype first = 1;
    int shown = -1;
    for (std::size_t group = 0; group < m_identityModels.size(); ++group) {
        const qsizetype count = m_identity.entries(IdentityGroups[group]).size();
        m_identityModels[group]->setRows(&m_identityTable, first, count);
        first += count;
        IdentityTabs->setTabText(int(group), shortTitle(IdentityGroups[group]) + QStringLiteral("（")
                                                 + NumberText(count) + QStringLiteral(" 書体）"));
        if (shown < 0 && count > 0)
            shown = int(group);
    }
    IdentityTabs->tabBar()->setTabTextColor(
        0, m_identity.entries(IdentityGroup::FormsDiffer).isEmpty() ? QColor() : WarningColor);
    Pages->setCurrentWidget(identity ? IdentityTabs : Groups);
    // The first group that holds anything, the glyph forms before all.
    if (identity)
        IdentityTabs->setCurrentIndex(std::max(shown, 0));

    SaveButton->setEnabled(compared());
    PrintButton->setEnabled(compared());
    // The warning that glyph forms differ is read before anything else.
    QPalette palette = Summary->palette();
    palette.setColor(QPalette::WindowText, identity && !m_identity.entries(IdentityGroup::FormsDiffer).isEmpty()
                                               ? WarningColor
                                               : this->palette().color(QPalette::WindowText));
    Summary->setPalette(palette);
    if (!compared()) {
        Summary->setText(QStringLiteral("左と右に、このコンピュータかフォント名比較ファイルを選んでください。"));
    } else if (identity) {
        Summary->setText(summaryByIdentity());
    } else {
        QString text = m_inventory.identical() ? QStringLiteral("左と右のフォント構成は同じです。")
                                               : QStringLiteral("左と右のフォント構成に違いがあります。");
        if (!m_inventory.identical() && !m_inventory.sizeDiffers.isEmpty())
            text += QStringLiteral("同じ名前でファイルサイズが違うフォントは、別の版である可能性が高く、"
                                   "文字の幅や字形が違うことがあります。");
        Summary->setText(text + sizesOnlyNote());
    }
}

QString InventoryWindow::summaryByIdentity() const
{
    QString text;
    // What a print shop fears most comes first: a font that kept its name
    // and changed its glyphs prints otherwise than the proof did.
    if (const qsizetype forms = m_identity.entries(IdentityGroup::FormsDiffer).size(); forms > 0)
        text += QStringLiteral("注意: 名前は同じでも、JIS90 と JIS2004 で字形が違うフォントが %1 書体あります。"
                               "辻・葛・飴など 168 字の形が変わるので、校正刷りと本番の印刷が違ってしまいます。")
                    .arg(NumberText(forms));
    if (m_identity.identical())
        return text + QStringLiteral("左と右のフォント構成は同じです（ファイルの中身まで同じです）。");
    text += QStringLiteral("左と右のフォント構成に違いがあります（ファイルの中身で比べました）。");
    if (!m_identity.entries(IdentityGroup::OtherVersion).isEmpty())
        text += QStringLiteral("別の版のフォントは、文字の幅や字形が違うことがあり、行送りや改ページが変わることがあります。");
    if (!m_identity.entries(IdentityGroup::OtherBytes).isEmpty())
        text += QStringLiteral("同じ版で中身が違うフォントは、作り直されたか、手を加えられたものです。");
    return text;
}

QString InventoryWindow::sizesOnlyNote() const
{
    if (!compared() || byIdentity() || (!m_details[Left] && !m_details[Right]))
        return {};
    const Side plain = m_details[Left] ? Right : Left;
    if (m_machine[plain])
        return QStringLiteral("このコンピュータはフォントファイルの中身まで読み込んでいないので、"
                              "名前とファイルサイズだけで比べました。")
               + (m_machineDetails ? QStringLiteral("「このコンピュータ」を押し直すと、ファイルの中身で比べます。") : QString());
    return QStringLiteral("片方がフォント比較用ファイル（.gfc）なので、名前とファイルサイズだけで比べました。"
                          "版や字形の違いは、両方を詳しいフォント構成ファイルにすると分かります。");
}
