#include "fontinfo/CharacterMap.h"

#include "catalog/SizeText.h"
#include "face/CharacterGrid.h"
#include "face/CharacterReference.h"
#include "fontinfo/FaceFont.h"
#include "face/FaceReader.h"
#include "face/GlyphForms.h"
#include "face/JapaneseSets.h"
#include "desktop/ProgramIcon.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QClipboard>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainterPath>
#include <QScrollArea>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int GridGlyphPixels = 24;
constexpr int LargeGlyphPixels = 96;
constexpr int PreviewPixels = 128;
constexpr int HeadingPadding = 6;

// Draws each character of text centred in its box, with the font's own
// glyphs and in one run, so a screenful of cells costs one call.
void drawCharacters(QPainter& painter, const QRawFont& font, const QString& text, const QList<QRectF>& boxes)
{
    if (!font.isValid() || text.isEmpty())
        return;
    const QList<quint32> glyphs = font.glyphIndexesForString(text);
    if (glyphs.size() != boxes.size())
        return;
    const QList<QPointF> advances = font.advancesForGlyphIndexes(glyphs);
    const qreal lineHeight = font.ascent() + font.descent();
    QList<QPointF> positions;
    positions.reserve(glyphs.size());
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        const QRectF& box = boxes.at(i);
        positions << QPointF(box.left() + (box.width() - advances.at(i).x()) / 2,
                             box.top() + (box.height() - lineHeight) / 2 + font.ascent());
    }
    QGlyphRun run;
    run.setRawFont(font);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(), run);
}

} // namespace

// The variants of the chosen character the face maps: each drawn with its
// own glyph, its sequence written below; a click copies the sequence.
class VariantStrip : public QWidget {
public:
    static constexpr int Cell = 84;
    static constexpr int GlyphPixels = 32;

    explicit VariantStrip(QWidget* parent) : QWidget(parent)
    {
        setMinimumHeight(GlyphPixels + 26);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    void setVariants(const QRawFont& font, char32_t base, QList<Variant> variants)
    {
        m_font = font;
        if (m_font.isValid())
            m_font.setPixelSize(GlyphPixels);
        m_base = base;
        m_variants = std::move(variants);
        setMinimumWidth(int(m_variants.size()) * Cell);
        update();
    }
    const QList<Variant>& variants() const { return m_variants; }
    char32_t base() const { return m_base; }
    QRect cellRect(int i) const { return {i * Cell, 0, Cell, height()}; }

    std::function<void(int)> clicked;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < m_variants.size(); ++i) {
            const QRect cell = cellRect(i).adjusted(2, 2, -2, -2);
            painter.setPen(palette().color(QPalette::Mid));
            painter.setBrush(palette().color(QPalette::Base));
            painter.drawRect(cell);
            if (m_font.isValid()) {
                const QPainterPath glyph = m_font.pathForGlyph(m_variants.at(i).glyph);
                const qreal x = cell.center().x() - GlyphPixels / 2.0;
                painter.setPen(Qt::NoPen);
                painter.setBrush(palette().color(QPalette::Text));
                painter.drawPath(glyph.translated(x, cell.top() + 4 + m_font.ascent() * GlyphPixels / (m_font.ascent() + m_font.descent())));
            }
            painter.setPen(palette().color(QPalette::Text));
            painter.setBrush(Qt::NoBrush);
            QFont small = font();
            small.setPointSizeF(small.pointSizeF() * 0.8);
            painter.setFont(small);
            painter.drawText(QRect(cell.left(), cell.bottom() - 18, cell.width(), 16), Qt::AlignCenter,
                             CodePointText(m_variants.at(i).selector));
            painter.setFont(font());
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        const int i = int(event->position().x()) / Cell;
        if (clicked && i >= 0 && i < m_variants.size())
            clicked(i);
    }

private:
    QRawFont m_font;
    char32_t m_base = 0;
    QList<Variant> m_variants;
};


