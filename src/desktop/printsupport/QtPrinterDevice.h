#pragma once

#include "platform/PrinterDevice.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryFile>
#include <functional>
#include <memory>

namespace platform {

// A printer drawn with QPainter on a QPrinter that writes PDF into a
// temporary file beside its destination. Ending the job hands the finished
// file on (see Delivery); killing it only removes the file, so nothing of a
// discarded job ever reaches a printer. Line heights and widths come from the
// font's metrics at the printer's resolution.
class QtPrinterDevice : public PrinterDevice {
public:
    // Takes the finished file; returns false when it could not be delivered.
    using Delivery = std::function<bool(const QString& pdfPath, int copies)>;

    // workFolder holds the temporary file; it must be on the same file
    // system as the destination when the delivery renames the file.
    QtPrinterDevice(const QString& workFolder, Delivery delivery, const QString& documentName);
    ~QtPrinterDevice() override;

    int currentX() const override { return m_x; }
    int currentY() const override { return m_y; }
    void setCurrentX(int twips) override { m_x = twips; }
    void setCurrentY(int twips) override { m_y = twips; }
    void setFontName(const QString& name) override;
    void setFontSize(int points) override;
    void setOwnGlyphsOnly(bool on) override;
    QString fontName() const override { return m_fontName; }
    int fontSize() const override { return m_fontSize; }
    void print(const QString& text, LineEnd end) override;
    void printGlyphs(const QRawFont& font, double pointSize, const QList<quint32>& glyphs,
                     const QList<QPointF>& positions, int heightTwips) override;
    double textWidth(const QString& text) const override;
    int printableWidth() const override { return pageWidth(); }
    int printableHeight() const override { return pageHeight(); }
    int lineHeight() const override;
    int page() const override { return m_page; }
    void setCopies(int copies) override;
    void setPortraitA4() override;
    void setAutomaticPaperSource() override {}
    bool endJob() override;
    void killJob() override;
    bool killed() const override { return m_killed; }
    bool failed() const override { return m_failed; }

    // The printable area in twips.
    int pageWidth() const;
    int pageHeight() const;

private:
    // Boxes where the sample's font leaves a missing glyph blank.
    void markMissing(const QString& text, QPointF topLeft);
    bool begin();
    void applyFont();
    void printLine(const QString& text);
    // Starts a new page when height twips would not fit; false when the
    // printer refused it.
    bool makeRoom(int height);
    double toDevice(int twips) const;
    int toTwips(double device) const;

    QTemporaryFile m_file;
    QPrinter m_printer{QPrinter::HighResolution};
    std::unique_ptr<QPainter> m_painter;
    Delivery m_delivery;
    QFont m_font;
    QString m_fontName;
    int m_fontSize = 9;
    int m_copies = 1;
    int m_x = 0;
    int m_y = 0;
    int m_page = 1;
    bool m_killed = false;
    bool m_failed = false;
    bool m_ended = false;
};

} // namespace platform
