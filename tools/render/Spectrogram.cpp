#include "Spectrogram.h"

#include <juce_dsp/juce_dsp.h>

#include <cmath>

Spectrogram::Spectrogram(const juce::AudioBuffer<float>& audio, double rate, int maximumColumns)
    : sampleRate(rate)
{
    const int length = audio.getNumSamples();
    const int channels = audio.getNumChannels();
    if (length <= 0 || channels <= 0 || maximumColumns <= 0)
        return;

    const int hop = juce::jmax(1, (int) std::ceil((double) length / (double) maximumColumns));
    juce::dsp::FFT fft(fftOrder);
    juce::dsp::WindowingFunction<float> window((size_t) fftSize, juce::dsp::WindowingFunction<float>::hann, false);
    std::vector<float> frame((size_t) fftSize * 2);

    // Full-scale sine through the Hann window: amplitude × N/4 in its bin.
    const double reference = fftSize / 4.0;

    for (int start = 0; start < length; start += hop)
    {
        std::fill(frame.begin(), frame.end(), 0.0f);
        const int centre = start - fftSize / 2;
        for (int i = 0; i < fftSize; ++i)
        {
            const int index = centre + i;
            if (index < 0 || index >= length)
                continue;
            float sum = 0.0f;
            for (int c = 0; c < channels; ++c)
                sum += audio.getSample(c, index);
            frame[(size_t) i] = sum / (float) channels;
        }
        window.multiplyWithWindowingTable(frame.data(), (size_t) fftSize);
        fft.performFrequencyOnlyForwardTransform(frame.data(), true);

        std::vector<float> column((size_t) getNumBins());
        for (size_t b = 0; b < column.size(); ++b)
        {
            const double magnitude = frame[b] / reference;
            column[b] = magnitude > 1.0e-10 ? (float) (20.0 * std::log10(magnitude)) : -200.0f;
        }
        columns.push_back(std::move(column));
    }
}

float Spectrogram::levelDb(int column, double frequency) const
{
    const auto& bins = columns[(size_t) juce::jlimit(0, getNumColumns() - 1, column)];
    const double position = juce::jlimit(0.0, (double) (bins.size() - 1), frequency * fftSize / sampleRate);
    const auto lower = (size_t) position;
    const auto upper = juce::jmin(lower + 1, bins.size() - 1);
    const float fraction = (float) (position - (double) lower);
    return bins[lower] + (bins[upper] - bins[lower]) * fraction;
}

float Spectrogram::maximumLevelDb() const
{
    float maximum = -200.0f;
    for (const auto& column : columns)
        for (const auto level : column)
            maximum = juce::jmax(maximum, level);
    return maximum;
}
