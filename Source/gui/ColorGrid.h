#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstddef>
#include <vector>

/** Cell colours of the honeycomb, indexed cells[row][column]. */
class ColorGrid
{
public:
    ColorGrid(std::size_t columnCount, std::size_t rowCount, std::size_t paletteIndex, juce::Colour colour);

    /** True when (column, row) lies inside the grid. */
    bool contains(std::size_t column, std::size_t row) const noexcept;

    std::vector<std::vector<juce::Colour>> cells;
    std::size_t columns;
    std::size_t rows;
    std::size_t index;
};