QStringList CharacterFacts(char32_t character)
{
    QStringList facts = CharacterCodes(character);
    if (const std::optional<UnicodeBlock> block = BlockOf(character))
        facts.insert(1, block->name);
    if (IsJoyo(character))
        facts << QStringLiteral("常用漢字");
    else if (IsJinmeiyo(character))
        facts << QStringLiteral("人名用漢字");
    return facts;
}

// The chosen character drawn large, on its baseline.
class GlyphPreview : public QWidget {
public:
    GlyphPreview(const QRawFont& font, QWidget* parent)
        : QWidget(parent)
        , m_font(font)
    {
        if (m_font.isValid())
            m_font.setPixelSize(LargeGlyphPixels);
        setFixedSize(PreviewPixels, PreviewPixels);
        setBackgroundRole(QPalette::Base);
        setAutoFillBackground(true);
    }

    // The character as text; empty for none.
    void setText(const QString& text)
    {
        m_text = text;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_text.isEmpty() || !m_font.isValid())
            return;
        const QRectF box = rect();
        const qreal baseline = (box.height() - m_font.ascent() - m_font.descent()) / 2 + m_font.ascent();
        painter.setPen(QPen(palette().color(QPalette::Midlight), 1, Qt::DashLine));
        painter.drawLine(QPointF(1, baseline), QPointF(box.width() - 1, baseline));
        painter.setPen(palette().color(QPalette::Text));
        painter.setClipRect(rect().adjusted(1, 1, -1, -1));
        drawCharacters(painter, m_font, m_text, {box});
    }

private:
    QRawFont m_font;
    QString m_text;
};

