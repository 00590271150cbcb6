#pragma once

#include <QList>
#include <QPointF>
#include <QString>

class QRawFont;

namespace platform {

// How a printed text leaves the print position.
enum class LineEnd {
    Stay,    // just after the text, on the same line
    EndLine, // x = 0 on the next line, one line height lower
};

// A printer as the printouts drive it. Positions are in twips from the
// top-left corner of the printable area. A text is printed at the current
// position; a CR LF inside it starts a new line at x = 0. A line that would
// not fit above the bottom of the printable area goes to the top of a new
// page, and the page number goes up by one. A text that would run past the
// right edge is cut there, never wrapped.
class PrinterDevice {
public:
    virtual ~PrinterDevice() = default;

    virtual int currentX() const = 0;
    virtual int currentY() const = 0;
    virtual void setCurrentX(int twips) = 0;
    virtual void setCurrentY(int twips) = 0;

    // An empty name keeps the current face: asking for a face that is not
    // installed walks every installed font.
    virtual void setFontName(const QString& name) = 0;
    virtual void setFontSize(int points) = 0;
    // On: texts show the font's own glyphs only, a character it lacks as
    // missing (for samples). Off: another face stands in (for labels).
    virtual void setOwnGlyphsOnly(bool on) = 0;
    virtual QString fontName() const = 0;
    virtual int fontSize() const = 0;

    virtual void print(const QString& text, LineEnd end) = 0;
    // Draws glyphs of one face, already set, at the current position:
    // positions in points from there, the glyphs drawn at pointSize. Then
    // moves to x = 0, heightTwips lower. A figure that would not fit above
    // the bottom goes to the top of a new page, as a line does.
    virtual void printGlyphs(const QRawFont& font, double pointSize, const QList<quint32>& glyphs,
                             const QList<QPointF>& positions, int heightTwips) = 0;
    // How wide text prints in the current font, in twips.
    virtual double textWidth(const QString& text) const = 0;
    // The width and height of the printable area in twips.
    virtual int printableWidth() const = 0;
    virtual int printableHeight() const = 0;
    // How far a line end moves down in the current font, in twips.
    virtual int lineHeight() const = 0;
    // 1 on the first page.
    virtual int page() const = 0;

    // Set-up before the first output.
    virtual void setCopies(int copies) = 0;
    virtual void setPortraitA4() = 0;
    virtual void setAutomaticPaperSource() = 0;

    // Sends the job; false when the printer refused it.
    virtual bool endJob() = 0;
    // Discards the job: nothing more is printed and nothing reaches the printer.
    virtual void killJob() = 0;
    virtual bool killed() const = 0;

    // A printer that refused a setting or a page; the job cannot go on.
    virtual bool failed() const = 0;
};

// Which part of text fits into width twips, where widthOf measures a text.
// The whole text when it fits; never less than nothing.
template <typename Measure>
qsizetype fittingLength(const QString& text, double width, Measure widthOf)
{
    if (widthOf(text) <= width)
        return text.size();
    qsizetype low = 0;
    qsizetype high = text.size();
    // Widths grow with length, so the longest prefix that fits is found by halving.
    while (low < high) {
        const qsizetype middle = (low + high + 1) / 2;
        if (widthOf(text.left(middle)) <= width)
            low = middle;
        else
            high = middle - 1;
    }
    // Never split a surrogate pair.
    if (low > 0 && text.at(low - 1).isHighSurrogate())
        --low;
    return low;
}

} // namespace platform
