#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/** Short-time magnitude spectra of the channels' mix (Hann window), in dB
    relative to full scale. */
class Spectrogram
{
public:
    /** About `maximumColumns` frames spread over the audio. */
    Spectrogram(const juce::AudioBuffer<float>& audio, double sampleRate, int maximumColumns);

    int getNumColumns() const noexcept { return (int) columns.size(); }
    int getNumBins() const noexcept { return fftSize / 2 + 1; }
    double getSampleRate() const noexcept { return sampleRate; }

    /** The loudest bin of all columns, in dB. */
    float maximumLevelDb() const;

    /** Level of a frequency in a column, in dB (interpolated between bins). */
    float levelDb(int column, double frequency) const;

    static constexpr int fftOrder = 11;
    static constexpr int fftSize = 1 << fftOrder;

private:
    double sampleRate;
    std::vector<std::vector<float>> columns;
};
