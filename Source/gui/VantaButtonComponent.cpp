#include "gui/VantaButtonComponent.h"

#include <algorithm>

VantaButtonComponent::VantaButtonComponent(std::string name, std::string suffix)
{
    slider.setSliderStyle(juce::Slider::RotaryVerticalDrag);
    // Placeholder range until a parameter attachment takes over.
    slider.setRange(0.0, 1.0, 0.01);
    slider.setTextValueSuffix(juce::String::fromUTF8(suffix.data(), static_cast<int>(suffix.size())));
    label.setJustificationType(juce::Justification::centred);
    label.setText(juce::String::fromUTF8(name.data(), static_cast<int>(name.size())), juce::dontSendNotification);
    addAndMakeVisible(slider);
    addAndMakeVisible(label);
}

void VantaButtonComponent::resized()
{
    const int w = getWidth();
    const float h = static_cast<float>(getHeight());
    const int labelHeight = static_cast<int>(labelHeightRatio * h);

    label.setBounds(0, 0, w, labelHeight);
    const juce::Font font(static_cast<float>(labelHeight) * 0.85f, juce::Font::bold);
    if (label.getFont() != font)
        label.setFont(font);

    const int boxWidth = static_cast<int>(textBoxWidthRatio * h);
    const int boxHeight = static_cast<int>(textBoxHeightRatio * h);
    slider.setTextBoxStyle(juce::Slider::TextBoxBelow, false, boxWidth, boxHeight);

    const int knob = static_cast<int>(std::min(static_cast<float>(w), (1.0f - (labelHeightRatio + textBoxHeightRatio)) * h));
    const int sliderWidth = std::max(knob, boxWidth);
    slider.setBounds(static_cast<int>(static_cast<float>(w - sliderWidth) * 0.5f), labelHeight, sliderWidth,
                     knob + boxHeight);
}
