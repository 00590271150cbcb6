#pragma once

#include <QRect>
#include <QString>
#include <vector>

// The character map's layout: a font's characters grouped by Unicode block,
// each group a heading row followed by rows of cells, as many cells to a row
// as the width allows. It knows nothing of windows, so the arithmetic of
// rows, cells and moves can be tested and timed on its own; a font of 65,000
// characters lays out in well under a millisecond.
class CharacterGrid {
public:
    // The characters of one block, or a run of characters outside every block.
    struct Group {
        QString name;   // the block's name, or "ブロック外" for a run outside them
        char32_t first; // the block's range, or the run's
        char32_t last;
        int begin;      // index of the group's first character
        int end;        // one past the index of its last
        int headingRow = 0;   // where layOut puts the heading
        int firstCellRow = 0; // the group's first cell row, counting cell rows only
    };
    // A row as drawn: a group's heading, or the cells of characters begin..end-1.
    struct Row {
        int group;
        int begin; // -1 for a heading
        int end;
        int top;
        int height;
        bool isHeading() const { return begin < 0; }
    };

    // The characters in code point order, as the face reader gives them.
    explicit CharacterGrid(std::vector<char32_t> characters = {});

    // Lays the rows out for a width: cellSize square cells, headings
    // headingHeight high, at least one column.
    void layOut(int width, int cellSize, int headingHeight);

    int size() const { return int(m_characters.size()); }
    char32_t characterAt(int index) const { return m_characters[size_t(index)]; }
    // The index of a character, -1 when the font lacks it.
    int indexOf(char32_t character) const;
    const std::vector<Group>& groups() const { return m_groups; }
    // The group that holds the character at index.
    const Group& groupOf(int index) const;

    int columns() const { return m_columns; }
    int cellSize() const { return m_cellSize; }
    int height() const { return m_height; }
    int rowCount() const { return int(m_rows.size()); }
    const Row& row(int r) const { return m_rows[size_t(r)]; }
    // The row at height y, clamped to the first and last rows; -1 when there are none.
    int rowAt(int y) const;
    // The cell row that holds the character at index.
    int rowOf(int index) const;
    QRect cellRect(int index) const;
    // The character whose cell holds point, -1 for a heading or an empty place.
    int indexAt(QPoint point) const;
    // The character rows cell rows below index (above for a negative count), in
    // the same column or the last of a shorter row; headings are passed over,
    // and the move stops at the first and last rows.
    int moveVertically(int index, int rows) const;

private:
    std::vector<char32_t> m_characters;
    std::vector<Group> m_groups;
    std::vector<Row> m_rows;
    int m_columns = 1;
    int m_cellSize = 1;
    int m_height = 0;
    int m_cellRows = 0;
};
