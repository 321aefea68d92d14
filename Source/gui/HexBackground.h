#pragma once

#include "gui/ColorGrid.h"
#include "gui/VantaColors.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstddef>

/** The honeycomb behind the whole window: flat hexagons from a colour grid,
    a soft glow from the top edge, the section titles and the edition logo. */
class HexBackground : public juce::Component
{
public:
    HexBackground(std::size_t columnCount, std::size_t rowCount, float widthRatio, float originXRatio,
                  float originYRatio);

    void paint(juce::Graphics& g) override;
    void resized() override;

    void setGrid(const ColorGrid& newGrid);
    void setGradientColour(juce::Colour colour) { gradientColour = colour; }

    /** Rectangle of hexagon (column, row) that knobs and titles are centred in. */
    juce::Rectangle<int> getCellBounds(int column, int row) const noexcept;

    /** Where the edition logo is drawn, unrounded. */
    juce::Rectangle<float> getLogoBounds() const noexcept;

    float getHalfHexWidth() const noexcept { return s; }
    float getHexRadius() const noexcept { return R; }
    float getRowStep() const noexcept { return rowStep; }
    float getColumnStep() const noexcept { return columnStep; }
    float getOriginX() const noexcept { return originX; }
    float getOriginY() const noexcept { return originY; }

private:
    VantaColors colours;
    std::size_t columns;
    std::size_t rows;
    float hexWidthRatio;
    float originXFactor;
    float originYFactor;
    float s = 0.0f, R = 0.0f, rowStep = 0.0f, columnStep = 0.0f, originX = 0.0f, originY = 0.0f;
    ColorGrid grid;
    juce::Image editionLogo;
    juce::Colour gradientColour;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(HexBackground)
};
