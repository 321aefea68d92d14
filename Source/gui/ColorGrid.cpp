#include "gui/ColorGrid.h"

ColorGrid::ColorGrid(std::size_t columnCount, std::size_t rowCount, std::size_t paletteIndex, juce::Colour colour)
    : cells(rowCount, std::vector<juce::Colour>(columnCount, colour)),
      columns(columnCount),
      rows(rowCount),
      index(paletteIndex)
{
}

bool ColorGrid::contains(std::size_t column, std::size_t row) const noexcept
{
    return row < cells.size() && column < cells[row].size();
}
