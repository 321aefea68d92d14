#pragma once

#include <juce_core/juce_core.h>

#include <utility>

namespace brisa_render
{
namespace detail
{
template <typename Processor>
auto seed(Processor& processor, juce::int64 value, int) -> decltype(processor.setRandomSeed(value), bool())
{
    processor.setRandomSeed(value);
    return true;
}

template <typename Processor>
bool seed(Processor&, juce::int64, long)
{
    return false;
}
} // namespace detail

/** Fixes the diffusion's random draws of a processor that offers it; call before
    prepareToPlay. Returns false when this build's processor cannot be seeded. */
template <typename Processor>
bool applyRandomSeed(Processor& processor, juce::int64 value)
{
    return detail::seed(processor, value, 0);
}
} // namespace brisa_render
