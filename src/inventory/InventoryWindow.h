#pragma once

#include "comparison/Inventory.h"
#include "core/Settings.h"
#include "identity/DetailedInventory.h"
#include "identity/IdentityComparison.h"
#include "inventory/MachineReportWindow.h"
#include "platform/Dialogs.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTreeView;
class IdentityModel;
class InventoryModel;

// The inventory report: two font sets side by side, each this computer, a
// comparison file or a detailed inventory, in four groups by name and size
// with their counts; in six groups by what the files hold when both sides
// are detailed.
class InventoryWindow : public QWidget {
    Q_OBJECT

public:
    enum Side { Left = 0, Right = 1 };
    // machineSet gives this computer's fonts; it is asked when a side first
    // shows them. Files are asked for as the File menu asks for one.
    InventoryWindow(std::function<const FontSet&()> machineSet, platform::Dialogs& dialogs, const Settings& settings,
                    QWidget* parent = nullptr);
    ~InventoryWindow() override;

    QSize sizeHint() const override;

    // This computer's detailed inventory, for a side facing a detailed
    // one; nullopt when the user stopped the reading. Without it this
    // computer is compared by names and sizes.
    void setMachineDetails(std::function<std::optional<DetailedInventory>()> machineDetails);

    void showMachine(Side side);
    // Asks for a comparison file for the side and reads it.
    void chooseFile(Side side);
    // Asks for a detailed inventory for the side and reads it.
    void chooseDetails(Side side);
    // Reads a comparison file or a detailed inventory into the side; false
    // (the reason shown) when it cannot be compared. A cut comparison file
    // keeps its complete records.
    bool readFile(Side side, const QString& path);
    void setSide(Side side, FontSet set);
    // Asks for many detailed inventories and opens their report; nullptr
    // (the reason shown) when one cannot be used.
    MachineReportWindow* chooseMachines();

    const Inventory& inventory() const { return m_inventory; }
    const IdentityComparison& identity() const { return m_identity; }
    bool compared() const { return m_sets[Left].has_value() && m_sets[Right].has_value(); }
    // Both sides detailed: compared by what the font files hold.
    bool byIdentity() const { return compared() && m_details[Left] && m_details[Right]; }
    const FontSet* set(Side side) const { return m_sets[side] ? &*m_sets[side] : nullptr; }
    const DetailedInventory* details(Side side) const { return m_details[side] ? &*m_details[side] : nullptr; }

    std::array<QLabel*, 2> SideLabel{};
    std::array<QPushButton*, 2> MachineButton{};
    std::array<QPushButton*, 2> FileButton{};
    std::array<QPushButton*, 2> DetailsButton{};
    QLabel* Summary = nullptr;
    QStackedWidget* Pages = nullptr;
    QTabWidget* Groups = nullptr;
    // Only left, only right, size differs, the same.
    std::array<QTreeView*, 4> Lists{};
    QTabWidget* IdentityTabs = nullptr;
    // In IdentityGroups order.
    std::array<QTreeView*, std::size(IdentityGroups)> IdentityLists{};
    QPushButton* MachinesButton = nullptr;
    QPushButton* SaveButton = nullptr;
    QPushButton* PrintButton = nullptr;

signals:
    void printRequested(const QStringList& lines);
    void saveRequested(const QList<QStringList>& rows, const QString& fileName);
    // A report of many machines, made without a parent: a receiver that
    // places it takes it; else it opens on its own, owned by this window.
    void machineReportOpened(MachineReportWindow* window);

private:
    void place(Side side, FontSet set, std::optional<DetailedInventory> details, bool machine);
    bool fileDetailed(Side side) const { return m_details[side] && !m_machine[side]; }
    void compare();
    QString summaryByIdentity() const;
    // Why a side's details went unused: said with the names-and-sizes summary.
    QString sizesOnlyNote() const;
    QString title(Side side) const { return m_sets[side]->title; }

    std::function<const FontSet&()> m_machineSet;
    std::function<std::optional<DetailedInventory>()> m_machineDetails;
    platform::Dialogs& m_dialogs;
    const Settings& m_settings;
    std::array<std::optional<FontSet>, 2> m_sets;
    std::array<std::optional<DetailedInventory>, 2> m_details;
    std::array<bool, 2> m_machine{};
    QString m_lastDetailsFile;
    Inventory m_inventory;
    IdentityComparison m_identity;
    QList<QStringList> m_identityTable;
    std::array<InventoryModel*, 4> m_models{};
    std::array<IdentityModel*, std::size(IdentityGroups)> m_identityModels{};
};