// The grid of cells. Only the rows in sight are painted, straight from the
// layout, so that no item or widget stands for a cell and a font of 65,000
// characters scrolls as lightly as a small one.
class CharacterGridView : public QAbstractScrollArea {
public:
    CharacterGridView(std::vector<char32_t> characters, const QRawFont& font, QWidget* parent)
        : QAbstractScrollArea(parent)
        , m_grid(std::move(characters))
        , m_font(font)
    {
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_InputMethodEnabled);
        // A scroll bar that came and went would change the columns, and with
        // them the height that made it come or go.
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        viewport()->setBackgroundRole(QPalette::Base);
        relayOut();
        // The first character is chosen without scrolling: the view has no
        // height yet, and opens at the top.
        if (m_grid.size() > 0)
            m_current = 0;
    }

    const CharacterGrid& grid() const { return m_grid; }
    const QRawFont& glyphFont() const { return m_font; }
    // The characters marked as having variants, in code point order.
    void setMarked(std::vector<char32_t> marked)
    {
        m_marked = std::move(marked);
        viewport()->update();
    }
    bool hasMarks() const { return !m_marked.empty(); }
    bool marked(char32_t character) const
    {
        return std::binary_search(m_marked.cbegin(), m_marked.cend(), character);
    }
    int current() const { return m_current; }

    void setCurrent(int index)
    {
        if (index < 0 || index >= m_grid.size())
            return;
        const int previous = m_current;
        m_current = index;
        ensureVisible(index);
        if (previous != index) {
            // Only the two cells change; a full view of a large window takes
            // milliseconds to draw again.
            viewport()->update(cellOnViewport(previous));
            viewport()->update(cellOnViewport(index));
            if (currentChanged)
                currentChanged();
            // What the change shows below the grid may take some of its
            // height once laid out: the chosen cell stays in sight.
            QTimer::singleShot(0, this, [this] { ensureVisible(m_current); });
        }
    }

    // Where the cell of index is on the viewport.
    QRect cellOnViewport(int index) const
    {
        const QRect cell = m_grid.cellRect(index);
        return cell.isNull() ? cell : cell.translated(0, -verticalScrollBar()->value());
    }

    std::function<void()> currentChanged;
    std::function<void(const QString&)> typed;

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QAbstractScrollArea::resizeEvent(event);
        relayOut();
    }

    void changeEvent(QEvent* event) override
    {
        QAbstractScrollArea::changeEvent(event);
        // The headings are as high as the text.
        if (event->type() == QEvent::FontChange)
            relayOut();
    }

    // What stays in sight is moved, not drawn again: a row's scroll paints one row.
    void scrollContentsBy(int dx, int dy) override { viewport()->scroll(dx, dy); }

    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(viewport());
        const QRect exposed = event->rect();
        const int offset = verticalScrollBar()->value();
        const QColor line = palette().color(QPalette::Midlight);
        QString text;
        QList<QRectF> boxes;
        QString selectedText;
        QRectF selectedBox;
        for (int r = std::max(0, m_grid.rowAt(offset + exposed.top())); r < m_grid.rowCount(); ++r) {
            const CharacterGrid::Row& row = m_grid.row(r);
            const int top = row.top - offset;
            if (top > exposed.bottom())
                break;
            if (row.isHeading()) {
                paintHeading(painter, m_grid.groups()[size_t(row.group)], QRect(0, top, viewport()->width(), row.height));
                continue;
            }
            const int cell = m_grid.cellSize();
            painter.setPen(line);
            painter.drawLine(0, top + cell - 1, (row.end - row.begin) * cell - 1, top + cell - 1);
            for (int i = row.begin; i < row.end; ++i) {
                const QRect box((i - row.begin) * cell, top, cell, cell);
                if (!box.intersects(exposed))
                    continue;
                painter.setPen(line);
                painter.drawLine(box.right(), box.top(), box.right(), box.bottom());
                const char32_t character = m_grid.characterAt(i);
                if (i == m_current)
                    painter.fillRect(box.adjusted(0, 0, -1, -1), palette().brush(QPalette::Highlight));
                if (marked(character)) {
                    // A small corner: the face has variants of it.
                    const QPoint corner = box.topRight() + QPoint(-1, 1);
                    painter.setPen(Qt::NoPen);
                    painter.setBrush(QColor(0xC0, 0x50, 0x00));
                    painter.drawPolygon(QPolygon({corner, corner - QPoint(7, 0), corner + QPoint(0, 7)}));
                    painter.setBrush(Qt::NoBrush);
                }
                if (i == m_current) {
                    selectedText = QString::fromUcs4(&character, 1);
                    selectedBox = box;
                    continue;
                }
                text += QString::fromUcs4(&character, 1);
                boxes << box;
            }
        }
        painter.setPen(palette().color(QPalette::Text));
        drawCharacters(painter, m_font, text, boxes);
        painter.setPen(palette().color(QPalette::HighlightedText));
        drawCharacters(painter, m_font, selectedText, {selectedBox});
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (m_current < 0) {
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        const int page = std::max(1, viewport()->height() / m_grid.cellSize() - 1);
        int next = m_current;
        switch (event->key()) {
        case Qt::Key_Left:
            next = std::max(0, m_current - 1);
            break;
        case Qt::Key_Right:
            next = std::min(m_grid.size() - 1, m_current + 1);
            break;
        case Qt::Key_Up:
            next = m_grid.moveVertically(m_current, -1);
            break;
        case Qt::Key_Down:
            next = m_grid.moveVertically(m_current, 1);
            break;
        case Qt::Key_PageUp:
            next = m_grid.moveVertically(m_current, -page);
            break;
        case Qt::Key_PageDown:
            next = m_grid.moveVertically(m_current, page);
            break;
        case Qt::Key_Home:
            next = 0;
            break;
        case Qt::Key_End:
            next = m_grid.size() - 1;
            break;
        default:
            // A character typed on the grid goes to that character.
            if (const QString text = event->text(); !text.isEmpty() && QChar::isPrint(text.toUcs4().value(0)) && typed) {
                typed(text);
                return;
            }
            QAbstractScrollArea::keyPressEvent(event);
            return;
        }
        setCurrent(next);
    }

    // Kanji come through the input method, not as key presses.
    void inputMethodEvent(QInputMethodEvent* event) override
    {
        if (!event->commitString().isEmpty() && typed)
            typed(event->commitString());
        event->accept();
    }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override
    {
        if (query == Qt::ImEnabled)
            return true;
        return QAbstractScrollArea::inputMethodQuery(query);
    }

    void mousePressEvent(QMouseEvent* event) override
    {
        setFocus(Qt::MouseFocusReason);
        const QPoint at = event->position().toPoint() + QPoint(0, verticalScrollBar()->value());
        setCurrent(m_grid.indexAt(at));
    }

    bool viewportEvent(QEvent* event) override
    {
        if (event->type() == QEvent::ToolTip) {
            const auto help = static_cast<QHelpEvent*>(event);
            const int index = m_grid.indexAt(help->pos() + QPoint(0, verticalScrollBar()->value()));
            if (index >= 0)
                QToolTip::showText(help->globalPos(), CharacterFacts(m_grid.characterAt(index)).join(u'\n'), viewport());
            else
                QToolTip::hideText();
            return true;
        }
        return QAbstractScrollArea::viewportEvent(event);
    }

