#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <memory>

/** Writes a rendered file without ever leaving a partial one: the audio goes to
    a temporary file in the target's folder, renamed over the target at the end.
    The format follows the extension (.wav, .aif/.aiff, .flac). */
class AudioFileOutput
{
public:
    /** Checks the extension and that the folder can take the file, before any
        rendering is done; throws RenderError. */
    explicit AudioFileOutput(const juce::File& target);
    ~AudioFileOutput();

    /** Bits the file will hold when none are asked for: 32-bit float for WAV,
        24-bit integer for AIFF and FLAC (which hold no float samples). */
    int defaultBits() const;

    /** Checks that the format can hold this bit depth; throws RenderError. */
    void checkBits(int bits) const;

    /** Writes the audio (TPDF-dithered when integer) and moves the file into
        place; throws RenderError. */
    void write(const juce::AudioBuffer<float>& audio, double sampleRate, int bits, juce::int64 ditherSeed);

    const juce::File& getTarget() const noexcept { return target; }

private:
    juce::File target;
    std::unique_ptr<juce::AudioFormat> format;
    std::unique_ptr<juce::TemporaryFile> temporary;
};
