#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_graphics/juce_graphics.h>

/** Pictures of what the reverb did, drawn with the framework's own graphics
    into an image (no display needed) and saved as PNG. */
class ResponsePlot
{
public:
    struct DecayTimes
    {
        double setSeconds = 0.0;      // what the decay setting asks for
        double measuredSeconds = 0.0; // −60 dB from the energy decay curve, 0 if not measurable
    };

    /** Level envelope, energy decay curve with both decay times, spectrogram. */
    static juce::Image drawImpulseResponse(const juce::AudioBuffer<float>& response, double sampleRate,
                                           const juce::String& title, DecayTimes decay);

    /** Input and output envelopes, and the spectrogram of each. */
    static juce::Image drawRender(const juce::AudioBuffer<float>& input, const juce::AudioBuffer<float>& output,
                                  double sampleRate, const juce::String& title);

    /** Saves through a temporary file in the same folder; throws RenderError. */
    static void savePng(const juce::Image& image, const juce::File& file);

    static constexpr int width = 1200;
};
