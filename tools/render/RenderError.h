#pragma once

#include <stdexcept>
#include <string>

/** A problem the user can fix; its message is the single line the tool prints.
    The exit code tells scripts which kind of problem it was. */
class RenderError : public std::runtime_error
{
public:
    enum class Kind
    {
        usage = 2,  // the command line or a value on it
        input = 3,  // the input audio or a preset to load
        output = 4  // a file the tool was asked to write
    };

    RenderError(Kind kindToUse, const std::string& message)
        : std::runtime_error(message), kind(kindToUse)
    {
    }

    int exitCode() const noexcept { return (int) kind; }

    const Kind kind;
};
