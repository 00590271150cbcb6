#include "typesetting/TypesettingWindow.h"

#include "desktop/MissingGlyphs.h"
#include "desktop/ProgramIcon.h"
#include "fontinfo/FaceFont.h"
#include "printing/Printouts.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGlyphRun>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 10;
constexpr int LabelGap = 8;
constexpr int DefaultPoints = 24;
// The waterfall sets the first line only, and no more of it than a line at
// the largest size can show.
constexpr qsizetype WaterfallCharacters = 40;

QString waterfallText(const QString& text)
{
    QString line = text.section(u'\n', 0, 0);
    line.remove(u'\r');
    if (line.size() > WaterfallCharacters)
        line.truncate(line.at(WaterfallCharacters - 1).isHighSurrogate() ? WaterfallCharacters - 1 : WaterfallCharacters);
    return line;
}

// Pixels per point on the screen the window is drawn on.
qreal screenScale(const QWidget* widget)
{
    return widget->logicalDpiY() / 72.0;
}

// The run's glyph positions with its lines' top-left corner at the origin.
QList<QPointF> placedFrom(const TypesetRun& run, QPointF topLeft)
{
    QList<QPointF> placed;
    placed.reserve(run.positions.size());
    for (const QPointF& position : run.positions)
        placed << position - run.bounds.topLeft() + topLeft;
    return placed;
}

QString labelOf(int points)
{
    return QStringLiteral("%1 pt").arg(points);
}

} // namespace

TypesettingWindow::TypesettingWindow(const QString& fontName, const QString& path, int index, const QString& text,
                                     QWidget* parent)
    : QWidget(parent)
    , m_fontName(fontName)
    , m_path(path)
    , m_index(index)
    , m_setter(std::make_unique<Typesetter>(path, index))
{
    setWindowTitle(QStringLiteral("組版見本 / ") + fontName);
    setWindowIcon(platform::programIcon());

    Text = new QPlainTextEdit(this);
    Text->setPlainText(text);
    Text->setFixedHeight(Text->fontMetrics().lineSpacing() * 3 + 2 * Text->frameWidth() + 8);
    Direction = new QComboBox(this);
    Direction->addItems({QStringLiteral("横組み"), QStringLiteral("縦組み")});
    PointSize = new QSpinBox(this);
    PointSize->setRange(1, 100);
    PointSize->setValue(DefaultPoints);
    PointSize->setSuffix(QStringLiteral(" pt"));
    CopyButton = new QPushButton(QStringLiteral("コピー(&C)"), this);
    PrintButton = new QPushButton(QStringLiteral("印刷(&P)..."), this);
    Message = new QLabel(this);
    Message->setWordWrap(true);
    Message->setText(m_setter->error());
    Message->setVisible(!m_setter->error().isEmpty());

    // The switches, in groups as a typesetter looks for them; a feature the
    // face lacks stays off and cannot be switched.
    const QList<TypesettingFeature>& features = TypesettingFeatures();
    const QSet<QByteArray> defaults = DefaultTypesettingTags();
    const auto groupOf = [](const QByteArray& tag) {
        static const QList<QPair<QString, QList<QByteArray>>> groups = {
            {QStringLiteral("字幅とカーニング"), {"palt", "halt", "vpal", "vhal", "kern", "vkrn"}},
            {QStringLiteral("縦組み"), {"vert"}},
            {QStringLiteral("字形"), {"jp78", "jp83", "jp90", "jp04", "nlck", "hojo", "expt", "trad"}},
            {QStringLiteral("字幅の違う字形"), {"fwid", "hwid", "pwid", "twid", "qwid"}},
            {QStringLiteral("かなとその他"), {"ruby", "hkna", "vkna", "ital", "liga", "dlig"}},
        };
        for (const auto& group : groups) {
            if (group.second.contains(tag))
                return group.first;
        }
        return QStringLiteral("スタイルセット");
    };
    auto switchesPanel = new QWidget;
    auto switchesLayout = new QVBoxLayout(switchesPanel);
    QMap<QString, QVBoxLayout*> groupLayouts;
    QStringList groupOrder;
    for (const TypesettingFeature& feature : features) {
        const QString group = groupOf(feature.tags.first());
        if (!groupLayouts.contains(group)) {
            auto box = new QGroupBox(group, switchesPanel);
            groupLayouts.insert(group, new QVBoxLayout(box));
            switchesLayout->addWidget(box);
        }
        auto check = new QCheckBox(feature.label(), switchesPanel);
        const bool own = m_setter->error().isEmpty() && m_setter->has(feature);
        m_own << own;
        check->setChecked(own && defaults.contains(feature.tags.first()));
        groupLayouts.value(group)->addWidget(check);
        connect(check, &QCheckBox::toggled, this, &TypesettingWindow::reset);
        Switches << check;
    }
    switchesLayout->addStretch(1);
    auto switchesArea = new QScrollArea(this);
    switchesArea->setWidget(switchesPanel);
    switchesArea->setWidgetResizable(true);
    switchesArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    switchesArea->setMinimumWidth(switchesPanel->sizeHint().width() + 24);

    View = new TypesetView(*m_setter, RawFontOfFace(path, index, DefaultPoints));
    ViewArea = new QScrollArea(this);
    auto viewArea = ViewArea;
    viewArea->setWidget(View);
    viewArea->setBackgroundRole(QPalette::Base);

    auto controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("組み方:"), this));
    controls->addWidget(Direction);
    controls->addSpacing(12);
    controls->addWidget(new QLabel(QStringLiteral("大きさ:"), this));
    controls->addWidget(PointSize);
    controls->addStretch(1);
    controls->addWidget(CopyButton);
    controls->addWidget(PrintButton);
    auto right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("文章(&T):"), this));
    right->addWidget(Text);
    right->addLayout(controls);
    right->addWidget(Message);
    right->addWidget(viewArea, 1);
    auto layout = new QHBoxLayout(this);
    layout->addWidget(switchesArea);
    layout->addLayout(right, 1);

    connect(Text, &QPlainTextEdit::textChanged, this, &TypesettingWindow::reset);
    connect(Direction, &QComboBox::currentIndexChanged, this, [this] {
        enableSwitches();
        reset();
    });
    connect(PointSize, &QSpinBox::valueChanged, this, &TypesettingWindow::reset);
    connect(CopyButton, &QPushButton::clicked, this, &TypesettingWindow::copy);
    connect(PrintButton, &QPushButton::clicked, this, [this] {
        // A4 less the report's margins, in points.
        emit printRequested(reportItems(450));
    });
    CopyButton->setEnabled(m_setter->error().isEmpty());
    PrintButton->setEnabled(m_setter->error().isEmpty());
    enableSwitches();
    reset();
    resize(900, 640);
}

