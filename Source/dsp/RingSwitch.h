#pragma once

#include <cmath>
#include <cstdint>
#include <utility>

#include <juce_core/juce_core.h>

/** What both feedback rings do the same way: the switch to their pending lengths at
    exactly zero fade gain, and one damping coefficient object shared by all channels. */
namespace RingSwitch
{
/** Applies whatever is pending, then always fades back in. */
template <typename Ring>
void applyPendingValues (Ring& ring)
{
    if (! juce::approximatelyEqual (ring.ringDelay, ring.pendingRingDelay))
    {
        ring.updateInternalDelays (ring.pendingRingDelay);
        ring.ringDelay = ring.pendingRingDelay;
    }

    if (std::isfinite (ring.pendingDiffusionRange)
        && ! juce::approximatelyEqual (ring.diffusionRange, ring.pendingDiffusionRange))
    {
        ring.diffusor.delayRange = (std::int32_t) ring.pendingDiffusionRange;
        ring.diffusor.refreshDelayTimes();
        ring.diffusionRange = ring.pendingDiffusionRange;
    }

    ring.fade.setTargetValue (1.0f);
}

template <typename Ring, typename CoefficientsPtr>
void shareDampingCoefficients (Ring& ring, CoefficientsPtr newCoefficients) noexcept
{
    ring.dampingCoefficients = std::move (newCoefficients);

    for (auto& filter : ring.dampingFilters)
        filter.coefficients = ring.dampingCoefficients;
}
} // namespace RingSwitch
