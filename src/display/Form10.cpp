#include "display/Form10.h"

#include "lists/ListWindowLayout.h"
#include "catalog/OneLineText.h"
#include "display/PreviewPaging.h"
#include "display/FontDrawing.h"
#include "display/SampleText.h"
#include "display/Form6Logic.h"
#include "desktop/DrawingFonts.h"
#include "desktop/ProgramIcon.h"
#include "platform/Twips.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <array>

using platform::twipsToPixels;

namespace {

constexpr int DesignClientWidthTwips = 8190;
constexpr int DesignClientHeightTwips = 6435;
constexpr int SlotPitchTwips = 780;
constexpr int SamplePoints = 18;
constexpr int HeadingPoints = 9;
// 0x00C00000: blue 0xC0.
const QColor HeadingColor(0x00, 0x00, 0xC0);
// One notch of a mouse wheel, in eighths of a degree.
constexpr int WheelNotch = 120;

// A sample shows the font's own glyphs only: a character the font lacks is
// not borrowed from another font, which would misrepresent the font, and
// the search for a substitute walks every installed font, for each new face
// (hundreds of milliseconds a page at 10,000 fonts).
QFont::StyleStrategy sampleStrategy(bool smoothing)
{
    return QFont::StyleStrategy(SampleAntialiasing(smoothing ? 1 : 0) | QFont::NoFontMerging);
}

} // namespace

Form10::Form10(const QStringList& fontNames, const Settings& settings, const QString& headingFace,
               QWidget* frame, DrawingFamily drawing, QWidget* parent)
    : QWidget(parent)
    , m_fontNames(fontNames)
    , m_settings(settings)
    , m_frame(frame)
    , m_drawing(std::move(drawing))
{
    createControls();
    placeControls();

    QFont heading = font();
    if (!headingFace.isEmpty())
        heading.setFamily(headingFace);
    heading.setPointSize(HeadingPoints);
    heading.setBold(true);
    // Faces with tall line spacing need more than the design height; the
    // heading may reach into the transparent top of the sample below it.
    const QFontMetrics headingMetrics(heading);
    const int headingHeight = std::max(Label1[0]->height(), headingMetrics.height());
    m_headingLine.ascent = headingMetrics.ascent();
    m_headingLine.descent = headingMetrics.descent();
    for (QLabel* label : Label1) {
        label->setFont(heading);
        label->resize(label->width(), headingHeight);
        label->raise();
    }
    m_sampleFont = font();
    m_sampleFont.setPointSize(SamplePoints);
    m_sampleFont.setStyleStrategy(sampleStrategy(true));

    Form_Load();
    connectHandlers();
    platform::redrawAfterRelease(this, [this] { drawPage(VScroll1->value()); });
}

QSize Form10::designClientSizePixels()
{
    return {twipsToPixels(DesignClientWidthTwips), twipsToPixels(DesignClientHeightTwips)};
}

void Form10::createControls()
{
    setWindowTitle(QStringLiteral("プレビュー"));
    setWindowIcon(platform::programIcon());
    // The window takes the keys that turn pages.
    setFocusPolicy(Qt::StrongFocus);

    VScroll1 = new QScrollBar(Qt::Vertical, this);
    auto picture = new QFrame(this);
    picture->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    Picture1 = picture;

    QPalette headingPalette = palette();
    headingPalette.setColor(QPalette::WindowText, HeadingColor);
    for (std::size_t k = 0; k < Label1.size(); ++k) {
        Label1[k] = new QLabel(Picture1);
        Label1[k]->setPalette(headingPalette);
        Label2[k] = new SampleLabel(Picture1);
        for (QLabel* label : {Label1[k], Label2[k]}) {
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->installEventFilter(this);
        }
    }
    Label3 = new QLabel(this);
    Label3->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    VScroll1->installEventFilter(this);
    Picture1->installEventFilter(this);
}

void Form10::placeControls()
{
    placeInTwips(VScroll1, 7800, 360, 255, 5535);
    placeInTwips(Picture1, 120, 360, 7695, 5535);
    for (int k = 0; k < int(Label1.size()); ++k) {
        placeInTwips(Label1[std::size_t(k)], 60, 60 + SlotPitchTwips * k, 7455, 195);
        placeInTwips(Label2[std::size_t(k)], 60, 240 + SlotPitchTwips * k, 7335, 555);
    }
    placeInTwips(Label3, 6000, 120, 2055, 255);
    setFixedSize(designClientSizePixels());
}

void Form10::Form_Load()
{
    setCursor(Qt::WaitCursor);
    if (m_frame)
        m_frame->setEnabled(false);

    m_maximum = PreviewMaximum(int(m_fontNames.size()));
    VScroll1->setRange(0, m_maximum);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(1);
    Label3->setText(PreviewCaption(0, m_maximum));
    drawPage(0);

    if (m_frame)
        m_frame->setEnabled(true);
    unsetCursor();
}

void Form10::connectHandlers()
{
    // valueChanged covers both the change and the scroll of the bar: clicks,
    // keys and every step of a dragged thumb.
    connect(VScroll1, &QScrollBar::valueChanged, this, [this](int) { scheduleTurn(); });
}

void Form10::scheduleTurn()
{
    if (m_turnPending)
        return;
    m_turnPending = true;
    // Drawn once the events already waiting have been handled, so a fast
    // drag over fonts that are slow to open draws only where it ends.
    QTimer::singleShot(0, this, [this] {
        if (m_turnPending)
            VScroll1_Change();
    });
}

