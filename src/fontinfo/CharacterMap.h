#pragma once

#include "face/GlyphForms.h"

#include <QRawFont>
#include <QStringList>
#include <QWidget>

class QAbstractScrollArea;
class QLabel;
class QLineEdit;
class QPushButton;
class CharacterGridView;
class GlyphPreview;
class VariantStrip;

// What the character map tells of one character, a line a fact: its code
// point ("U+4E9C"), its Unicode block, its JIS place ("区点 16-01" in JIS X
// 0208, "面区点 1-47-82" beyond it), its Shift_JIS code ("31", "889F") or
// that JIS and Shift_JIS lack it, and whether it is a jōyō or jinmeiyō kanji.
QStringList CharacterFacts(char32_t character);

// The character map: every character a font face holds, drawn from the
// font file itself, grouped by Unicode block, with the chosen character
// drawn large beside its facts and ready to copy.
class CharacterMap : public QWidget {
    Q_OBJECT

public:
    // Side of a cell of the grid, in pixels.
    static constexpr int CellPixels = 36;

    // Reads the characters of face faceIndex of the file at path; fontName
    // is the name the title shows.
    CharacterMap(const QString& fontName, const QString& path, int faceIndex, QWidget* parent = nullptr);
    ~CharacterMap() override;
    QSize sizeHint() const override;

    int characterCount() const;
    // The chosen character; 0 when the face has none.
    char32_t selectedCharacter() const;
    // Chooses character and scrolls it into sight; false when the face lacks it.
    bool selectCharacter(char32_t character);
    // Goes to the character a text names, as the go-to field does; false,
    // with the reason beside the field, when it names none or the face lacks it.
    bool goTo(const QString& text);
    // Cells to a row at the grid's present width.
    int columns() const;
    // Where the character's cell is on the grid's viewport; empty when the
    // face lacks it.
    QRect cellRect(char32_t character) const;
    // The face the grid draws with; not valid when the file cannot be drawn.
    QRawFont glyphFont() const;
    // Puts the chosen character on the clipboard.
    void copySelected();
    // The variants of the chosen character the face maps, as shown; the
    // i-th one's place in the variant strip; its whole sequence copied.
    QList<Variant> variantsShown() const;
    QRect variantRect(int i) const;
    QWidget* variantStrip() const;
    void copyVariant(int i);

    QAbstractScrollArea* Grid = nullptr;
    QLabel* ErrorLabel = nullptr; // shown instead of the grid when the file cannot be read
    QLabel* FactsLabel = nullptr;
    QLabel* CountLabel = nullptr;
    QLineEdit* GoToField = nullptr;
    QLabel* GoToNote = nullptr;
    QPushButton* CopyButton = nullptr;
    QLabel* VariantsLabel = nullptr;

private:
    void createControls(const QString& error);
    void showSelected();

    CharacterGridView* m_view = nullptr;
    GlyphPreview* m_preview = nullptr;
    VariantStrip* m_variants = nullptr;
    QWidget* m_variantArea = nullptr;
    QString m_path;
    int m_faceIndex = 0;
    bool m_hasVariants = false;
};
