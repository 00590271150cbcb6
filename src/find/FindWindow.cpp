#include "find/FindWindow.h"

#include "catalog/FontGrouping.h"
#include "catalog/SizeText.h"
#include "desktop/DrawingFonts.h"
#include "desktop/MissingGlyphs.h"
#include "desktop/ProgramIcon.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

constexpr int SamplePixels = 22;
constexpr int RowPadding = 4;

} // namespace

// The found fonts as list rows; the display text is the shown name, so that
// typing in the list finds a font as in every other list of fonts.
class FoundFontsModel : public QAbstractListModel {
public:
    enum Role { OtherNamesRole = Qt::UserRole, GroupRole, LackingRole, SampleRole, PositionRole };

    FoundFontsModel(const QStringList& fontNames, const Settings& settings, FontFinder& finder, QObject* parent)
        : QAbstractListModel(parent)
        , m_fontNames(fontNames)
        , m_settings(settings)
        , m_finder(finder)
    {
    }

    void setFound(QList<FoundFont> found, const QString& text)
    {
        beginResetModel();
        m_found = std::move(found);
        m_text = text;
        endResetModel();
    }

    const FoundFont& at(int row) const { return m_found.at(row); }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_found.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_found.size())
            return {};
        const FoundFont& found = m_found.at(index.row());
        const QString& name = m_fontNames.at(found.position);
        switch (role) {
        case Qt::DisplayRole:
            return name;
        case OtherNamesRole:
            return m_finder.otherNamesOf(found.position);
        case GroupRole:
            return QStringLiteral("インデックス ") + IndexLabelOf(FontGroupOf(name));
        case LackingRole:
            return found.lacking;
        case SampleRole:
            // The text to look for where there is one, else what the preview shows.
            if (!m_text.trimmed().isEmpty())
                return m_text;
            return m_settings.PreviewText == 1 ? m_settings.PreviewTextStrings : name;
        case PositionRole:
            return found.position;
        default:
            return {};
        }
    }

private:
    const QStringList& m_fontNames;
    const Settings& m_settings;
    FontFinder& m_finder;
    QList<FoundFont> m_found;
    QString m_text;
};

namespace {

// Two lines a font: its names, index group and missing characters, then a
// sample drawn in the font's own glyphs.
class FoundFontDelegate : public QStyledItemDelegate {
public:
    FoundFontDelegate(platform::FontList& fonts, QObject* parent)
        : QStyledItemDelegate(parent)
        , m_fonts(fonts)
    {
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), option.fontMetrics.height() + SamplePixels * 3 / 2 + 2 * RowPadding};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        QApplication::style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);

        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = option.palette;
        const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        const QRect area = option.rect.adjusted(RowPadding, RowPadding, -RowPadding, -RowPadding);
        const int lineHeight = option.fontMetrics.height();
        painter->save();

        const QString group = index.data(FoundFontsModel::GroupRole).toString();
        const int groupWidth = option.fontMetrics.horizontalAdvance(group) + RowPadding;
        QString title = index.data(Qt::DisplayRole).toString();
        if (const QString others = index.data(FoundFontsModel::OtherNamesRole).toString(); !others.isEmpty())
            title += QStringLiteral(" (") + others + QLatin1Char(')');
        const QString lacking = index.data(FoundFontsModel::LackingRole).toString();
        const QString lackingText = LackingText(lacking);
        const int lackingWidth = lacking.isEmpty() ? 0 : option.fontMetrics.horizontalAdvance(lackingText) + 2 * RowPadding;

        painter->setPen(text);
        const QRect titleRect(area.left(), area.top(), area.width() - groupWidth - lackingWidth, lineHeight);
        painter->drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter,
                          option.fontMetrics.elidedText(title, Qt::ElideRight, titleRect.width()));
        if (!lacking.isEmpty()) {
            painter->setPen(selected ? text : QColor(0xB0, 0x00, 0x00));
            painter->drawText(QRect(titleRect.right() + RowPadding, area.top(), lackingWidth, lineHeight),
                              Qt::AlignLeft | Qt::AlignVCenter, lackingText);
        }
        painter->setPen(selected ? text : palette.color(QPalette::PlaceholderText));
        painter->drawText(QRect(area.right() - groupWidth, area.top(), groupWidth, lineHeight),
                          Qt::AlignRight | Qt::AlignVCenter, group);

        // Only the rows in sight reach here, so only their fonts are made drawable.
        QFont sample(m_fonts.drawingFamily(index.data(Qt::DisplayRole).toString()));
        sample.setPixelSize(SamplePixels);
        sample.setStyleStrategy(QFont::NoFontMerging);
        painter->setPen(text);
        painter->setClipRect(QRect(area.left(), area.top() + lineHeight, area.width(), area.height() - lineHeight));
        const QString shown = index.data(FoundFontsModel::SampleRole).toString().section(QLatin1Char('\n'), 0, 0);
        platform::drawTextMarkingMissing(*painter, sample, shown, QPointF(area.left(), area.top() + lineHeight + 2));
        painter->restore();
    }

