#pragma once
// What combining files into one PDF reports besides each file's progress and warnings. Called on
// the thread that combines.
#include "conversion/ConversionObserver.h"
#include "conversion/ConversionResult.h"

#include <cstddef>
#include <optional>
#include <string>

class CombineObserver : public ConversionObserver {
public:
    // Before input `index` is read: empty to go on with it, or why it is left out.
    virtual std::optional<std::string> FileStarting(std::size_t index) = 0;
    // Input `index` went in (written) or was left out (its reason), with its notes.
    virtual void FileDone(std::size_t index, const ConversionResult& result) = 0;
    // Whether the user asked to stop: no further file goes in and no PDF is written.
    virtual bool StopAsked() const = 0;
};
