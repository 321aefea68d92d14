#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

/** Audio read from a WAV, AIFF or FLAC file. */
struct AudioFileInput
{
    juce::AudioBuffer<float> audio;
    double sampleRate = 0.0;
    juce::String formatName;

    /** Reads the whole file; throws RenderError when it is missing, cannot be
        decoded, or has a channel count other than one or two. */
    static AudioFileInput read(const juce::File& file);
};
