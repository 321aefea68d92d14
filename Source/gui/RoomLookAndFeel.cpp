#include "gui/RoomLookAndFeel.h"

void RoomLookAndFeel::drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                       float rotaryStartAngle, float rotaryEndAngle, juce::Slider& slider)
{
    drawRotarySliderWithColor(g, x, y, width, height, sliderPos, rotaryStartAngle, rotaryEndAngle, slider,
                              colours.palette["knobs"], juce::Colours::whitesmoke);
}
