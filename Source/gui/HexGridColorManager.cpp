#include "gui/HexGridColorManager.h"

namespace vanta
{
HexGridColorManager::HexGridColorManager(std::size_t columnCount, std::size_t rowCount, HexBackground* hexBackground)
    : columns(columnCount), rows(rowCount), background(hexBackground), grid(columnCount, rowCount, 1, juce::Colours::black)
{
    for (auto& row : grid.cells)
        for (auto& cell : row)
            cell = palette["background"];

    // (column, row). Each section is one step brighter than the one to its left.
    paintSection({ { 4, 2 }, { 5, 2 }, { 4, 3 }, { 4, 4 } }, "tone");
    paintSection({ { 6, 2 }, { 5, 3 }, { 5, 4 } }, "damping");
    paintSection({ { 7, 2 }, { 6, 3 }, { 6, 4 } }, "ducking");
}

void HexGridColorManager::paintSection(std::initializer_list<std::pair<std::size_t, std::size_t>> cells,
                                       const std::string& key)
{
    const auto colour = palette[key];
    for (const auto& [column, row] : cells)
        if (grid.contains(column, row))
            grid.cells[row][column] = colour;
}
} // namespace vanta
