#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsp/DelayValue.h"

/** Circular buffer with a write head that moves backwards.

    Before a sample is written the write head steps back by one (wrapping from 0 to the
    end), and the sample is stored there. A read with integer delay D takes the element at
    (writeIndex + D) modulo the size, so right after a write D = 0 returns the sample just
    written and D = n the one written n writes earlier.

    Thread rule: setMaximumDelay() and a setDelay() at or above the maximum delay allocate,
    so call them while preparing. write(), get(), processBlock() and reset() never allocate.
*/
template <typename SampleType>
class AbstractDelayLine
{
public:
    AbstractDelayLine() = default;
    virtual ~AbstractDelayLine() = default;

    AbstractDelayLine (const AbstractDelayLine&) = delete;
    AbstractDelayLine& operator= (const AbstractDelayLine&) = delete;

    /** Adopts a new delay, growing the buffer when the delay reaches the known maximum. */
    virtual void setDelay (DelayValue newDelay)
    {
        // A negative delay would read before the buffer start.
        newDelay.samples = std::max<std::int32_t> (0, newDelay.samples);

        if (newDelay.samples >= maximumDelay)
        {
            maximumDelay = newDelay.samples + 1;
            buffer.resize ((size_t) std::max<std::int64_t> ((std::int64_t) newDelay.samples + 3, 3));
        }

        delay = newDelay;
    }

    /** Reads the delayed sample at the current write head without moving it. */
    virtual SampleType get() = 0;

    /** Writes each sample, then replaces it with the delayed read. */
    virtual void processBlock (SampleType* data)
    {
        for (size_t i = 0; i < numSamples; ++i)
        {
            write (data[i]);
            data[i] = get();
        }
    }

    /** Steps the write head back by one and stores the sample there. */
    void write (SampleType sample) noexcept
    {
        if (buffer.empty())
            return;

        writeIndex = (writeIndex == 0 ? (std::int32_t) buffer.size() : writeIndex) - 1;
        buffer[(size_t) writeIndex] = sample;
    }

    /** Sizes the buffer to exactly max(m + 2, 3) samples (allocates when growing). */
    void setMaximumDelay (int newMaximumDelay)
    {
        maximumDelay = newMaximumDelay;
        buffer.resize ((size_t) std::max (newMaximumDelay + 2, 3));

        // A shrunk buffer (e.g. a new preparation at a lower rate) must not leave the
        // write head outside it.
        if ((size_t) writeIndex >= buffer.size())
            writeIndex = 0;
    }

    /** Silences the line; the write head and the delay stay where they are. */
    void reset() noexcept { std::fill (buffer.begin(), buffer.end(), SampleType (0)); }

    DelayValue getDelay() const noexcept          { return delay; }
    std::int32_t getMaximumDelay() const noexcept { return maximumDelay; }
    size_t getBufferSize() const noexcept         { return buffer.size(); }
    std::int32_t getWriteIndex() const noexcept   { return writeIndex; }
    size_t getNumSamples() const noexcept         { return numSamples; }
    void setNumSamples (size_t n) noexcept        { numSamples = n; }

protected:
    std::int32_t maximumDelay = 0;
    DelayValue delay;
    std::vector<SampleType> buffer;
    std::int32_t writeIndex = 0;
    size_t numSamples = 0;
};
