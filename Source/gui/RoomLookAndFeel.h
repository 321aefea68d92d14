#pragma once

#include "gui/VantaLookAndFeel.h"

/** Knob look of the room algorithm: grey discs with whitesmoke rim and pointer. */
class RoomLookAndFeel : public VantaLookAndFeel
{
public:
    void drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                          float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider) override;
};
