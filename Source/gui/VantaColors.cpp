#include "gui/VantaColors.h"

VantaColors::VantaColors()
{
    palette = {
        { "background", juce::Colour(0xFF0F0F0Fu) },
        { "tone", juce::Colour(0xFF05251Eu) },
        { "damping", juce::Colour(0xFF00664Au) },
        { "ducking", juce::Colour(0xFF00D4A8u) },
        { "knobs", juce::Colour(0xFF5A5A5Au) },
        { "gradient", juce::Colour(0x2EFFFFFFu) },
    };

    commonColours = {
        { "categoryLettering", juce::Colour(0xB2FFFFFFu) },
        { "idleButton", juce::Colour(0xFF5C5C5Cu) },
        { "mouseHoverButton", juce::Colour(0xFF8F8F8Fu) },
        { "selectedButton", juce::Colour(0xFFFFFFFFu) },
        { "backgroundOverlay", juce::Colour(0x80000000u) },
        { "textBoxColor", juce::Colour(0xFF2B2B2Bu) },
    };
}
