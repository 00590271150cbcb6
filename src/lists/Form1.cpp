#include "lists/Form1.h"

#include "catalog/FontFileLookup.h"
#include "lists/FontNameList.h"
#include "lists/FontNameModel.h"
#include "lists/ListWindowLayout.h"
#include "lists/OneLineNameDelegate.h"
#include "lists/PathLabel.h"
#include "catalog/SizeText.h"
#include "lists/TabStopDelegate.h"
#include "desktop/ProgramIcon.h"
#include "platform/TextConversion.h"
#include "platform/Twips.h"
#include "core/RegistryValues.h"

#include <QLabel>
#include <QListWidget>
#include <QStyle>

#include <algorithm>

using platform::twipsToPixels;

namespace {

// The window's outer size less what the frame and title bar take.
constexpr int OuterWidthTwips = 8190;
constexpr int OuterHeightTwips = 6090;
constexpr int FrameWidthTwips = 120;
constexpr int FrameHeightTwips = 420;

// The smallest text the index list shrinks to for very large counts.
constexpr int MinimumIndexPixels = 8;

constexpr int IndexLineSymbols = 0;
constexpr int IndexLineOther = 27;

QChar halfWidthInitial(const QString& text)
{
    if (text.isEmpty())
        return QChar();
    return platform::toHalfWidth(text.left(1)).at(0);
}

} // namespace

Form1::Form1(const FontCatalog& catalog, const FontFileLookup& lookup, QWidget* parent, FontNameModel* allNames)
    : QWidget(parent)
    , m_catalog(catalog)
    , m_lookup(lookup)
    , m_allNames(allNames)
{
    setWindowTitle(QStringLiteral("フォント全てを一覧"));
    setWindowIcon(platform::programIcon());
    setFixedSize(twipsToPixels(OuterWidthTwips - FrameWidthTwips),
                 twipsToPixels(OuterHeightTwips - FrameHeightTwips));
    createControls();
    fillLists();
    connectHandlers();
}

void Form1::createControls()
{
    List1 = new QListWidget(this);
    placeInTwips(List1, 120, 120, 1935, 5460);
    List1->setToolTip(QStringLiteral("登録されているフォント数です"));
    // The lines are made to fit the list (fitIndexList); a scroll bar would
    // only hide the last one.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    List2 = new FontNameList(this);
    placeInTwips(List2, 2220, 120, 5715, 4920);
    List2->setToolTip(QStringLiteral("登録されている全てのフォントの一覧です"));
    List2->setItemDelegate(new OneLineNameDelegate(List2));

    // The entry names are kept for the lookup only and never shown.
    List3 = new FontNameList(this);
    placeInTwips(List3, 180, 5940, 3435, 1680);
    List3->hide();

    const std::array<QString, 2> captions{QStringLiteral("ファイル名:"), QStringLiteral("サイズ:")};
    const std::array<QString, 2> tips{QStringLiteral("一覧で選択しているフォントのファイル名です"),
                                      QStringLiteral("一覧で選択しているフォントのファイルサイズです")};
    const std::array<int, 2> tops{5160, 5400};
    // The labels are 13 pixels high; the default font's line is taller.
    QFont labelFont = font();
    labelFont.setPixelSize(11);
    for (std::size_t i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(captions[i], this);
        Label1[i]->setFont(labelFont);
        Label1[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        placeInTwips(Label1[i], 2220, tops[i], 915, 195);

        Label2[i] = i == 0 ? new PathLabel(this) : new QLabel(this);
        Label2[i]->setFont(labelFont);
        Label2[i]->setToolTip(tips[i]);
        placeInTwips(Label2[i], 3240, tops[i], 4695, 195);
    }
}

void Form1::fillLists()
{
    List1->addItems(m_catalog.IndexSummary);
    fitIndexList();
    if (!m_allNames)
        m_allNames = new FontNameModel(m_catalog.AllFontNames, this);
    List2->setModel(m_allNames);
    List3->setModel(new FontNameModel(m_catalog.FontFileEntries, List3));
}

void Form1::fitIndexList()
{
    // The counts line up just after the widest group label. With thousands
    // of fonts the widest line may not fit the narrow list at the default
    // size; the list then takes the largest size at which it does, so no
    // count is ever cut.
    const int available = List1->width() - 2 * List1->frameWidth()
                          - List1->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, List1)
                          - 2 * TabStopDelegate::TextMargin;
    QFont font = List1->font();
    int tabStop = 0;
    for (int pixels = QFontInfo(font).pixelSize(); pixels >= MinimumIndexPixels; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        int labels = 0;
        int counts = 0;
        int plain = 0; // lines without a count, such as the hyphen line
        for (const QString& line : m_catalog.IndexSummary) {
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            if (tab < 0) {
                plain = std::max(plain, metrics.horizontalAdvance(line));
                continue;
            }
            labels = std::max(labels, metrics.horizontalAdvance(line.left(tab)));
            counts = std::max(counts, metrics.horizontalAdvance(line.mid(tab + 1)));
        }
        tabStop = labels + metrics.horizontalAdvance(QStringLiteral("  "));
        if (std::max(tabStop + counts, plain) <= available)
            break;
    }
    List1->setFont(font);
    List1->setItemDelegate(new TabStopDelegate(tabStop, List1));
}

