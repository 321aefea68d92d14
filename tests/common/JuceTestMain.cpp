#include <gtest/gtest.h>
#include <juce_events/juce_events.h>
#include <juce_gui_basics/juce_gui_basics.h>

// The framework's singletons (message manager, fonts, image cache) must exist
// for the whole test run, and be torn down after the last test.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
