#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <string>

/** A knob with its name above it and its value box below. Draws with the
    look-and-feel of its parent. */
class VantaButtonComponent : public juce::Component
{
public:
    VantaButtonComponent(std::string name, std::string suffix);

    void paint(juce::Graphics&) override {}
    void resized() override;

    juce::Slider slider;
    juce::Label label;

    // Shares of the unit's height; the owner sets them before the first layout.
    float labelHeightRatio = 0.23f;
    float textBoxHeightRatio = 0.2f;
    float textBoxWidthRatio = 0.75f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(VantaButtonComponent)
};
