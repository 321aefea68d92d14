#include "DecayAnalysis.h"

#include <cmath>
#include <limits>

std::vector<double> DecayAnalysis::energyDecayCurveDb(const juce::AudioBuffer<float>& response)
{
    const int length = response.getNumSamples();
    std::vector<double> curve((size_t) length, -std::numeric_limits<double>::infinity());

    // Summed from the end so that the quiet tail is not lost in rounding.
    std::vector<double> remaining((size_t) length + 1, 0.0);
    for (int i = length; --i >= 0;)
    {
        double energy = 0.0;
        for (int c = 0; c < response.getNumChannels(); ++c)
        {
            const double x = response.getSample(c, i);
            energy += x * x;
        }
        remaining[(size_t) i] = remaining[(size_t) i + 1] + energy;
    }

    const double total = remaining[0];
    if (total <= 0.0)
        return curve;

    for (int i = 0; i < length; ++i)
        if (remaining[(size_t) i] > 0.0)
            curve[(size_t) i] = 10.0 * std::log10(remaining[(size_t) i] / total);
    return curve;
}

DecayAnalysis::Fit DecayAnalysis::fitDecay(const std::vector<double>& curveDb, double sampleRate, double fromDb, double toDb)
{
    Fit fit;
    size_t first = curveDb.size(), last = curveDb.size();
    for (size_t i = 0; i < curveDb.size(); ++i)
    {
        if (first == curveDb.size() && curveDb[i] <= fromDb)
            first = i;
        if (curveDb[i] <= toDb)
        {
            last = i;
            break;
        }
    }
    if (first >= last || last == curveDb.size())
        return fit;

    // Least-squares line through the curve between the two levels.
    double sumT = 0, sumY = 0, sumTT = 0, sumTY = 0;
    const double n = (double) (last - first + 1);
    for (size_t i = first; i <= last; ++i)
    {
        const double t = (double) i / sampleRate;
        sumT += t;
        sumY += curveDb[i];
        sumTT += t * t;
        sumTY += t * curveDb[i];
    }
    const double denominator = n * sumTT - sumT * sumT;
    if (denominator <= 0.0)
        return fit;

    fit.slopeDbPerSecond = (n * sumTY - sumT * sumY) / denominator;
    const double intercept = (sumY - fit.slopeDbPerSecond * sumT) / n;
    fit.startSeconds = (double) first / sampleRate;
    fit.startDb = intercept + fit.slopeDbPerSecond * fit.startSeconds;
    fit.valid = fit.slopeDbPerSecond < 0.0;
    return fit;
}

double DecayAnalysis::decayTimeSeconds(const std::vector<double>& curveDb, double sampleRate, double fromDb, double toDb)
{
    const auto fit = fitDecay(curveDb, sampleRate, fromDb, toDb);
    return fit.valid ? -60.0 / fit.slopeDbPerSecond : 0.0;
}

std::vector<float> DecayAnalysis::envelopeDb(const juce::AudioBuffer<float>& audio, int windowSamples)
{
    windowSamples = juce::jmax(1, windowSamples);
    std::vector<float> envelope;
    const int channels = juce::jmax(1, audio.getNumChannels());
    for (int start = 0; start < audio.getNumSamples(); start += windowSamples)
    {
        const int n = juce::jmin(windowSamples, audio.getNumSamples() - start);
        double energy = 0.0;
        for (int c = 0; c < audio.getNumChannels(); ++c)
            for (int i = 0; i < n; ++i)
            {
                const double x = audio.getSample(c, start + i);
                energy += x * x;
            }
        const double rms = std::sqrt(energy / (double) (n * channels));
        envelope.push_back(rms > 1.0e-10 ? (float) (20.0 * std::log10(rms)) : -200.0f);
    }
    return envelope;
}
