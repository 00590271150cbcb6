#include "inventory/MachineReportWindow.h"

#include "catalog/OneLineText.h"
#include "catalog/SizeText.h"
#include "desktop/ProgramIcon.h"

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QColor>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The colours of the saved page, so that the window and the page read
// alike; the words say the same, for whoever cannot tell the colours apart.
struct StateLook {
    QColor background;
    QColor text;
    const char16_t* meaning;
};

StateLook lookOf(MachineReportCell::State state)
{
    switch (state) {
    case MachineReportCell::OtherForms:
        return {QColor(0xfb, 0xe0, 0xe0), QColor(0x7a, 0x0c, 0x0c),
                u"JIS90 と JIS2004 で字形が違う（名前は同じでも印刷が変わります）"};
    case MachineReportCell::OtherVersion:
        return {QColor(0xff, 0xe8, 0xcc), QColor(0x6b, 0x3a, 0x00), u"版が違う"};
    case MachineReportCell::OtherBytes:
        return {QColor(0xff, 0xf6, 0xc2), QColor(0x59, 0x47, 0x00), u"版の表示は同じでも中身が違う"};
    case MachineReportCell::Missing:
        return {QColor(0xe9, 0xe9, 0xef), QColor(0x4a, 0x4a, 0x55), u"このコンピュータにはない"};
    case MachineReportCell::Agrees:
        break;
    }
    return {QColor(0xff, 0xff, 0xff), QColor(0x2d, 0x4a, 0x2d), u"多くのコンピュータと同じファイル"};
}

constexpr int FixedColumns = 2; // the font and the version most machines hold

} // namespace

// The report's rows with the words the CSV file gives each cell.
class MachineReportModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setReport(const MachineReport* report)
    {
        beginResetModel();
        m_report = report;
        m_words = report ? MachineReportCsv(*report) : QList<QStringList>{};
        endResetModel();
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || !m_report ? 0 : int(m_report->rows.size());
    }
    int columnCount(const QModelIndex& parent) const override
    {
        return parent.isValid() || !m_report ? 0 : FixedColumns + int(m_report->machines.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_report || !index.isValid() || index.row() + 1 >= m_words.size())
            return {};
        const QString& words = m_words.at(index.row() + 1).at(index.column());
        if (index.column() < FixedColumns) {
            if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
                return index.column() == 0 ? OneLineText(words) : words;
            return {};
        }
        const MachineReportCell& cell = m_report->rows.at(index.row()).cells.at(index.column() - FixedColumns);
        const StateLook look = lookOf(cell.state);
        switch (role) {
        case Qt::DisplayRole:
            return words;
        case Qt::ToolTipRole:
            return m_report->machines.at(index.column() - FixedColumns) + QStringLiteral(": ")
                   + QString::fromUtf16(look.meaning) + QStringLiteral("\n") + words;
        case Qt::BackgroundRole:
            return cell.state == MachineReportCell::Agrees ? QVariant() : QVariant(look.background);
        case Qt::ForegroundRole:
            return cell.state == MachineReportCell::Agrees ? QVariant() : QVariant(look.text);
        default:
            return {};
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || m_words.isEmpty() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
            return {};
        return OneLineText(m_words.first().value(section));
    }

private:
    const MachineReport* m_report = nullptr;
    QList<QStringList> m_words;
};

