#include "gui/HexBackground.h"

#include "BinaryData.h"

HexBackground::HexBackground(std::size_t columnCount, std::size_t rowCount, float widthRatio, float originXRatio,
                             float originYRatio)
    : columns(columnCount),
      rows(rowCount),
      hexWidthRatio(widthRatio),
      originXFactor(originXRatio),
      originYFactor(originYRatio),
      grid(10, 6, 0, juce::Colours::black),
      gradientColour(colours.palette["gradient"])
{
    editionLogo = juce::ImageCache::getFromMemory(BinaryData::brisaLogo_png, BinaryData::brisaLogo_pngSize);
    // Opaque: every pixel is covered by a hexagon.
    setOpaque(true);
}

void HexBackground::setGrid(const ColorGrid& newGrid)
{
    grid = newGrid;
    repaint();
}

void HexBackground::resized()
{
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    s = w * hexWidthRatio * 0.5f;
    R = s / 0.8660254f;
    rowStep = 1.5f * R;
    columnStep = 2.0f * s;
    originX = w * originXFactor;
    originY = h * originYFactor;
}

juce::Rectangle<int> HexBackground::getCellBounds(int column, int row) const noexcept
{
    const float shift = (row % 2 != 0) ? s : 0.0f;
    return { juce::roundToInt(originX + shift + static_cast<float>(column) * columnStep),
             juce::roundToInt(originY + static_cast<float>(row) * rowStep), juce::roundToInt(2.0f * s),
             juce::roundToInt(1.5f * R) };
}

juce::Rectangle<float> HexBackground::getLogoBounds() const noexcept
{
    const auto w = static_cast<float>(getWidth());
    const auto h = static_cast<float>(getHeight());
    const float lw = 0.558f * w;
    return { w - lw - 0.035f * h, 0.033f * h, lw, lw * 0.16330728f };
}

void HexBackground::paint(juce::Graphics& g)
{
    for (std::size_t r = 0; r < rows; ++r)
    {
        for (std::size_t c = 0; c < columns; ++c)
        {
            const auto colour = grid.contains(c, r) ? grid.cells[r][c] : juce::Colours::black;
            const float px = originX + ((r % 2 != 0) ? s : 0.0f) + static_cast<float>(c) * columnStep;
            const float py = originY + static_cast<float>(r) * rowStep + R / 4.0f;

            juce::Path hexagon;
            hexagon.startNewSubPath(px, py);
            hexagon.lineTo(px + s, py - R / 2.0f);
            hexagon.lineTo(px + 2.0f * s, py);
            hexagon.lineTo(px + 2.0f * s, py + R);
            hexagon.lineTo(px + s, py + 1.5f * R);
            hexagon.lineTo(px, py + R);
            hexagon.closeSubPath();

            g.setColour(colour);
            g.fillPath(hexagon);
        }
    }

    const int halfWidth = getWidth() / 2;
    g.setGradientFill(juce::ColourGradient(gradientColour, static_cast<float>(halfWidth), 0.0f,
                                           juce::Colour(0x00000000u), static_cast<float>(halfWidth),
                                           static_cast<float>((2 * getHeight()) / 5), false));
    g.fillAll();

    g.setFont(juce::Font(0.065f * static_cast<float>(getHeight()), juce::Font::bold));
    g.setColour(colours.commonColours["categoryLettering"]);
    g.drawText("Tone", getCellBounds(5, 2), juce::Justification::centred, true);
    g.drawText("Shape", getCellBounds(6, 2), juce::Justification::centred, true);
    g.drawText("Damping", getCellBounds(7, 2), juce::Justification::centred, true);

    g.setColour(juce::Colours::white);
    if (editionLogo.isValid())
    {
        const auto logo = getLogoBounds();
        g.drawImageTransformed(editionLogo,
                               juce::AffineTransform::scale(logo.getWidth() / static_cast<float>(editionLogo.getWidth()),
                                                            logo.getHeight() / static_cast<float>(editionLogo.getHeight()))
                                   .translated(logo.getX(), logo.getY()));
    }
}
