#pragma once

#include <algorithm>
#include <cmath>
#include <memory>

#include "dsp/AbstractDelayLine.h"

/** A processing stage around one owned delay line: feedback from the last output, a block
    length, and the conversion of a float delay time in samples into {samples, fraction}.

    Thread rule: setMaximumDelay() allocates (call it while preparing); setDelaySamples()
    allocates only when the clamped delay reaches the line's maximum delay. */
template <typename SampleType>
class AbstractDelay
{
public:
    virtual ~AbstractDelay() = default;

    /** Sizes the line's buffer to exactly max(m + 2, 3) samples. */
    void setMaximumDelay (int newMaximumDelay) { line->setMaximumDelay (newMaximumDelay); }

    /** Splits a delay time into whole samples and a fraction and hands it to the line.
        Whole parts below 1 or above the buffer size are clamped into [0, size − 3]; the
        fraction is always the one of the unclamped value. */
    void setDelaySamples (float delayInSamples)
    {
        // Keeps floor() representable as an int; non-finite times fall back to no delay.
        if (! std::isfinite (delayInSamples))
            delayInSamples = 0.0f;

        delayInSamples = std::clamp (delayInSamples, -1.0e9f, 1.0e9f);

        const auto whole = std::floor (delayInSamples);
        auto n = (std::int32_t) whole;
        const auto fraction = delayInSamples - whole;
        const auto size = (std::int32_t) line->getBufferSize();

        if (n < 1 || n > size)
            n = std::max<std::int32_t> (0, std::min (size - 3, n));

        delay = { n, fraction };
        line->setDelay (delay);
    }

    /** Writes x + feedback × lastOutput, then reads: a pure delay when feedback is 0. */
    SampleType processSample (SampleType x) noexcept
    {
        line->write (x + feedback * lastOutput);
        lastOutput = line->get();
        return lastOutput;
    }

    void processBlock (SampleType* data) noexcept
    {
        for (size_t i = 0; i < numSamples; ++i)
            data[i] = processSample (data[i]);
    }

    /** Zero-fills the line; the write head, delay and lastOutput are kept. */
    void reset() noexcept { line->reset(); }

    DelayValue getDelay() const noexcept                 { return delay; }
    SampleType getFeedback() const noexcept              { return feedback; }
    void setFeedback (SampleType newFeedback) noexcept   { feedback = newFeedback; }
    size_t getNumSamples() const noexcept                { return numSamples; }
    void setNumSamples (size_t n) noexcept               { numSamples = n; line->setNumSamples (n); }
    SampleType getLastOutput() const noexcept            { return lastOutput; }
    AbstractDelayLine<SampleType>& getLine() noexcept    { return *line; }
    const AbstractDelayLine<SampleType>& getLine() const noexcept { return *line; }

protected:
    explicit AbstractDelay (std::unique_ptr<AbstractDelayLine<SampleType>> lineToOwn)
        : line (std::move (lineToOwn))
    {
    }

    DelayValue delay;
    SampleType feedback = 0;
    size_t numSamples = 0;
    std::unique_ptr<AbstractDelayLine<SampleType>> line;
    SampleType lastOutput = 0;
};
