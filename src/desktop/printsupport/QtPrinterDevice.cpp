#include "desktop/printsupport/QtPrinterDevice.h"

#include "desktop/MissingGlyphs.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QRawFont>
#include <QTextLayout>
#include <QPageLayout>
#include <QPageSize>

#include <cmath>

namespace platform {

namespace {
constexpr double TwipsPerInch = 1440.0;
}

QtPrinterDevice::QtPrinterDevice(const QString& workFolder, Delivery delivery,
                                 const QString& documentName)
    : m_file(workFolder + QStringLiteral("/.glyfaro-print-XXXXXX.pdf"))
    , m_delivery(std::move(delivery))
{
    if (!m_file.open()) {
        m_failed = true;
        return;
    }
    m_file.close();
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_printer.setOutputFileName(m_file.fileName());
    m_printer.setDocName(documentName);
    m_printer.setFullPage(false);
    m_font.setPointSize(m_fontSize);
    // Shaping may replace a glyph by a variant the font's character map does
    // not list (Noto CJK does so for digits); the PDF then cannot say which
    // character the glyph stands for, and the printed text cannot be
    // searched or copied. The printouts hold no text that needs shaping.
    m_font.setStyleStrategy(QFont::PreferNoShaping);
}

QtPrinterDevice::~QtPrinterDevice()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

void QtPrinterDevice::setCopies(int copies)
{
    m_copies = copies;
}

void QtPrinterDevice::setPortraitA4()
{
    if (m_painter) {
        m_failed = true;
        return;
    }
    QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Portrait, m_printer.pageLayout().margins(),
                       QPageLayout::Millimeter);
    if (!m_printer.setPageLayout(layout))
        m_failed = true;
}

void QtPrinterDevice::setFontName(const QString& name)
{
    if (name.isEmpty())
        return;
    m_fontName = name;
    m_font.setFamilies({name});
    applyFont();
}

void QtPrinterDevice::setFontSize(int points)
{
    m_fontSize = points;
    m_font.setPointSize(points);
    applyFont();
}

void QtPrinterDevice::setOwnGlyphsOnly(bool on)
{
    const int strategy = m_font.styleStrategy();
    m_font.setStyleStrategy(
        QFont::StyleStrategy(on ? strategy | QFont::NoFontMerging : strategy & ~QFont::NoFontMerging));
    applyFont();
}

void QtPrinterDevice::applyFont()
{
    if (m_painter)
        m_painter->setFont(m_font);
}

double QtPrinterDevice::toDevice(int twips) const
{
    return twips * m_printer.resolution() / TwipsPerInch;
}

int QtPrinterDevice::toTwips(double device) const
{
    return int(std::lround(device * TwipsPerInch / m_printer.resolution()));
}

int QtPrinterDevice::pageWidth() const
{
    return int(m_printer.pageLayout().paintRect(QPageLayout::Inch).width() * TwipsPerInch);
}

int QtPrinterDevice::pageHeight() const
{
    return int(m_printer.pageLayout().paintRect(QPageLayout::Inch).height() * TwipsPerInch);
}

int QtPrinterDevice::lineHeight() const
{
    return std::max(1, toTwips(QFontMetricsF(m_font, &m_printer).height()));
}

bool QtPrinterDevice::begin()
{
    if (m_painter)
        return m_painter->isActive();
    if (m_failed || m_killed)
        return false;
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(&m_printer)) {
        m_failed = true;
        return false;
    }
    m_painter->setPen(Qt::black);
    m_painter->setFont(m_font);
    return true;
}

void QtPrinterDevice::print(const QString& text, LineEnd end)
{
    if (m_killed || m_failed || m_ended || !begin())
        return;
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        printLine(lines.at(i));
        if (m_failed)
            return;
        if (i + 1 < lines.size() || end == LineEnd::EndLine) {
            m_x = 0;
            m_y += lineHeight();
        }
    }
}

bool QtPrinterDevice::makeRoom(int height)
{
    if (m_y + height > pageHeight() && m_y > 0) {
        if (!m_printer.newPage()) {
            m_failed = true;
            return false;
        }
        ++m_page;
        m_y = 0;
    }
    return true;
}

void QtPrinterDevice::printGlyphs(const QRawFont& font, double pointSize, const QList<quint32>& glyphs,
                                  const QList<QPointF>& positions, int heightTwips)
{
    if (m_killed || m_failed || m_ended || !begin() || !makeRoom(heightTwips))
        return;
    const double scale = m_printer.resolution() / 72.0;
    QRawFont raw = font;
    raw.setPixelSize(pointSize * scale);
    QList<QPointF> placed;
    placed.reserve(positions.size());
    for (const QPointF& position : positions)
        placed << position * scale;
    QGlyphRun run;
    run.setRawFont(raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(placed);
    const QPointF origin(toDevice(m_x), toDevice(m_y));
    m_painter->drawGlyphRun(origin, run);
    const QList<QRectF> boxes = blankMissingGlyphBoxes(QList<QGlyphRun>{run}, origin);
    if (!boxes.isEmpty()) {
        m_painter->save();
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawRects(boxes);
        m_painter->restore();
    }
    m_x = 0;
    m_y += heightTwips;
}

void QtPrinterDevice::printLine(const QString& text)
{
    if (!makeRoom(lineHeight()))
        return;
    if (text.isEmpty())
        return;
    const QFontMetricsF metrics(m_font, &m_printer);
    const double left = toDevice(m_x);
    const double room = toDevice(pageWidth()) - left;
    const qsizetype length =
        room <= 0 ? 0 : fittingLength(text, room, [&](const QString& part) { return metrics.horizontalAdvance(part); });
    const QString shown = text.left(length);
    if (!shown.isEmpty()) {
        const bool sample = m_font.styleStrategy() & QFont::NoFontMerging;
        if (sample && hasVariationSelector(shown)) {
            // Qt would draw each sequence in its base's default form.
            QTextLayout layout(shown, m_font, &m_printer);
            layout.beginLayout();
            layout.createLine();
            layout.endLayout();
            drawLayoutMarkingMissing(*m_painter, layout, QPointF(left, toDevice(m_y)));
        } else {
            m_painter->drawText(QPointF(left, toDevice(m_y) + metrics.ascent()), shown);
            if (sample)
                markMissing(shown, QPointF(left, toDevice(m_y)));
        }
    }
    m_x = std::min(pageWidth(), m_x + toTwips(metrics.horizontalAdvance(shown)));
}

void QtPrinterDevice::markMissing(const QString& text, QPointF topLeft)
{
    QTextLayout layout(text, m_font, &m_printer);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    markMissingGlyphs(*m_painter, layout, topLeft);
}

double QtPrinterDevice::textWidth(const QString& text) const
{
    return QFontMetricsF(m_font, &m_printer).horizontalAdvance(text) * TwipsPerInch / m_printer.resolution();
}

bool QtPrinterDevice::endJob()
{
    if (m_killed || m_failed || m_ended)
        return false;
    // A job with no output still makes one (empty) page.
    if (!begin())
        return false;
    m_ended = true;
    if (!m_painter->end()) {
        m_failed = true;
        return false;
    }
    if (!m_delivery(m_file.fileName(), m_copies)) {
        m_failed = true;
        return false;
    }
    return true;
}

void QtPrinterDevice::killJob()
{
    if (m_killed)
        return;
    m_killed = true;
    if (m_painter && m_painter->isActive())
        m_painter->end();
    // The temporary file goes with the device; nothing was handed on.
    m_file.remove();
}

} // namespace platform
