#include "gui/CreatePathFromSVG.h"

#include <juce_gui_basics/juce_gui_basics.h>

std::unique_ptr<juce::Path> createPathFromSVG(const char* svgText)
{
    auto path = std::make_unique<juce::Path>();

    if (svgText == nullptr)
        return path;

    if (auto svg = juce::XmlDocument::parse(juce::String::fromUTF8(svgText)))
        if (auto drawable = juce::Drawable::createFromSVG(*svg))
            *path = drawable->getOutlineAsPath();

    return path;
}
