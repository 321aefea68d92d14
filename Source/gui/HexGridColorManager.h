#pragma once

#include "gui/ColorGrid.h"
#include "gui/HexBackground.h"
#include "gui/RoomLookAndFeel.h"
#include "gui/VantaColors.h"

#include <cstddef>

namespace vanta
{
/** Builds the honeycomb's cell colours from the room palette and owns the knob
    look-and-feel; the panel reaches the background's geometry through it. */
class HexGridColorManager : public VantaColors
{
public:
    HexGridColorManager(std::size_t columnCount, std::size_t rowCount, HexBackground* hexBackground);

    HexBackground* getBackground() const noexcept { return background; }
    const ColorGrid& getGrid() const noexcept { return grid; }
    RoomLookAndFeel& getRoomLookAndFeel() noexcept { return roomLookAndFeel; }

private:
    void paintSection(std::initializer_list<std::pair<std::size_t, std::size_t>> cells, const std::string& key);

    std::size_t columns;
    std::size_t rows;
    HexBackground* background;
    ColorGrid grid;
    RoomLookAndFeel roomLookAndFeel;
};
} // namespace vanta