void Form1::connectHandlers()
{
    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    // A click on the line already selected jumps again, as the list may have
    // moved since.
    connect(List1, &QListWidget::itemClicked, this, [this] { List1_Click(); });
    connect(List2, &FontNameList::currentRowChanged, this, [this] { List2_Click(); });
    connect(List2, &QAbstractItemView::doubleClicked, this, [this] { List2_DblClick(); });
}

void Form1::selectIndexLine(int line)
{
    if (List1->currentRow() == line)
        List1_Click();
    else
        List1->setCurrentRow(line);
}

void Form1::selectFontAt(int position)
{
    if (List2->currentRow() == position)
        List2_Click();
    else
        List2->setCurrentRow(position);
}

void Form1::jumpToFirstFontStartingWith(const std::function<bool(QChar)>& accepts)
{
    for (int position = 0; position < List2->count(); ++position) {
        if (accepts(halfWidthInitial(List2->item(position)->text()))) {
            selectFontAt(position);
            return;
        }
    }
}

void Form1::List1_Click()
{
    const int line = List1->currentRow();
    if (line < 0)
        return;
    if (line == IndexLineSymbols) {
        jumpToFirstFontStartingWith([](QChar initial) {
            return initial == u'$' || initial == u'%' || initial == u'&' || initial == u'@';
        });
    } else if (line < IndexLineOther) {
        const QChar letter = halfWidthInitial(List1->item(line)->text());
        jumpToFirstFontStartingWith([letter](QChar initial) { return initial == letter; });
    } else if (line == IndexLineOther) {
        // Moves up to where the other fonts would start, never down.
        const int start = int(m_catalog.FontTotal - m_catalog.Groups[OtherGroup].Names.size());
        if (List2->currentRow() >= start && start < List2->count())
            selectFontAt(start);
    }
    // The hyphen and total lines do nothing.
}

void Form1::List2_Click()
{
    const int position = List2->currentRow();
    if (position < 0)
        return;
    const FontFileInfo file = m_lookup.LookupFontFile(List2->item(position)->text());
    if (file.fatalMessage >= 0) {
        emit fatalError(file.fatalMessage);
        return;
    }
    if (file.matched) {
        Label2[0]->setText(file.filePath);
        Label2[1]->setText(LongSizeText(file.sizeBytes));
    } else {
        Label2[0]->setText(UnknownText);
        Label2[1]->setText(UnknownText);
    }
}

void Form1::List2_DblClick()
{
    const int position = List2->currentRow();
    if (position >= 0)
        emit openViewAt(position);
}
