#include "face/CharacterGrid.h"

#include "face/JapaneseSets.h"

#include <algorithm>

CharacterGrid::CharacterGrid(std::vector<char32_t> characters)
    : m_characters(std::move(characters))
{
    // The block table is asked only when a character passes the end of the
    // current block, so a large font costs a lookup a block, not a character.
    for (int i = 0; i < size(); ++i) {
        const char32_t c = m_characters[size_t(i)];
        if (!m_groups.empty() && c <= m_groups.back().last) {
            m_groups.back().end = i + 1;
            continue;
        }
        if (const std::optional<UnicodeBlock> block = BlockOf(c)) {
            m_groups.push_back({block->name, block->first, block->last, i, i + 1});
            continue;
        }
        // Characters outside every block, one after another, share a heading.
        const bool outsideBefore = !m_groups.empty() && m_groups.back().end == i
                                   && !BlockOf(m_groups.back().first).has_value();
        if (outsideBefore) {
            m_groups.back().last = c;
            m_groups.back().end = i + 1;
        } else {
            m_groups.push_back({QStringLiteral("ブロック外"), c, c, i, i + 1});
        }
    }
}

void CharacterGrid::layOut(int width, int cellSize, int headingHeight)
{
    m_cellSize = std::max(1, cellSize);
    m_columns = std::max(1, width / m_cellSize);
    m_rows.clear();
    int top = 0;
    int cellRows = 0;
    for (int g = 0; g < int(m_groups.size()); ++g) {
        Group& group = m_groups[size_t(g)];
        group.headingRow = int(m_rows.size());
        group.firstCellRow = cellRows;
        m_rows.push_back({g, -1, -1, top, headingHeight});
        top += headingHeight;
        for (int begin = group.begin; begin < group.end; begin += m_columns) {
            m_rows.push_back({g, begin, std::min(begin + m_columns, group.end), top, m_cellSize});
            top += m_cellSize;
            ++cellRows;
        }
    }
    m_height = top;
    m_cellRows = cellRows;
}

int CharacterGrid::indexOf(char32_t character) const
{
    const auto it = std::lower_bound(m_characters.begin(), m_characters.end(), character);
    return it != m_characters.end() && *it == character ? int(it - m_characters.begin()) : -1;
}

const CharacterGrid::Group& CharacterGrid::groupOf(int index) const
{
    const auto it = std::upper_bound(m_groups.begin(), m_groups.end(), index,
                                     [](int i, const Group& group) { return i < group.begin; });
    return *(it - 1);
}

int CharacterGrid::rowAt(int y) const
{
    if (m_rows.empty())
        return -1;
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), y, [](int at, const Row& row) { return at < row.top; });
    return it == m_rows.begin() ? 0 : int(it - m_rows.begin()) - 1;
}

int CharacterGrid::rowOf(int index) const
{
    const Group& group = groupOf(index);
    return group.headingRow + 1 + (index - group.begin) / m_columns;
}

QRect CharacterGrid::cellRect(int index) const
{
    if (index < 0 || index >= size() || m_rows.empty())
        return {};
    const Row& cells = row(rowOf(index));
    return {(index - cells.begin) * m_cellSize, cells.top, m_cellSize, m_cellSize};
}

int CharacterGrid::indexAt(QPoint point) const
{
    if (point.y() < 0 || point.y() >= m_height || point.x() < 0)
        return -1;
    const Row& cells = row(rowAt(point.y()));
    const int column = point.x() / m_cellSize;
    if (cells.isHeading() || column >= m_columns || cells.begin + column >= cells.end)
        return -1;
    return cells.begin + column;
}

int CharacterGrid::moveVertically(int index, int rows) const
{
    if (index < 0 || index >= size() || m_rows.empty())
        return index;
    const Group& from = groupOf(index);
    const int column = (index - from.begin) % m_columns;
    const int target = std::clamp(from.firstCellRow + (index - from.begin) / m_columns + rows, 0, m_cellRows - 1);
    const auto it = std::upper_bound(m_groups.begin(), m_groups.end(), target,
                                     [](int r, const Group& group) { return r < group.firstCellRow; });
    const Group& to = *(it - 1);
    return std::min(to.begin + (target - to.firstCellRow) * m_columns + column, to.end - 1);
}