void Form10::VScroll1_Change()
{
    m_turnPending = false;
    const int page = VScroll1->value();
    if (m_frame)
        m_frame->setCursor(Qt::WaitCursor);
    Label3->setText(PreviewCaption(page, m_maximum));
    drawPage(page);
    if (m_frame)
        m_frame->unsetCursor();
}

void Form10::drawPage(int page)
{
    const auto positions = PreviewSlotPositions(page, int(m_fontNames.size()));
    // Past the end of the list from the bottom up, then the filled slots.
    for (int slot = PreviewSlotsPerPage - 1; slot >= 0; --slot) {
        if (positions[std::size_t(slot)] < 0)
            clearSlot(slot);
    }
    // Every face of the page joins the drawing code before any is measured:
    // each one joining makes the toolkit set up again every face in use,
    // the interface's included, the next time one is measured or drawn.
    std::array<QString, PreviewSlotsPerPage> families;
    for (int slot = 0; slot < PreviewSlotsPerPage; ++slot) {
        if (positions[std::size_t(slot)] >= 0)
            families[std::size_t(slot)] = drawingFamilyOf(m_drawing, m_fontNames.at(positions[std::size_t(slot)]));
    }
    for (int slot = 0; slot < PreviewSlotsPerPage; ++slot) {
        if (positions[std::size_t(slot)] >= 0)
            fillSlot(slot, positions[std::size_t(slot)], families[std::size_t(slot)]);
    }
}

void Form10::fillSlot(int slot, int position, const QString& family)
{
    const QString& name = m_fontNames.at(position);
    QLabel* heading = Label1[std::size_t(slot)];
    QLabel* sample = Label2[std::size_t(slot)];
    heading->setText(OneLineText(name));
    heading->setToolTip(name);

    QFont face = m_sampleFont;
    // The window's face only stands in for a family the drawing code cannot
    // find at all; a missing family would send it through every installed font.
    face.setFamilies({family, font().family()});
    face.setBold(false);
    face.setItalic(false);
    // A damaged file that cannot draw would leave the slot blank.
    if (!FontDraws(face))
        face.setFamily(font().family());
    sample->setFont(face);
    sample->setText(m_settings.PreviewText == 1 ? m_settings.PreviewTextStrings : OneLineText(name));
    sample->setToolTip(name);
    placeSample(slot);
}

void Form10::placeSample(int slot)
{
    QLabel* sample = Label2[std::size_t(slot)];
    PreviewLineMetrics line;
    const QFontMetrics metrics(sample->font());
    line.ascent = metrics.ascent();
    line.descent = metrics.descent();
    if (!sample->text().isEmpty()) {
        const QRect ink = metrics.tightBoundingRect(sample->text());
        line.inkAbove = -ink.top();
        line.inkBelow = ink.bottom() + 1;
    }
    sample->move(sample->x(), PreviewSampleTop(slot, m_headingLine, line));
}

void Form10::clearSlot(int slot)
{
    // The sample keeps its face; only the texts go.
    for (QLabel* label : {Label1[std::size_t(slot)], Label2[std::size_t(slot)]}) {
        label->clear();
        label->setToolTip(QString());
    }
}

void Form10::Label_DblClick(int index)
{
    const int position = PreviewPositionAt(VScroll1->value(), index, int(m_fontNames.size()));
    // A cleared slot past the end of the list opens nothing.
    if (position >= 0)
        emit openViewAt(position);
}

void Form10::applyPreviewText()
{
    for (std::size_t k = 0; k < Label1.size(); ++k) {
        // A cleared slot has no font to show a text in.
        if (Label1[k]->text().isEmpty())
            continue;
        Label2[k]->setText(m_settings.PreviewText == 1 ? m_settings.PreviewTextStrings : Label1[k]->text());
        placeSample(int(k));
    }
}

void Form10::setSmoothing(bool on)
{
    m_sampleFont.setStyleStrategy(sampleStrategy(on));
    for (QLabel* sample : Label2) {
        QFont face = sample->font();
        face.setStyleStrategy(sampleStrategy(on));
        sample->setFont(face);
    }
}

bool Form10::turnByWheel(QWheelEvent* event)
{
    // High-resolution wheels send fractions of a notch; a page per notch.
    m_wheelRemainder += event->angleDelta().y();
    const int notches = m_wheelRemainder / WheelNotch;
    m_wheelRemainder -= notches * WheelNotch;
    if (notches != 0)
        VScroll1->setValue(VScroll1->value() - notches);
    event->accept();
    return true;
}

void Form10::wheelEvent(QWheelEvent* event)
{
    turnByWheel(event);
}

void Form10::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_Up:
        VScroll1->setValue(VScroll1->value() - 1);
        break;
    case Qt::Key_PageDown:
    case Qt::Key_Down:
        VScroll1->setValue(VScroll1->value() + 1);
        break;
    case Qt::Key_Home:
        VScroll1->setValue(0);
        break;
    case Qt::Key_End:
        VScroll1->setValue(m_maximum);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

bool Form10::eventFilter(QObject* watched, QEvent* event)
{
    // Over the bar or any slot, a wheel notch is one page (the bar alone
    // would move several).
    if (event->type() == QEvent::Wheel)
        return turnByWheel(static_cast<QWheelEvent*>(event));
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int k = 0; k < PreviewSlotsPerPage; ++k) {
            if (watched == Label1[std::size_t(k)] || watched == Label2[std::size_t(k)]) {
                Label_DblClick(k);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
