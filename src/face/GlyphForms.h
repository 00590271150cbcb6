#pragma once

#include <QList>
#include <QString>

#include <vector>

// Which glyph forms a Japanese face draws by default and which it can
// switch to, read from its own OpenType features; and the variation
// sequences (base character plus selector) its cmap format 14 subtable
// maps. A face that names no switch is never guessed at.

struct GlyphForms {
    bool jp78 = false;
    bool jp83 = false;
    bool jp90 = false;
    bool jp04 = false;
    // The variation selectors the face uses, in order, and how many
    // sequences it maps in all.
    std::vector<char32_t> selectors;
    int sequences = 0;
    QString error; // the face could not be read; nothing else is then set
};

GlyphForms GlyphFormsOf(const QString& path, int index);
// The same of a face already open (one read from memory).
struct hb_face_t;
GlyphForms GlyphFormsOfFace(hb_face_t* face);

// "JIS2004 字形（jp90 で JIS90 字形）", "JIS90 字形（jp04 で JIS2004 字形）",
// "不明（jp90/jp04 の切り替えなし）", with jp78 and jp83 named where present.
QString GlyphFormsText(const GlyphForms& forms);

// The face's variation sequences as the details window names them:
// "14,787 個（セレクタ 17 種: U+E0100–U+E0110）", or "なし".
QString VariationSequencesText(const GlyphForms& forms);

// A character the face's own jp90 (or jp04) lookups draw another way, with
// both glyphs.
struct SwitchedCharacter {
    char32_t character = 0;
    quint32 glyph = 0;         // drawn by default
    quint32 switchedGlyph = 0; // drawn with the feature on
};

// The characters the feature switches, in code point order; feature is
// "jp90" or "jp04" (any four-letter tag). Each is shaped both ways and kept
// only where the glyph really differs.
QList<SwitchedCharacter> CharactersSwitchedBy(const QString& path, int index, const char* feature);

// The variants of one base character the face maps: each selector with the
// glyph it gives, in selector order.
struct Variant {
    char32_t selector = 0;
    quint32 glyph = 0;
};
QList<Variant> VariantsOf(const QString& path, int index, char32_t base);

// The base characters that have at least one variation sequence in the
// face, in code point order.
std::vector<char32_t> BasesWithVariants(const QString& path, int index);

// Whether the face maps the sequence base + selector.
bool FaceHasSequence(const QString& path, int index, char32_t base, char32_t selector);
// The glyph the face maps the sequence to; 0 when it maps none.
quint32 SequenceGlyph(const QString& path, int index, char32_t base, char32_t selector);

// Whether a code point is a variation selector (U+FE00–U+FE0F,
// U+E0100–U+E01EF).
bool IsVariationSelector(char32_t c);

// "U+845B U+E0100"
QString SequenceText(char32_t base, char32_t selector);