private:
    int headingHeight() const { return fontMetrics().height() + 2 * HeadingPadding; }

    // Lays the cells out for the width, keeping the row at the top of the
    // view at the top.
    void relayOut()
    {
        int anchor = -1;
        bool headingOnTop = false;
        if (const int r = m_grid.rowAt(verticalScrollBar()->value()); r >= 0) {
            const CharacterGrid::Row& row = m_grid.row(r);
            headingOnTop = row.isHeading();
            anchor = headingOnTop ? m_grid.groups()[size_t(row.group)].begin : row.begin;
        }
        m_grid.layOut(viewport()->width(), CharacterMap::CellPixels, headingHeight());
        verticalScrollBar()->setRange(0, std::max(0, m_grid.height() - viewport()->height()));
        verticalScrollBar()->setPageStep(viewport()->height());
        verticalScrollBar()->setSingleStep(m_grid.cellSize());
        if (anchor >= 0) {
            const int row = headingOnTop ? m_grid.groupOf(anchor).headingRow : m_grid.rowOf(anchor);
            verticalScrollBar()->setValue(m_grid.row(row).top);
        }
        viewport()->update();
    }

    // Scrolls so the cell of index is in sight, its block's heading too when
    // it is in the block's first row.
    void ensureVisible(int index)
    {
        const QRect cell = m_grid.cellRect(index);
        if (cell.isNull())
            return;
        const CharacterGrid::Group& group = m_grid.groupOf(index);
        const int top = m_grid.rowOf(index) == group.headingRow + 1 ? m_grid.row(group.headingRow).top : cell.top();
        const int height = viewport()->height();
        QScrollBar* bar = verticalScrollBar();
        if (top < bar->value())
            bar->setValue(top);
        else if (cell.bottom() + 1 > bar->value() + height)
            bar->setValue(cell.bottom() + 1 - height);
    }

    void paintHeading(QPainter& painter, const CharacterGrid::Group& group, const QRect& area)
    {
        painter.fillRect(area, palette().brush(QPalette::Window));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(area.bottomLeft(), area.bottomRight());
        const QRect text = area.adjusted(HeadingPadding, 0, -HeadingPadding, 0);
        const QString range = CodePointText(group.first) + QStringLiteral("–") + CodePointText(group.last);
        const int rangeWidth = fontMetrics().horizontalAdvance(range);
        const bool rangeFits = rangeWidth + fontMetrics().horizontalAdvance(group.name) + 4 * HeadingPadding <= text.width();
        if (rangeFits) {
            painter.setPen(palette().color(QPalette::PlaceholderText));
            painter.drawText(text, Qt::AlignRight | Qt::AlignVCenter, range);
        }
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(palette().color(QPalette::WindowText));
        const int nameWidth = rangeFits ? text.width() - rangeWidth - HeadingPadding : text.width();
        painter.drawText(QRect(text.left(), text.top(), nameWidth, text.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetrics(bold).elidedText(group.name, Qt::ElideRight, nameWidth));
        painter.setFont(font());
    }

    CharacterGrid m_grid;
    QRawFont m_font;
    std::vector<char32_t> m_marked;
    int m_current = -1;
};

