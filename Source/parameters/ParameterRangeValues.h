#pragma once

#include <string>
#include <unordered_map>

/** Named constants that turn the normalised controls into physical quantities
    of the room algorithm: spans ("_bottom", "_top"), defaults and a few single
    values. "_er" names the early-reflection section, "_tl" the tail. */
class ParameterRangeValues
{
public:
    using ValueSet = std::unordered_map<std::string, float>;

    ParameterRangeValues()
        : roomValues {
              { "decay_er_bottom", 0.2f },
              { "decay_er_top", 0.6f },
              { "decayTime_bottom", 0.5f },
              { "decayTime_top", 2.5f },
              { "decayTime_default", 1.0f },
              { "idbv_er_bottom", 4.0f },
              { "idbv_er_top", 18.0f },
              { "idbv_tl_bottom", 6.0f },
              { "idbv_tl_top", 58.0f },
              { "ddrs_er_bottom", 8.0f },
              { "ddrs_er_top", 22.0f },
              { "ddrs_tl_bottom", 30.0f },
              { "ddrs_tl_top", 80.0f },
              { "size_bottom", 2.0f },
              { "size_top", 20.0f },
              { "tilt_default", 0.56f },
              { "dampingIntensity_default", 0.6f },
              { "modulationIntensity_default", 0.1f },
              { "maximumModulationIntensity", 0.02f },
          }
    {
    }

    /** The set of the room algorithm (algorithm index 1). */
    ValueSet roomValues;
};
