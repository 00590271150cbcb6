#pragma once

#include "face/GlyphForms.h"

#include <QWidget>

class QLabel;
class QPushButton;
class SwitchedGlyphsGrid;

// The characters a face draws another way when its jp90 or jp04 switch is
// on, each drawn both ways side by side: what a document set in the face
// changes when the switch changes. The list copies as text.
class SwitchedGlyphsWindow : public QWidget {
    Q_OBJECT

public:
    SwitchedGlyphsWindow(const QString& fontName, const QString& path, int index, QWidget* parent = nullptr);

    const QList<SwitchedCharacter>& characters() const { return m_characters; }
    // "辻	U+8FBB" a line each.
    QString listText() const;

    QLabel* Summary = nullptr;
    SwitchedGlyphsGrid* Grid = nullptr;
    QPushButton* CopyButton = nullptr;

private:
    QList<SwitchedCharacter> m_characters;
};

// The pairs in rows: the default glyph, then the switched one, the code
// point below.
class SwitchedGlyphsGrid : public QWidget {
    Q_OBJECT

public:
    SwitchedGlyphsGrid(const QString& path, int index, QList<SwitchedCharacter> characters, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    // Where the pair of the i-th character is drawn.
    QRect cellRect(int i) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int columnsFor(int width) const;

    QString m_path;
    int m_index = 0;
    QList<SwitchedCharacter> m_characters;
};