MachineReportWindow::MachineReportWindow(QList<DetailedInventory> inventories, QStringList titles, QWidget* parent)
    : QWidget(parent)
    , m_inventories(std::move(inventories))
    , m_titles(std::move(titles))
{
    setWindowTitle(QStringLiteral("複数のコンピュータの比較（%1 台）").arg(NumberText(m_inventories.size())));
    setWindowIcon(platform::programIcon());

    auto layout = new QVBoxLayout(this);
    Summary = new QLabel;
    Summary->setWordWrap(true);
    Summary->setTextFormat(Qt::PlainText);
    Summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(Summary);

    // What each colour means, in the words the cells begin with.
    Legend = new QLabel;
    Legend->setWordWrap(true);
    Legend->setTextFormat(Qt::RichText);
    // Two to a row, each sample beside its meaning, narrow enough for the
    // window's first width.
    const struct {
        MachineReportCell::State state;
        const char16_t* sample;
        const char16_t* meaning;
    } samples[] = {{MachineReportCell::OtherForms, u"字形: …", u"JIS90 と JIS2004 で字形が違う（印刷が変わります）"},
                   {MachineReportCell::OtherBytes, u"中身が違う: …", nullptr},
                   {MachineReportCell::OtherVersion, u"版: …", nullptr},
                   {MachineReportCell::Missing, u"なし", nullptr},
                   {MachineReportCell::Agrees, u"版だけ", nullptr}};
    QString legend = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"2\"><tr>");
    for (std::size_t i = 0; i < std::size(samples); ++i) {
        const StateLook look = lookOf(samples[i].state);
        if (i > 0 && i % 2 == 0)
            legend += QStringLiteral("</tr><tr>");
        const QString sample = samples[i].state == MachineReportCell::Agrees
                                   ? QStringLiteral("&nbsp;%1&nbsp;").arg(QString::fromUtf16(samples[i].sample))
                                   : QStringLiteral("<span style=\"background-color:%1; color:%2\">&nbsp;%3&nbsp;</span>")
                                         .arg(look.background.name(), look.text.name(),
                                              QString::fromUtf16(samples[i].sample));
        legend += QStringLiteral("<td nowrap>%1&nbsp;%2　</td>")
                      .arg(sample, QString::fromUtf16(samples[i].meaning ? samples[i].meaning : look.meaning));
    }
    legend += QStringLiteral("</tr></table>");
    Legend->setText(legend);
    layout->addWidget(Legend);

    m_model = new MachineReportModel(this);
    Table = new QTableView;
    Table->setModel(m_model);
    Table->setAlternatingRowColors(false);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setWordWrap(false);
    Table->setTextElideMode(Qt::ElideMiddle);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    Table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(Table, 1);

    auto actions = new QHBoxLayout;
    ShowAll = new QCheckBox(QStringLiteral("すべて同じフォントも表示"));
    actions->addWidget(ShowAll);
    actions->addStretch();
    CsvButton = new QPushButton(QStringLiteral("CSV で保存..."));
    HtmlButton = new QPushButton(QStringLiteral("HTML で保存..."));
    PrintButton = new QPushButton(QStringLiteral("印刷..."));
    actions->addWidget(CsvButton);
    actions->addWidget(HtmlButton);
    actions->addWidget(PrintButton);
    layout->addLayout(actions);

    connect(ShowAll, &QCheckBox::toggled, this, [this] { build(); });
    connect(CsvButton, &QPushButton::clicked, this,
            [this] { emit saveRequested(MachineReportCsv(m_report), QStringLiteral("複数のコンピュータの比較.csv")); });
    connect(HtmlButton, &QPushButton::clicked, this, [this] {
        const QString now = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        emit htmlSaveRequested(MachineReportHtml(m_report, now), QStringLiteral("複数のコンピュータの比較.html"));
    });
    connect(PrintButton, &QPushButton::clicked, this, [this] { emit printRequested(MachineReportLines(m_report)); });
    build();
}

MachineReportWindow::~MachineReportWindow()
{
    // The view may ask for rows while the widget base class closes it.
    m_model->setReport(nullptr);
}

QSize MachineReportWindow::sizeHint() const
{
    const int columns = 260 + 140 + 170 * int(m_report.machines.size());
    return QWidget::sizeHint().expandedTo(QSize(std::clamp(columns + 40, 760, 1200), 560));
}

void MachineReportWindow::build()
{
    m_model->setReport(nullptr);
    m_report = BuildMachineReport(m_inventories, m_titles, ShowAll->isChecked());
    m_model->setReport(&m_report);
    Summary->setText(MachineReportSummary(m_report).join(u'\n'));
    Legend->setVisible(!m_report.rows.isEmpty());
    Table->setColumnWidth(0, 260);
    Table->setColumnWidth(1, 140);
    for (int column = FixedColumns; column < m_model->columnCount({}); ++column)
        Table->setColumnWidth(column, 170);
}