CharacterMap::CharacterMap(const QString& fontName, const QString& path, int faceIndex, QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(QStringLiteral("文字一覧 / ") + fontName);
    setWindowIcon(platform::programIcon());
    QString error;
    std::vector<char32_t> characters = CharactersOfFace(path, faceIndex, &error);
    if (characters.empty() && error.isEmpty())
        error = QStringLiteral("このフォントには Unicode の文字がありません");
    const QRawFont font = characters.empty() ? QRawFont() : RawFontOfFace(path, faceIndex, GridGlyphPixels);
    m_view = new CharacterGridView(std::move(characters), font, this);
    m_view->setMarked(BasesWithVariants(path, faceIndex));
    m_hasVariants = m_view->hasMarks();
    m_preview = new GlyphPreview(font, this);
    m_variants = new VariantStrip(this);
    m_path = path;
    m_faceIndex = faceIndex;
    createControls(error.isEmpty() ? QString() : error + u'\n' + path);
    m_view->currentChanged = [this] { showSelected(); };
    m_variants->clicked = [this](int i) { copyVariant(i); };
    m_view->typed = [this](const QString& text) {
        GoToField->setText(text);
        goTo(text);
    };
    showSelected();
}

CharacterMap::~CharacterMap() = default;

QSize CharacterMap::sizeHint() const
{
    return {640, 560};
}

