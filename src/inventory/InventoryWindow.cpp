#include "inventory/InventoryWindow.h"

#include "catalog/OneLineText.h"
#include "catalog/SizeText.h"
#include "core/Messages.h"
#include "desktop/ProgramIcon.h"
#include "files/FileCommands.h"
#include "formats/FontNameFiles.h"

#include <QAbstractTableModel>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

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
        boxLayout->addWidget(SideLabel[side]);
        auto buttons = new QHBoxLayout;
        MachineButton[side] = new QPushButton(QStringLiteral("このコンピュータ"));
        FileButton[side] = new QPushButton(QStringLiteral("フォント名比較ファイルを開く..."));
        buttons->addWidget(MachineButton[side]);
        buttons->addWidget(FileButton[side]);
        buttons->addStretch();
        boxLayout->addLayout(buttons);
        sides->addWidget(box, 1);
        connect(MachineButton[side], &QPushButton::clicked, this, [this, side] { showMachine(side); });
        connect(FileButton[side], &QPushButton::clicked, this, [this, side] { chooseFile(side); });
    }
    layout->addLayout(sides);

    Summary = new QLabel;
    Summary->setWordWrap(true);
    layout->addWidget(Summary);

    Groups = new QTabWidget;
    for (std::size_t group = 0; group < Lists.size(); ++group) {
        m_models[group] = new InventoryModel(this);
        Lists[group] = new QTreeView;
        Lists[group]->setRootIsDecorated(false);
        Lists[group]->setUniformRowHeights(true);
        Lists[group]->setAlternatingRowColors(true);
        Lists[group]->setModel(m_models[group]);
        Lists[group]->header()->setStretchLastSection(true);
        Lists[group]->setColumnWidth(0, 260);
        Lists[group]->setColumnWidth(1, 130);
        Lists[group]->setColumnWidth(2, 130);
        Groups->addTab(Lists[group], shortTitle(InventoryGroups[group]));
        Groups->setTabToolTip(int(group), GroupTitle(InventoryGroups[group]));
    }
    layout->addWidget(Groups, 1);

    auto actions = new QHBoxLayout;
    actions->addStretch();
    SaveButton = new QPushButton(QStringLiteral("CSV で保存..."));
    PrintButton = new QPushButton(QStringLiteral("印刷..."));
    actions->addWidget(SaveButton);
    actions->addWidget(PrintButton);
    layout->addLayout(actions);
    connect(SaveButton, &QPushButton::clicked, this, [this] {
        if (compared())
            emit saveRequested(InventoryTable(m_inventory, *m_sets[Left], *m_sets[Right]),
                               QStringLiteral("フォント構成の比較.csv"));
    });
    connect(PrintButton, &QPushButton::clicked, this, [this] {
        if (compared())
            emit printRequested(InventoryLines(m_inventory, *m_sets[Left], *m_sets[Right]));
    });
    compare();
}

InventoryWindow::~InventoryWindow()
{
    // The views outlive the inventory while the widget base class closes
    // them, and may ask for rows meanwhile.
    for (InventoryModel* model : m_models)
        model->setEntries(nullptr);
}

QSize InventoryWindow::sizeHint() const
{
    return QWidget::sizeHint().expandedTo(QSize(760, 520));
}

void InventoryWindow::showMachine(Side side)
{
    setSide(side, m_machineSet());
}

void InventoryWindow::chooseFile(Side side)
{
    // The File menu's own dialog for reading a comparison file.
    const std::optional<QString> chosen = m_dialogs.openFile(FileCommands::dialogRequest(5, m_settings));
    if (chosen && !chosen->isEmpty())
        readFile(side, *chosen);
}

bool InventoryWindow::readFile(Side side, const QString& path)
{
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
    SideLabel[side]->setText(set.title + QStringLiteral("（") + countText(set.names.size()) + QStringLiteral("）"));
    m_sets[side] = std::move(set);
    compare();
}

void InventoryWindow::compare()
{
    for (InventoryModel* model : m_models)
        model->setEntries(nullptr);
    m_inventory = compared() ? CompareFontSets(*m_sets[Left], *m_sets[Right]) : Inventory{};
    for (std::size_t group = 0; group < m_models.size(); ++group) {
        const QList<InventoryEntry>& entries = EntriesOf(m_inventory, InventoryGroups[group]);
        m_models[group]->setEntries(&entries);
        Groups->setTabText(int(group), shortTitle(InventoryGroups[group]) + QStringLiteral("（")
                                           + NumberText(entries.size()) + QStringLiteral(" 個）"));
    }
    SaveButton->setEnabled(compared());
    PrintButton->setEnabled(compared());
    if (!compared()) {
        Summary->setText(QStringLiteral("左と右に、このコンピュータかフォント名比較ファイルを選んでください。"));
    } else if (m_inventory.identical()) {
        Summary->setText(QStringLiteral("左と右のフォント構成は同じです。"));
    } else {
        QString text = QStringLiteral("左と右のフォント構成に違いがあります。");
        if (!m_inventory.sizeDiffers.isEmpty())
            text += QStringLiteral("同じ名前でファイルサイズが違うフォントは、別の版である可能性が高く、"
                                   "文字の幅や字形が違うことがあります。");
        Summary->setText(text);
    }
}
