#pragma once

#include <juce_core/juce_core.h>

#include <string>
#include <unordered_map>

/** Help texts of every control and section title, keyed by element name.
    They are attached as tooltips permanently; only help mode shows them. */
class TooltipTexts
{
public:
    TooltipTexts();

    /** Unknown keys give an empty text, which means no tooltip. */
    std::string& operator[](const std::string& key) { return texts[key]; }

    /** The text of a key as a juce::String (the table holds UTF-8). */
    juce::String tooltipFor(const std::string& key);

private:
    std::unordered_map<std::string, std::string> texts;
};
