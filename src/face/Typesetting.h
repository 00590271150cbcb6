#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QSet>
#include <QString>

#include <memory>

// Text set in one face of a font file by HarfBuzz, with the OpenType
// features a Japanese typesetter switches on and off, horizontally or top to
// bottom.

enum class SettingDirection { Horizontal, Vertical };

// One switch of the typesetting sample. A switch may stand for more than one
// tag: vertical forms come from vert or, where the face has it, vrt2.
struct TypesettingFeature {
    enum Setting { Both, HorizontalOnly, VerticalOnly };
    QList<QByteArray> tags;
    QString name;              // "プロポーショナル字幅"
    bool onByDefault = false;  // what a program setting Japanese does unasked
    // Vertical forms and widths turned on in horizontal text would set it
    // with turned brackets; such a switch is off in the other direction.
    Setting setting = Both;
    bool appliesTo(SettingDirection direction) const;
    // "プロポーショナル字幅 (palt)", "縦組み用字形 (vert/vrt2)"
    QString label() const;
};

// Every switch, in the order a typesetter looks for them: widths and
// kerning, vertical forms, glyph forms, widths of forms, kana and the rest.
const QList<TypesettingFeature>& TypesettingFeatures();

// Where the glyphs of a set text go. Coordinates are pixels, y growing
// downwards.
// - Horizontally, each line of the text is a line of the sample, the first
//   with its top at y = 0 and its pen starting at x = 0; the next line
//   stands lower by the line pitch.
// - Vertically, each line is a column; the first column's centre line is
//   x = 0 and its top y = 0, each later column stands 1.5 em further left.
struct TypesetRun {
    QList<quint32> glyphs;
    // Where each glyph's own origin goes, as a glyph run draws it.
    QList<QPointF> positions;
    // Each glyph's place in its line: as wide (horizontally) or tall
    // (vertically) as its advance, across the line's em box.
    QList<QRectF> cells;
    // For each glyph, the index in the text (UTF-16) of the character it
    // came from.
    QList<quint32> clusters;
    // The glyphs of a base character whose variation sequence the face does
    // not map: it is drawn in its default form, and the sample marks it.
    QList<qsizetype> unmappedSequences;
    // Whether the face has a vert or vrt2 feature at all.
    bool usedVerticalForms = false;
    // The lines' boxes, each as long as its glyphs' advances.
    QRectF bounds;
    QString error; // set when the file could not be read; nothing else is then
};

// One face opened for setting, kept open so that a new text, size or switch
// shapes again without reading the file.
class Typesetter {
public:
    Typesetter(const QString& fontPath, int faceIndex);
    ~Typesetter();
    Typesetter(const Typesetter&) = delete;
    Typesetter& operator=(const Typesetter&) = delete;

    // Why the face cannot be set; empty when it can.
    QString error() const { return m_error; }
    // Whether the face's GSUB or GPOS lists the tag ("palt").
    bool hasFeature(const QByteArray& tag) const;
    // Whether the face has any tag of the switch.
    bool has(const TypesettingFeature& feature) const;

    // Sets text at pixelSize. Each switch's tags that the face has are
    // turned on when on holds them and the switch applies to the direction,
    // and off otherwise; features outside the switches keep HarfBuzz's
    // defaults.
    TypesetRun set(const QString& text, qreal pixelSize, SettingDirection direction, const QSet<QByteArray>& on) const;

private:
    struct Face;
    std::unique_ptr<Face> m_face;
    QString m_error;
};

// The tags of the switches that are on by default.
QSet<QByteArray> DefaultTypesettingTags();
