#pragma once

#include "comparison/Inventory.h"
#include "core/Settings.h"
#include "platform/Dialogs.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTreeView;
class InventoryModel;

// The inventory report: two font sets side by side, each this computer or a
// comparison file, in four groups with their counts.
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

    void showMachine(Side side);
    // Asks for a comparison file for the side and reads it.
    void chooseFile(Side side);
    // Reads a comparison file into the side; false (the reason shown) when
    // it cannot be compared. A cut file keeps its complete records.
    bool readFile(Side side, const QString& path);
    void setSide(Side side, FontSet set);

    const Inventory& inventory() const { return m_inventory; }
    bool compared() const { return m_sets[Left].has_value() && m_sets[Right].has_value(); }
    const FontSet* set(Side side) const { return m_sets[side] ? &*m_sets[side] : nullptr; }

    std::array<QLabel*, 2> SideLabel{};
    std::array<QPushButton*, 2> MachineButton{};
    std::array<QPushButton*, 2> FileButton{};
    QLabel* Summary = nullptr;
    QTabWidget* Groups = nullptr;
    // Only left, only right, size differs, the same.
    std::array<QTreeView*, 4> Lists{};
    QPushButton* SaveButton = nullptr;
    QPushButton* PrintButton = nullptr;

signals:
    void printRequested(const QStringList& lines);
    void saveRequested(const QList<QStringList>& rows, const QString& fileName);

private:
    void compare();

    std::function<const FontSet&()> m_machineSet;
    platform::Dialogs& m_dialogs;
    const Settings& m_settings;
    std::array<std::optional<FontSet>, 2> m_sets;
    Inventory m_inventory;
    std::array<InventoryModel*, 4> m_models{};
};
