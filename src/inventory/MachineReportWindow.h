#pragma once

#include "identity/DetailedInventory.h"
#include "identity/MachineReport.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;
class MachineReportModel;

// Many machines' fonts in one table: a row a font, a column a machine, each
// cell saying in words (and in colour) how the machine's file stands against
// the one most machines hold.
class MachineReportWindow : public QWidget {
    Q_OBJECT

public:
    // titles name the machines whose inventories carry no machine name.
    MachineReportWindow(QList<DetailedInventory> inventories, QStringList titles, QWidget* parent = nullptr);
    ~MachineReportWindow() override;

    QSize sizeHint() const override;
    const MachineReport& report() const { return m_report; }

    QLabel* Summary = nullptr;
    QLabel* Legend = nullptr;
    QTableView* Table = nullptr;
    QCheckBox* ShowAll = nullptr;
    QPushButton* CsvButton = nullptr;
    QPushButton* HtmlButton = nullptr;
    QPushButton* PrintButton = nullptr;

signals:
    void printRequested(const QStringList& lines);
    void saveRequested(const QList<QStringList>& rows, const QString& fileName);
    void htmlSaveRequested(const QByteArray& page, const QString& fileName);

private:
    void build();

    QList<DetailedInventory> m_inventories;
    QStringList m_titles;
    MachineReport m_report;
    MachineReportModel* m_model = nullptr;
};
