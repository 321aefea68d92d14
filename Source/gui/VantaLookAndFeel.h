#pragma once

#include "gui/VantaColors.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Base look of the plug-in: white labels, outline-free value boxes and the
    knob painter shared by the algorithm-specific looks. */
class VantaLookAndFeel : public juce::LookAndFeel_V4
{
public:
    /** Where a knob lands inside the slider area the framework hands over. */
    struct KnobGeometry
    {
        float radius;
        float lineWidth;
        juce::Rectangle<float> body;   // the filled disc, inset by half the rim
        juce::Rectangle<int> shine;    // integer square the highlight image fills
        juce::Point<float> pivot;      // centre the pointer turns about
        float pointerThickness;
        float pointerLength;
    };

    VantaLookAndFeel();

    static KnobGeometry getKnobGeometry(int x, int y, int width, int height) noexcept;

    void drawRotarySliderWithColor(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                   float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider,
                                   juce::Colour fill, juce::Colour outline);

protected:
    VantaColors colours;
    juce::Image knobShine;
};
