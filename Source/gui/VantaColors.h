#pragma once

#include <juce_graphics/juce_graphics.h>

#include <string>
#include <unordered_map>

/** The editor's named colours. Every drawing class keeps its own copy; a key
    that is not in a table reads as transparent black, so a typo draws nothing
    instead of crashing. */
class VantaColors
{
public:
    VantaColors();

    std::unordered_map<std::string, juce::Colour> palette;
    std::unordered_map<std::string, juce::Colour> commonColours;
};