void TypesettingWindow::enableSwitches()
{
    const QList<TypesettingFeature>& features = TypesettingFeatures();
    for (qsizetype i = 0; i < features.size(); ++i) {
        const TypesettingFeature& feature = features.at(i);
        const bool works = feature.appliesTo(direction());
        Switches.at(i)->setEnabled(m_own.at(i) && works);
        Switches.at(i)->setToolTip(!m_own.at(i) ? QStringLiteral("この書体にはありません")
                                   : works    ? QString()
                                   : feature.setting == TypesettingFeature::VerticalOnly
                                       ? QStringLiteral("縦組みでだけ働きます")
                                       : QStringLiteral("横組みでだけ働きます"));
    }
}

TypesettingWindow::~TypesettingWindow() = default;

QSet<QByteArray> TypesettingWindow::switchedOn() const
{
    QSet<QByteArray> on;
    const QList<TypesettingFeature>& features = TypesettingFeatures();
    for (qsizetype i = 0; i < features.size(); ++i) {
        if (Switches.at(i)->isChecked()) {
            for (const QByteArray& tag : features.at(i).tags)
                on.insert(tag);
        }
    }
    return on;
}

SettingDirection TypesettingWindow::direction() const
{
    return Direction->currentIndex() == 1 ? SettingDirection::Vertical : SettingDirection::Horizontal;
}

void TypesettingWindow::reset()
{
    if (!m_setter->error().isEmpty())
        return;
    View->setSample(Text->toPlainText(), PointSize->value(), direction(), switchedOn());
    // Where vertical text starts.
    QScrollBar* across = ViewArea->horizontalScrollBar();
    across->setValue(direction() == SettingDirection::Vertical ? across->maximum() : across->minimum());
}

