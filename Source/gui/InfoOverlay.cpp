#include "gui/InfoOverlay.h"

#include "core/PluginProcessor.h"

#include "BinaryData.h"

#include <algorithm>

InfoOverlay::InfoOverlay()
{
    closeButton.setButtonText("Close");
    closeButton.addListener(this);
    addAndMakeVisible(closeButton);
    setLookAndFeel(&lookAndFeel);
    logo = juce::ImageCache::getFromMemory(BinaryData::QDVSmallLogoDarkBG_v1_png,
                                           BinaryData::QDVSmallLogoDarkBG_v1_pngSize);
}

InfoOverlay::~InfoOverlay()
{
    closeButton.removeListener(this);
    // Our look-and-feel member dies before the Component base: let go of it first.
    setLookAndFeel(nullptr);
}

juce::String InfoOverlay::getHostFormatName(int format)
{
    static const char* const names[] = { "Undef", "VST", "VST3", "AU", "AUv3", "AAX", "StdAl", "Unity", "LV2" };
    if (format < 0 || format >= static_cast<int>(std::size(names)))
        return "Unknown";
    return names[format];
}

juce::String InfoOverlay::getInfoText() const
{
    return juce::String("Version & build: ") + SonarisAudioProcessor::versionString + " x64 "
           + getHostFormatName(hostFormat) + "\n" + webAddress + "\n" + juce::String::fromUTF8(rightsNotice);
}

void InfoOverlay::resized()
{
    const auto w = static_cast<float>(getWidth());
    auto area = getLocalBounds().toFloat();
    area.removeFromLeft(std::min(area.getWidth(), 0.15f * w));
    area.removeFromRight(std::min(area.getWidth(), 0.15f * w));
    panel = area.reduced(static_cast<float>(getHeight() / 3));

    const float buttonWidth = 0.35f * panel.getWidth();
    const float buttonHeight = 0.2f * panel.getHeight();
    closeButton.setBounds(juce::roundToInt((w - buttonWidth) / 2.0f),
                          juce::roundToInt(panel.getBottom() - 0.1f * panel.getHeight() - buttonHeight),
                          (8 * juce::roundToInt(buttonWidth)) / 10, juce::roundToInt(buttonHeight));
}

juce::Rectangle<int> InfoOverlay::getTextArea() const noexcept
{
    const float m = margin();
    return { static_cast<int>(panel.getX() + m), static_cast<int>(panel.getY() + 0.5f * m),
             static_cast<int>(panel.getWidth() - 2.0f * m), static_cast<int>(0.5f * panel.getHeight()) };
}

juce::Rectangle<float> InfoOverlay::getLogoArea() const noexcept
{
    const float width = 0.2f * panel.getWidth();
    return { panel.getX() + 22.0f * panel.getWidth() / 30.0f, panel.getY() + 0.125f * panel.getHeight(), width,
             width * 1.1538461f };
}

void InfoOverlay::paint(juce::Graphics& g)
{
    g.fillAll(colours.commonColours["backgroundOverlay"]);

    g.setColour(colours.commonColours["textBoxColor"]);
    g.fillRect(panel);
    g.setColour(juce::Colours::black);
    g.drawRect(panel, 1.0f);

    g.setColour(juce::Colours::white);
    g.setFont(juce::Font(getTextHeight()));
    g.drawFittedText(getInfoText(), getTextArea(), juce::Justification::centredLeft, 3, 0.8f);

    if (logo.isValid())
    {
        const auto area = getLogoArea();
        g.drawImage(logo, area, juce::RectanglePlacement::stretchToFit);
    }
}

void InfoOverlay::buttonClicked(juce::Button* button)
{
    if (button == &closeButton)
        setVisible(false);
}
