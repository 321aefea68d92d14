#pragma once

#include "dsp/AbstractDelay.h"
#include "dsp/DelayLine.h"

/** Delay stage with an integer delay line. */
template <typename SampleType>
class Delay : public AbstractDelay<SampleType>
{
public:
    Delay() : AbstractDelay<SampleType> (std::make_unique<DelayLine<SampleType>>()) {}
};
