#pragma once

#include "dsp/AbstractDelayLine.h"

/** Integer delay line: the fraction of the delay is ignored. */
template <typename SampleType>
class DelayLine : public AbstractDelayLine<SampleType>
{
public:
    SampleType get() override
    {
        const auto size = this->buffer.size();

        if (size == 0)
            return SampleType (0);

        return this->buffer[((size_t) this->delay.samples + (size_t) this->writeIndex) % size];
    }
};
