#include "DemoSignal.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace
{
constexpr double twoPi = juce::MathConstants<double>::twoPi;

struct Voice
{
    juce::AudioBuffer<float>& out;
    double rate;

    void add(double startSeconds, double lengthSeconds, double pan, const std::function<double(double)>& sound)
    {
        const int start = (int) std::lround(startSeconds * rate);
        const int length = (int) std::lround(lengthSeconds * rate);
        // Constant-power pan, -1 left … +1 right.
        const double angle = (pan + 1.0) * juce::MathConstants<double>::pi * 0.25;
        const float gains[2] = { (float) std::cos(angle), (float) std::sin(angle) };
        for (int i = 0; i < length && start + i < out.getNumSamples(); ++i)
        {
            const double value = sound((double) i / rate);
            for (int c = 0; c < out.getNumChannels(); ++c)
                out.addSample(c, start + i, (float) value * gains[c]);
        }
    }
};
} // namespace

juce::AudioBuffer<float> DemoSignal::make(double sampleRate)
{
    juce::AudioBuffer<float> out(2, (int) std::lround((patternSeconds + silenceSeconds) * sampleRate));
    out.clear();
    Voice voice { out, sampleRate };
    juce::Random random(20240611); // the same example on every machine

    const double beat = 0.3; // 200 steps per minute of eighths

    for (int step = 0; step < 8; ++step)
    {
        const double t = step * beat;
        if (step % 4 == 0)
        {
            // Kick: a sine gliding down from 120 to 48 Hz.
            voice.add(t, 0.35, 0.0, [](double s)
            {
                const double phase = twoPi * (48.0 * s + (120.0 - 48.0) * 0.03 * (1.0 - std::exp(-s / 0.03)));
                return 0.8 * std::sin(phase) * std::exp(-s / 0.09);
            });
        }
        if (step % 4 == 2)
        {
            // Snare: a noise burst over a short 185 Hz body.
            voice.add(t, 0.25, 0.1, [&random](double s)
            {
                const double noise = random.nextDouble() * 2.0 - 1.0;
                return 0.45 * noise * std::exp(-s / 0.05) + 0.35 * std::sin(twoPi * 185.0 * s) * std::exp(-s / 0.04);
            });
        }
        // Hi-hat clicks on every step, alternating sides; the difference of two
        // noise samples tilts the noise towards the top.
        voice.add(t + beat * 0.5, 0.04, step % 2 == 0 ? -0.6 : 0.6, [&random, previous = 0.0](double s) mutable
        {
            const double noise = random.nextDouble() * 2.0 - 1.0;
            const double bright = noise - previous;
            previous = noise;
            return 0.18 * bright * std::exp(-s / 0.008);
        });
    }

    // Plucked tones: a few decaying partials of a short phrase.
    const double notes[] = { 440.0, 523.25, 659.25, 587.33 };
    for (int n = 0; n < 4; ++n)
    {
        const double frequency = notes[n];
        voice.add(0.15 + n * 2 * beat, 0.7, n % 2 == 0 ? -0.35 : 0.35, [frequency](double s)
        {
            double value = 0.0;
            for (int partial = 1; partial <= 5; ++partial)
                value += std::sin(twoPi * frequency * partial * s) * std::exp(-s * (4.0 + 3.0 * partial)) / partial;
            return 0.22 * value * std::min(1.0, s / 0.002);
        });
    }

    return out;
}

juce::AudioBuffer<float> DemoSignal::impulse(int numChannels)
{
    juce::AudioBuffer<float> out(numChannels, 1);
    for (int c = 0; c < numChannels; ++c)
        out.setSample(c, 0, 1.0f);
    return out;
}
