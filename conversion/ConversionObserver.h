#pragma once
// What a conversion reports while it runs. The engine calls these on the thread that runs the
// conversion; a window marshals them onto its own thread, a command line prints them.
#include <string_view>

class ConversionObserver {
public:
    virtual ~ConversionObserver() = default;

    // The current-file progress: its range (lower, upper) once per file, then the position.
    virtual void SetProgressRange(int lower, int upper) = 0;
    virtual void SetProgressPos(int pos) = 0;

    // A warning the user must acknowledge ("Can not find right font, use default font.",
    // "Font size can not be 0. Set default 9."). The conversion waits until this returns and
    // then goes on as the warning says.
    virtual void Warn(std::string_view message) = 0;
};

// For callers that want neither progress nor warnings.
class SilentObserver : public ConversionObserver {
public:
    void SetProgressRange(int, int) override {}
    void SetProgressPos(int) override {}
    void Warn(std::string_view) override {}
};