private:
    platform::FontList& m_fonts;
};

} // namespace

FindWindow::FindWindow(const QStringList& fontNames, const Settings& settings, platform::FontList& fonts,
                       QWidget* parent)
    : QWidget(parent)
    , m_finder(fontNames, fonts)
{
    setWindowTitle(QStringLiteral("フォント検索"));
    setWindowIcon(platform::programIcon());
    m_model = new FoundFontsModel(fontNames, settings, m_finder, this);
    createControls();
    Results->setItemDelegate(new FoundFontDelegate(fonts, Results));
    // After the drawing code lets go of the fonts it gathered, the rows in
    // sight ask for theirs again.
    platform::redrawAfterRelease(this, [this] { Results->viewport()->update(); });
    refresh();
}

FindWindow::~FindWindow() = default;

QSize FindWindow::sizeHint() const
{
    return {560, 440};
}

void FindWindow::createControls()
{
    NameField = new QLineEdit(this);
    NameField->setPlaceholderText(QStringLiteral("名前の一部 (例: ごしっく、gothic)"));
    NameField->setClearButtonEnabled(true);
    TextField = new QLineEdit(this);
    TextField->setPlaceholderText(QStringLiteral("例: 髙橋 𠮷野家"));
    TextField->setClearButtonEnabled(true);
    LackingCheck = new QCheckBox(QStringLiteral("一部の文字が足りないフォントも表示"), this);

    Results = new QListView(this);
    Results->setModel(m_model);
    Results->setUniformItemSizes(true);
    Results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Results->setSelectionMode(QAbstractItemView::SingleSelection);
    Results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    CountLabel = new QLabel(this);
    ReasonLabel = new QLabel(this);
    ReasonLabel->setTextFormat(Qt::PlainText);
    ReasonLabel->setWordWrap(true);
    ReasonLabel->hide();

    auto fields = new QFormLayout;
    fields->addRow(QStringLiteral("フォント名:"), NameField);
    fields->addRow(QStringLiteral("この文字を含むフォント:"), TextField);
    fields->addRow(QString(), LackingCheck);
    auto layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(Results, 1);
    layout->addWidget(ReasonLabel);
    layout->addWidget(CountLabel);
    // Typing goes to the name field whenever the window takes the focus.
    setFocusProxy(NameField);

    connect(NameField, &QLineEdit::textChanged, this, &FindWindow::refresh);
    connect(TextField, &QLineEdit::textChanged, this, &FindWindow::refresh);
    connect(LackingCheck, &QCheckBox::toggled, this, &FindWindow::refresh);
    // A double-click or Enter on a font.
    connect(Results, &QListView::activated, this, &FindWindow::openCurrent);
}

void FindWindow::setText(const QString& text)
{
    TextField->setText(text);
}

int FindWindow::positionAt(int row) const
{
    return row >= 0 && row < m_model->rowCount() ? m_model->at(row).position : -1;
}

QString FindWindow::lackingAt(int row) const
{
    return row >= 0 && row < m_model->rowCount() ? m_model->at(row).lacking : QString();
}

void FindWindow::refresh()
{
    const LackingFonts lacking = LackingCheck->isChecked() ? LackingFonts::Listed : LackingFonts::Hidden;
    QList<FoundFont> found = m_finder.find(NameField->text(), TextField->text(), lacking);
    const qsizetype complete = std::count_if(found.cbegin(), found.cend(), [](const FoundFont& f) { return f.lacking.isEmpty(); });
    m_model->setFound(std::move(found), TextField->text());
    QString count = QStringLiteral("総数: ") + NumberText(complete) + QStringLiteral(" 個");
    if (lacking == LackingFonts::Listed)
        count += QStringLiteral("　一部の文字が足りない: ") + NumberText(m_model->rowCount() - complete) + QStringLiteral(" 個");
    CountLabel->setText(count);
    const QString reason = m_model->rowCount() > 0 ? QString()
                                                   : m_finder.whyNothing(NameField->text(), TextField->text(), lacking);
    ReasonLabel->setText(reason);
    ReasonLabel->setVisible(!reason.isEmpty());
    if (m_model->rowCount() > 0)
        Results->setCurrentIndex(m_model->index(0));
}

void FindWindow::openCurrent()
{
    const int position = positionAt(Results->currentIndex().row());
    if (position >= 0)
        emit openViewAt(position, TextField->text().trimmed());
}