QStringList TypesettingWindow::reportLines() const
{
    QStringList lines;
    lines << QStringLiteral("組版見本: %1").arg(m_fontName);
    lines << QStringLiteral("ファイル: %1（%2 番の書体）").arg(QFileInfo(m_path).fileName()).arg(m_index);
    lines << QStringLiteral("組み方: %1、%2 pt").arg(Direction->currentText()).arg(PointSize->value());
    QStringList on;
    const QList<TypesettingFeature>& features = TypesettingFeatures();
    for (qsizetype i = 0; i < features.size(); ++i) {
        if (Switches.at(i)->isChecked() && features.at(i).appliesTo(direction()))
            on << features.at(i).label();
    }
    lines << QStringLiteral("オンの機能: %1").arg(on.isEmpty() ? QStringLiteral("なし") : on.join(QStringLiteral("、")));
    lines << QString();
    lines << Text->toPlainText().split(u'\n');
    return lines;
}

QList<ReportItem> TypesettingWindow::reportItems(double widthPoints) const
{
    QList<ReportItem> items;
    for (const QString& line : reportLines().mid(0, 4))
        items.append({line, std::nullopt});
    items.append({QString(), std::nullopt});
    if (!m_setter->error().isEmpty())
        return items;
    const SettingDirection setting = direction();
    const QSet<QByteArray> on = switchedOn();
    const QRawFont font = RawFontOfFace(m_path, m_index, DefaultPoints);
    // A figure is set at its size in points, one pixel a point, and keeps
    // the glyphs that fit the page's width.
    const auto figureOf = [&](const QString& text, double points) {
        const TypesetRun run = m_setter->set(text, points, setting, on);
        ReportFigure figure{font, points, {}, {}, {}};
        for (qsizetype i = 0; i < run.glyphs.size(); ++i) {
            const QRectF cell = run.cells.at(i).translated(-run.bounds.topLeft());
            if (cell.right() > widthPoints + 0.01)
                continue;
            figure.glyphs << run.glyphs.at(i);
            figure.positions << run.positions.at(i) - run.bounds.topLeft();
        }
        figure.size = QSizeF(std::min(run.bounds.width(), widthPoints), run.bounds.height() + points * 0.25);
        return figure;
    };
    items.append({QString(), figureOf(Text->toPlainText(), PointSize->value())});
    items.append({QString(), std::nullopt});
    const QString line = waterfallText(Text->toPlainText());
    for (const int points : GlyphSheetSizes) {
        items.append({labelOf(points), std::nullopt});
        items.append({QString(), figureOf(line, points)});
    }
    return items;
}

void TypesettingWindow::copy()
{
    auto data = new QMimeData;
    data->setText(reportLines().join(u'\n'));
    QImage picture(View->size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::white);
    View->render(&picture);
    data->setImageData(picture);
    QApplication::clipboard()->setMimeData(data);
}

