#pragma once

#include "dsp/AbstractDelay.h"
#include "dsp/FractionalDelayLine.h"

/** Delay stage with an allpass-interpolated fractional delay line. */
template <typename SampleType>
class FractionalDelay : public AbstractDelay<SampleType>
{
public:
    FractionalDelay() : AbstractDelay<SampleType> (std::make_unique<FractionalDelayLine<SampleType>>()) {}
};
