#pragma once

#include "platform/PrinterDevice.h"

#include <QList>
#include <QString>
#include <functional>

// A printer with a fixed line height, page size and character width that
// keeps every printed text with its page and position.
class RecordingPrinter : public platform::PrinterDevice {
public:
    struct Piece {
        int page;
        int x;
        int y;
        QString text;
        QString font;
        int size;
        bool ownGlyphsOnly;
    };

    int currentX() const override { return x; }
    int currentY() const override { return y; }
    void setCurrentX(int twips) override { x = twips; }
    void setCurrentY(int twips) override { y = twips; }
    void setFontName(const QString& name) override
    {
        if (!name.isEmpty())
            font = name;
    }
    void setFontSize(int points) override { size = points; }
    void setOwnGlyphsOnly(bool on) override { ownGlyphsOnly = on; }
    QString fontName() const override { return font; }
    int fontSize() const override { return size; }
    int page() const override { return pageNumber; }
    double textWidth(const QString& text) const override { return double(text.size() * charWidth); }
    int printableWidth() const override { return pageWidth; }
    int printableHeight() const override { return pageHeight; }
    int lineHeight() const override { return lineStep; }
    void setCopies(int value) override { copies = value; }
    void setPortraitA4() override { portraitA4 = true; }
    void setAutomaticPaperSource() override { automaticSource = true; }
    bool endJob() override
    {
        ++endCalls;
        return !failed() && !isKilled;
    }
    void killJob() override { isKilled = true; }
    bool killed() const override { return isKilled; }
    bool failed() const override { return failAfter >= 0 && pieces.size() >= failAfter; }

    void print(const QString& text, platform::LineEnd end) override
    {
        if (isKilled) {
            ++printsAfterKill;
            return;
        }
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (y + lineStep > pageHeight && y > 0) {
                ++pageNumber;
                y = 0;
            }
            const QString& line = lines.at(i);
            if (!line.isEmpty()) {
                const qsizetype length = platform::fittingLength(
                    line, pageWidth - x, [this](const QString& part) { return double(part.size() * charWidth); });
                pieces.append({pageNumber, x, y, line.left(length), font, size, ownGlyphsOnly});
                x = std::min(pageWidth, x + int(length) * charWidth);
            }
            if (i + 1 < lines.size() || end == platform::LineEnd::EndLine) {
                x = 0;
                y += lineStep;
            }
        }
        if (onPrint)
            onPrint();
    }

    void printGlyphs(const QRawFont&, double pointSize, const QList<quint32>& glyphs, const QList<QPointF>&,
                     int heightTwips) override
    {
        if (isKilled) {
            ++printsAfterKill;
            return;
        }
        if (y + heightTwips > pageHeight && y > 0) {
            ++pageNumber;
            y = 0;
        }
        figures.append({pageNumber, x, y, heightTwips, pointSize, glyphs});
        x = 0;
        y += heightTwips;
    }

    // The pieces of one page whose text is not only blanks, in print order.
    QList<Piece> visible(int onPage) const
    {
        QList<Piece> out;
        for (const Piece& piece : pieces) {
            if (piece.page == onPage && !piece.text.trimmed().isEmpty())
                out.append(piece);
        }
        return out;
    }

    struct Figure {
        int page;
        int x;
        int y;
        int height;
        double pointSize;
        QList<quint32> glyphs;
    };

    int lineStep = 200;
    int pageHeight = 16000;
    int pageWidth = 11000;
    int charWidth = 60;
    int x = 0;
    int y = 0;
    int pageNumber = 1;
    QString font = QStringLiteral("DefaultFace");
    int size = 9;
    bool ownGlyphsOnly = false;
    int copies = 1;
    bool portraitA4 = false;
    bool automaticSource = false;
    bool isKilled = false;
    int endCalls = 0;
    int printsAfterKill = 0;
    // The printer refuses everything once this many pieces were printed.
    qsizetype failAfter = -1;
    std::function<void()> onPrint;
    QList<Piece> pieces;
    QList<Figure> figures;
};
