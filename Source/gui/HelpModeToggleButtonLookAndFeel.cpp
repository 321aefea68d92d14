#include "gui/HelpModeToggleButtonLookAndFeel.h"

#include "gui/CreatePathFromSVG.h"

#include "BinaryData.h"

HelpModeToggleButtonLookAndFeel::HelpModeToggleButtonLookAndFeel()
{
    setColour(juce::Label::textColourId, juce::Colours::white);
    corona = juce::ImageCache::getFromMemory(BinaryData::corona_png, BinaryData::corona_pngSize);
}

void HelpModeToggleButtonLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button,
                                                           const juce::Colour&, bool, bool)
{
    auto logo = createPathFromSVG(BinaryData::verticalLogo_svg);
    if (logo->isEmpty())
        return;

    g.setColour(button.isMouseOver(false) ? juce::Colours::white : juce::Colours::white.withAlpha(juce::uint8(0x4C)));
    logo->applyTransform(
        logo->getTransformToScaleToFit(button.getLocalBounds().toFloat(), true, juce::Justification::centred));
    g.fillPath(*logo);
}

void HelpModeToggleButtonLookAndFeel::drawToggleButton(juce::Graphics& g, juce::ToggleButton& button,
                                                       bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    auto icon = createPathFromSVG(BinaryData::helpmode_svg);

    const auto bounds = button.getLocalBounds().toFloat();
    const auto area = bounds.reduced(bounds.getWidth() / 6.0f, bounds.getHeight() / 6.0f);
    if (! icon->isEmpty())
        icon->applyTransform(icon->getTransformToScaleToFit(area, false));

    juce::Colour colour;
    if (shouldDrawButtonAsDown || button.getToggleState())
    {
        colour = colours.commonColours["selectedButton"];
        g.setOpacity(1.0f);
        if (corona.isValid())
            g.drawImageTransformed(corona,
                                   juce::AffineTransform::scale(bounds.getWidth() / static_cast<float>(corona.getWidth()),
                                                                bounds.getHeight() / static_cast<float>(corona.getHeight())));
    }
    else
    {
        colour = colours.commonColours[shouldDrawButtonAsHighlighted ? "mouseHoverButton" : "idleButton"];
    }

    g.setColour(colour);
    g.fillPath(*icon);
}