TypesetView::TypesetView(const Typesetter& setter, QRawFont font, QWidget* parent)
    : QWidget(parent)
    , m_setter(setter)
    , m_font(std::move(font))
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void TypesetView::setSample(const QString& text, int pointSize, SettingDirection direction, const QSet<QByteArray>& on)
{
    const qreal scale = screenScale(this);
    m_direction = direction;
    m_samplePixels = pointSize * scale;
    m_sample = m_setter.set(text, m_samplePixels, direction, on);
    m_waterfall.clear();
    m_waterfallPixels.clear();
    m_waterfallRects.clear();
    const QString line = waterfallText(text);
    for (const int points : GlyphSheetSizes) {
        m_waterfallPixels << points * scale;
        m_waterfall << m_setter.set(line, points * scale, direction, on);
    }

    // The sample at the top, the waterfall under it: rows labelled on the
    // left when horizontal, columns from right to left labelled on top when
    // vertical.
    const QFontMetrics metrics = fontMetrics();
    const int labelWidth = metrics.horizontalAdvance(labelOf(100)) + LabelGap;
    m_sampleRect = QRectF(QPointF(Margin + labelWidth, Margin), m_sample.bounds.size());
    qreal top = m_sampleRect.bottom() + 2 * Margin;
    qreal width = m_sampleRect.right();
    if (direction == SettingDirection::Horizontal) {
        for (const TypesetRun& run : std::as_const(m_waterfall)) {
            m_waterfallRects << QRectF(QPointF(Margin + labelWidth, top), run.bounds.size());
            top += run.bounds.height() + Margin / 2.0;
            width = std::max(width, m_waterfallRects.constLast().right());
        }
    } else {
        qreal columns = 0;
        qreal tallest = 0;
        for (const TypesetRun& run : std::as_const(m_waterfall)) {
            columns += std::max<qreal>(run.bounds.width(), labelWidth) + Margin;
            tallest = std::max(tallest, run.bounds.height());
        }
        qreal right = std::max<qreal>(Margin + labelWidth + columns, m_sampleRect.right());
        width = right;
        const qreal columnTop = top + metrics.height() + LabelGap / 2.0;
        for (const TypesetRun& run : std::as_const(m_waterfall)) {
            const qreal room = std::max<qreal>(run.bounds.width(), labelWidth);
            m_waterfallRects << QRectF(QPointF(right - room + (room - run.bounds.width()) / 2, columnTop), run.bounds.size());
            right -= room + Margin;
        }
        top = columnTop + tallest;
        // Vertical text starts at the right.
        m_sampleRect.moveRight(width);
    }
    m_size = QSize(int(std::ceil(width)) + Margin, int(std::ceil(top)) + Margin);
    resize(m_size);
    updateGeometry();
    update();
}

QSize TypesetView::sizeHint() const
{
    return m_size;
}

void TypesetView::drawRun(QPainter& painter, const TypesetRun& run, qreal pixelSize, QPointF topLeft) const
{
    if (run.glyphs.isEmpty() || !m_font.isValid())
        return;
    QRawFont font = m_font;
    font.setPixelSize(pixelSize);
    QGlyphRun glyphs;
    glyphs.setRawFont(font);
    glyphs.setGlyphIndexes(run.glyphs);
    glyphs.setPositions(placedFrom(run, QPointF(0, 0)));
    painter.drawGlyphRun(topLeft, glyphs);
    painter.save();
    painter.setBrush(Qt::NoBrush);
    // Characters the face lacks, where its missing glyph is blank, and
    // sequences it lacks, drawn as their base, are marked alike.
    painter.drawRects(platform::blankMissingGlyphBoxes(QList<QGlyphRun>{glyphs}, topLeft));
    for (const qsizetype i : run.unmappedSequences)
        painter.drawRect(run.cells.at(i).translated(topLeft - run.bounds.topLeft()).adjusted(0.5, 0.5, -0.5, -0.5));
    painter.restore();
}

void TypesetView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    const bool vertical = m_direction == SettingDirection::Vertical;
    drawRun(painter, m_sample, m_samplePixels, m_sampleRect.topLeft());
    QPen rule = painter.pen();
    rule.setColor(palette().color(QPalette::Mid));
    painter.save();
    painter.setPen(rule);
    const qreal ruleY = m_sampleRect.bottom() + Margin;
    painter.drawLine(QPointF(Margin, ruleY), QPointF(width() - Margin, ruleY));
    painter.restore();
    const QFontMetrics metrics = fontMetrics();
    for (qsizetype row = 0; row < m_waterfall.size(); ++row) {
        const QRectF place = m_waterfallRects.at(row);
        const QString label = labelOf(GlyphSheetSizes.at(std::size_t(row)));
        if (vertical)
            painter.drawText(QPointF(place.center().x() - metrics.horizontalAdvance(label) / 2.0,
                                     place.top() - LabelGap / 2.0 - metrics.descent()),
                             label);
        else if (const TypesetRun& run = m_waterfall.at(row); !run.positions.isEmpty())
            // On the line's own baseline.
            painter.drawText(QPointF(Margin, place.top() + run.positions.first().y() - run.bounds.top()), label);
        drawRun(painter, m_waterfall.at(row), m_waterfallPixels.at(row), place.topLeft());
    }
}
