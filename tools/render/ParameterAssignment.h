#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <string>

/** One `ID=VALUE` from the command line. VALUE is read through the parameter's
    own text conversion, as the editor's value boxes read it ("2.0 sec", "15",
    "40"), or as a normalised value when it starts with '@' ("@0.25"). */
class ParameterAssignment
{
public:
    /** Splits and checks the text; throws RenderError when it is malformed or
        holds no number. The ID is checked against a processor in apply(). */
    static ParameterAssignment parse(const std::string& text);

    /** Sets the parameter like a host does; throws RenderError for an unknown ID. */
    void apply(juce::AudioProcessorValueTreeState& state) const;

    const juce::String& getId() const noexcept { return id; }
    const juce::String& getValueText() const noexcept { return valueText; }
    bool isNormalised() const noexcept { return normalised; }

    /** True when the text starts (after white space) with a finite number, the
        way the parameters' text functions read it. */
    static bool holdsLeadingNumber(const juce::String& text);

private:
    juce::String id;
    juce::String valueText;
    bool normalised = false;
    float normalisedValue = 0.0f;
};
