#pragma once

/** How long the renderer goes on after the input has ended. */
struct TailLength
{
    bool automatic = true; // until the output stays quiet, see the constants
    double seconds = 0.0;  // fixed length when not automatic

    static constexpr double quietLevelDb = -90.0;
    static constexpr double quietSeconds = 0.5;
    static constexpr double maximumSeconds = 40.0; // the plug-in's reported tail

    static TailLength fixed(double s) { return { false, s }; }
    static TailLength untilQuiet() { return { true, 0.0 }; }
};
