#pragma once

#include "gui/VantaColors.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** Draws the two icon buttons of the window: the help-mode toggle (question
    mark, glowing while on) and the info button (the maker's vertical logo). */
class HelpModeToggleButtonLookAndFeel : public juce::LookAndFeel_V4
{
public:
    HelpModeToggleButtonLookAndFeel();

    /** Info button: the logo only; the colour argument and the text are unused. */
    void drawButtonBackground(juce::Graphics& g, juce::Button& button, const juce::Colour& backgroundColour,
                              bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    void drawToggleButton(juce::Graphics& g, juce::ToggleButton& button, bool shouldDrawButtonAsHighlighted,
                          bool shouldDrawButtonAsDown) override;

private:
    VantaColors colours;
    juce::Image corona;
};
