#pragma once

#include <cstdint>

/** A delay time split into whole samples and a fraction of a sample.
    Integer delay lines ignore the fraction. */
struct DelayValue
{
    std::int32_t samples = 0;
    float fraction = 0.0f;
};
