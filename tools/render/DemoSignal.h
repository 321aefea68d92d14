#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** The dry example of the demo, synthesised so that nothing is downloaded: a
    short stereo pattern of kick, snare, hi-hat clicks and plucked tones, with
    silence after it so that the reverb's tail can be heard and seen. */
class DemoSignal
{
public:
    static juce::AudioBuffer<float> make(double sampleRate);

    /** A unit impulse on every channel at the first sample. */
    static juce::AudioBuffer<float> impulse(int numChannels);

    static constexpr double patternSeconds = 2.4;
    static constexpr double silenceSeconds = 0.6;
};
