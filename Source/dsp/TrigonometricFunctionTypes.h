#pragma once

/** Waveforms of the modulation oscillators; sine and cosine run in quadrature. */
enum class TrigonometricFunctionTypes
{
    sine,
    cosine
};
