#pragma once

// The room algorithm driven the way the engine drives it: a parameter set over a test
// processor, one preparation, every current value pushed through the callbacks (and counted
// as dispatched), then a dispatch of moved values before each 32-sample block.

#include "dsp/Room.h"
#include "parameters/ParameterRangeValues.h"
#include "parameters/SonarisParameterHandler.h"

#include "TestProcessor.h"

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

struct RoomHarness
{
    using RoomType = Room<float, 2, 8, 8>;
    static constexpr int blockSize = 32;

    struct Setting
    {
        const char* id;
        float value;
    };

    explicit RoomHarness(double rate, juce::int64 seed = 1, std::vector<Setting> settings = {})
        : sampleRate(rate)
    {
        handler = std::make_shared<SonarisParameterHandler>(processor);
        handler->initiate();
        for (const auto& s : settings)
            set(s.id, s.value);

        room = std::make_unique<RoomType>(handler, ParameterRangeValues().roomValues);
        room->setRandomSeed(seed);
        handler->prepareSmoothers(rate);
        room->prepare({ rate, (juce::uint32) blockSize, 2 });
        room->reset();
        handler->callAllUpdateFunctions();
        handler->markAllDispatched();
    }

    void set(const char* id, float plain) { setPlainValue(handler->getValueTreeState(), id, plain); }

    /** One block in place; the buffer must hold 1 or 2 channels of 32 samples. */
    void processBlock(juce::AudioBuffer<float>& buffer)
    {
        handler->dispatchUpdates();
        juce::dsp::AudioBlock<float> block(buffer);
        room->process(block);
    }

    /** Runs a stereo signal through the room in 32-sample blocks (the length is rounded
        up to whole blocks, padded with silence). */
    std::pair<std::vector<float>, std::vector<float>> run(const std::vector<float>& left,
                                                          const std::vector<float>& right)
    {
        const auto length = std::max(left.size(), right.size());
        const auto blocks = (length + blockSize - 1) / blockSize;
        std::vector<float> outLeft(blocks * blockSize), outRight(blocks * blockSize);
        juce::AudioBuffer<float> buffer(2, blockSize);

        for (size_t b = 0; b < blocks; ++b)
        {
            for (int i = 0; i < blockSize; ++i)
            {
                const auto n = b * blockSize + (size_t) i;
                buffer.setSample(0, i, n < left.size() ? left[n] : 0.0f);
                buffer.setSample(1, i, n < right.size() ? right[n] : 0.0f);
            }
            processBlock(buffer);
            std::copy(buffer.getReadPointer(0), buffer.getReadPointer(0) + blockSize, outLeft.begin() + (long) (b * blockSize));
            std::copy(buffer.getReadPointer(1), buffer.getReadPointer(1) + blockSize, outRight.begin() + (long) (b * blockSize));
        }
        return { std::move(outLeft), std::move(outRight) };
    }

    /** Silence until the fades started by the first updates are back at full feedback. */
    void settle(double seconds = 0.3)
    {
        run(std::vector<float>((size_t) (seconds * sampleRate), 0.0f), {});
    }

    /** The response to a unit impulse in both inputs, `seconds` long, after settling. */
    std::pair<std::vector<float>, std::vector<float>> impulseResponse(double seconds)
    {
        settle();
        std::vector<float> impulse((size_t) (seconds * sampleRate), 0.0f);
        impulse[0] = 1.0f;
        return run(impulse, impulse);
    }

    /** Buffer sizes of every line in both rings and their diffusors. */
    std::vector<size_t> lineSizes() const
    {
        std::vector<size_t> sizes;
        const auto& er = room->getEarlyReflections();
        const auto& tail = room->getTail();
        for (const auto& line : er.lines)
            sizes.push_back(line->getBufferSize());
        for (const auto& line : er.diffusor.lines)
            sizes.push_back(line.getBufferSize());
        for (const auto& delay : tail.delays)
            sizes.push_back(delay->getLine().getBufferSize());
        for (const auto& line : tail.diffusor.lines)
            sizes.push_back(line.getBufferSize());
        return sizes;
    }

    double sampleRate;
    TestProcessor processor;
    std::shared_ptr<SonarisParameterHandler> handler;
    std::unique_ptr<RoomType> room;
};

/** Level in dB of an energy value, floored far below anything audible. */
inline double energyDb(double energy)
{
    return 10.0 * std::log10(std::max(energy, 1.0e-30));
}

/** Decay time to −60 dB from Schroeder's backward integral of a response: a least-squares
    line through the integral between `fromDb` and `toDb` (below its start). */
inline double schroederDecaySeconds(const std::vector<float>& response, double sampleRate,
                                    double fromDb = -5.0, double toDb = -35.0)
{
    std::vector<double> integral(response.size());
    double sum = 0.0;
    for (size_t i = response.size(); i-- > 0;)
    {
        sum += (double) response[i] * (double) response[i];
        integral[i] = sum;
    }

    const double total = integral.front();
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < integral.size(); ++i)
    {
        const auto db = energyDb(integral[i] / total);
        if (db > fromDb || db < toDb)
            continue;
        const auto t = (double) i / sampleRate;
        n += 1; sx += t; sy += db; sxx += t * t; sxy += t * db;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    return -60.0 / slope;
}