void CharacterMap::createControls(const QString& error)
{
    Grid = m_view;
    ErrorLabel = new QLabel(QStringLiteral("文字一覧を表示できません。\n") + error, this);
    ErrorLabel->setTextFormat(Qt::PlainText);
    ErrorLabel->setWordWrap(true);
    ErrorLabel->setAlignment(Qt::AlignCenter);
    ErrorLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette warning = ErrorLabel->palette();
    warning.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
    ErrorLabel->setPalette(warning);
    FactsLabel = new QLabel(this);
    FactsLabel->setTextFormat(Qt::PlainText);
    FactsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    FactsLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CountLabel = new QLabel(QStringLiteral("文字数: ") + NumberText(characterCount()), this);
    GoToField = new QLineEdit(this);
    GoToField->setPlaceholderText(QStringLiteral("辻、U+8FBB、36-52、1-47-82、92D2"));
    GoToField->setToolTip(QStringLiteral("文字そのもの、コードポイント、区点または面区点、Shift_JIS コードで文字に移動します"));
    GoToField->setClearButtonEnabled(true);
    // Wide enough for its example entries and the clear button.
    GoToField->setMinimumWidth(GoToField->fontMetrics().horizontalAdvance(GoToField->placeholderText())
                               + 3 * GoToField->fontMetrics().height());
    GoToNote = new QLabel(this);
    GoToNote->setTextFormat(Qt::PlainText);
    QPalette notePalette = GoToNote->palette();
    notePalette.setColor(QPalette::WindowText, QColor(0xB0, 0x00, 0x00));
    GoToNote->setPalette(notePalette);
    CopyButton = new QPushButton(QStringLiteral("コピー"), this);
    CopyButton->setToolTip(QStringLiteral("選んだ文字をクリップボードにコピーします (Ctrl+C)"));

    VariantsLabel = new QLabel(this);
    // The facts, and under them the variants, beside the character drawn large.
    auto facts = new QVBoxLayout;
    // As tall as the most facts a character has, so that choosing another
    // never changes the grid's height.
    FactsLabel->setMinimumHeight(FactsLabel->fontMetrics().lineSpacing() * 5);
    facts->addWidget(FactsLabel);
    auto details = new QHBoxLayout;
    details->addWidget(m_preview, 0, Qt::AlignTop);
    details->addLayout(facts, 1);
    details->addWidget(CopyButton, 0, Qt::AlignTop);
    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addWidget(ErrorLabel, 1);
    layout->addLayout(details);
    auto variantArea = new QScrollArea(this);
    variantArea->setWidget(m_variants);
    variantArea->setWidgetResizable(true);
    variantArea->setFrameShape(QFrame::NoFrame);
    variantArea->setFixedHeight(VariantStrip::GlyphPixels + 26 + variantArea->horizontalScrollBar()->sizeHint().height());
    variantArea->setToolTip(QStringLiteral("異体字をクリックすると、そのシーケンスをコピーします"));
    m_variantArea = variantArea;
    facts->addWidget(VariantsLabel);
    facts->addWidget(variantArea);
    facts->addStretch(1);
    // Only a face with variation sequences has the strip; it stays while
    // characters are chosen, so the grid keeps its size.
    VariantsLabel->setVisible(m_hasVariants);
    variantArea->setVisible(m_hasVariants);
    auto goToRow = new QHBoxLayout;
    goToRow->addWidget(new QLabel(QStringLiteral("移動:"), this));
    goToRow->addWidget(GoToField, 1);
    goToRow->addWidget(GoToNote, 2);
    goToRow->addWidget(CountLabel);
    layout->addLayout(goToRow);

    const bool readable = error.isEmpty();
    m_view->setVisible(readable);
    ErrorLabel->setVisible(!readable);
    m_preview->setVisible(readable);
    CopyButton->setEnabled(readable);
    GoToField->setEnabled(readable);
    setFocusProxy(m_view);
    connect(GoToField, &QLineEdit::returnPressed, this, [this] { goTo(GoToField->text()); });
    connect(GoToField, &QLineEdit::textChanged, GoToNote, &QLabel::clear);

    auto copy = new QAction(QStringLiteral("コピー"), this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(copy);
    connect(copy, &QAction::triggered, this, &CharacterMap::copySelected);
    connect(CopyButton, &QPushButton::clicked, this, &CharacterMap::copySelected);
}

void CharacterMap::showSelected()
{
    if (m_view->current() < 0)
        return;
    const char32_t character = selectedCharacter();
    m_preview->setText(QString::fromUcs4(&character, 1));
    FactsLabel->setText(CharacterFacts(character).join(u'\n'));
    const QList<Variant> variants = m_view->marked(character) ? VariantsOf(m_path, m_faceIndex, character) : QList<Variant>{};
    m_variants->setVariants(m_view->glyphFont(), character, variants);
    VariantsLabel->setText(variants.isEmpty() ? QStringLiteral("異体字: なし")
                                              : QStringLiteral("異体字: %1 個（クリックでシーケンスをコピー）").arg(variants.size()));
}

QList<Variant> CharacterMap::variantsShown() const
{
    return m_variants->variants();
}

QRect CharacterMap::variantRect(int i) const
{
    return m_variants->cellRect(i);
}

QWidget* CharacterMap::variantStrip() const
{
    return m_variants;
}

void CharacterMap::copyVariant(int i)
{
    const QList<Variant>& variants = m_variants->variants();
    if (i < 0 || i >= variants.size())
        return;
    const char32_t sequence[] = {m_variants->base(), variants.at(i).selector};
    QGuiApplication::clipboard()->setText(QString::fromUcs4(sequence, 2));
}

bool CharacterMap::goTo(const QString& text)
{
    const CharacterReference reference = ParseCharacterReference(text);
    if (!reference.character) {
        GoToNote->setText(reference.error);
        return false;
    }
    const char32_t character = *reference.character;
    if (!selectCharacter(character)) {
        GoToNote->setText(QStringLiteral("このフォントにない文字です: ") + QString::fromUcs4(&character, 1)
                          + QStringLiteral(" (") + CodePointText(character) + u')');
        return false;
    }
    GoToNote->clear();
    return true;
}

int CharacterMap::characterCount() const
{
    return m_view->grid().size();
}

char32_t CharacterMap::selectedCharacter() const
{
    return m_view->current() >= 0 ? m_view->grid().characterAt(m_view->current()) : 0;
}

bool CharacterMap::selectCharacter(char32_t character)
{
    const int index = m_view->grid().indexOf(character);
    m_view->setCurrent(index);
    return index >= 0;
}

int CharacterMap::columns() const
{
    return m_view->grid().columns();
}

QRect CharacterMap::cellRect(char32_t character) const
{
    return m_view->cellOnViewport(m_view->grid().indexOf(character));
}

QRawFont CharacterMap::glyphFont() const
{
    return m_view->glyphFont();
}

void CharacterMap::copySelected()
{
    if (m_view->current() < 0)
        return;
    const char32_t character = selectedCharacter();
    QGuiApplication::clipboard()->setText(QString::fromUcs4(&character, 1));
}
