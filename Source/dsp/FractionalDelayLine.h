#pragma once

#include "dsp/AbstractDelayLine.h"

/** Fractional delay line using first-order allpass (Thiran) interpolation:
    y[n] = c·x[n−M] + x[n−M−1] − c·y[n−1], total delay M + fraction.

    The interpolated part is kept in [0.618, 1.618) whenever the delay is at least one
    sample, where the allpass has a near-flat group delay and a coefficient well inside
    the unit circle. An integer delay thus becomes {n − 1, 1.0} with c = 0: a pure delay. */
template <typename SampleType>
class FractionalDelayLine : public AbstractDelayLine<SampleType>
{
public:
    void setDelay (DelayValue newDelay) override
    {
        AbstractDelayLine<SampleType>::setDelay (newDelay);

        auto& d = this->delay;

        if (d.fraction < 0.618f && d.samples > 0)
        {
            d.fraction += 1.0f;
            d.samples -= 1;
        }

        allpassCoefficient = (SampleType) ((1.0f - d.fraction) / (1.0f + d.fraction));
    }

    SampleType get() override
    {
        const auto size = this->buffer.size();

        if (size == 0)
            return SampleType (0);

        auto i0 = (size_t) this->delay.samples + (size_t) this->writeIndex;
        auto i1 = i0 + 1;

        if (i1 >= size)
        {
            i0 %= size;
            i1 %= size;
        }

        const auto x0 = this->buffer[i0];
        const auto y = this->delay.fraction != 0.0f ? (x0 - lastOutput) * allpassCoefficient + this->buffer[i1]
                                                    : x0;
        lastOutput = y;
        return y;
    }

    SampleType getAllpassCoefficient() const noexcept { return allpassCoefficient; }
    SampleType getLastOutput() const noexcept         { return lastOutput; }

    /** Forgets the interpolator's previous output (a silenced line must stay silent). */
    void clearInterpolatorState() noexcept            { lastOutput = SampleType (0); }

private:
    SampleType allpassCoefficient = 0;
    SampleType lastOutput = 0;
};
