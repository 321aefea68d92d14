#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

/** Measurements on an impulse response: level envelope, Schroeder energy decay
    curve and the decay time read from it. */
class DecayAnalysis
{
public:
    /** Energy decay curve (backward-integrated energy of all channels), in dB
        relative to the total energy, one value per sample; −inf dB where no
        energy is left. */
    static std::vector<double> energyDecayCurveDb(const juce::AudioBuffer<float>& response);

    /** Time to decay by 60 dB, from a straight-line fit of the curve between
        `fromDb` and `toDb` (both negative) extrapolated to −60 dB; 0 when the
        curve never reaches `toDb`. */
    static double decayTimeSeconds(const std::vector<double>& curveDb, double sampleRate,
                                   double fromDb = -5.0, double toDb = -35.0);

    struct Fit
    {
        double startSeconds = 0.0; // where the curve passes fromDb
        double startDb = 0.0;      // the fitted line's level there
        double slopeDbPerSecond = 0.0;
        bool valid = false;
    };

    /** The straight line behind decayTimeSeconds(), for drawing. */
    static Fit fitDecay(const std::vector<double>& curveDb, double sampleRate, double fromDb = -5.0, double toDb = -35.0);

    /** RMS level of all channels over consecutive windows, in dB (floor −200 dB). */
    static std::vector<float> envelopeDb(const juce::AudioBuffer<float>& audio, int windowSamples);
};
