#pragma once

#include <cstdio>
#include <string>

namespace vindle {
class ProgressWindow;
}

namespace vindle::cli {

// Progress on a terminal: a line at each step and, while the progress window
// is shown, a bar that follows it. Writes nothing when the stream is not a
// terminal.
class TerminalProgress
{
public:
    explicit TerminalProgress(std::FILE* stream);

    bool isActive() const { return active_; }
    // Follows the progress window from now on.
    void watch(ProgressWindow& window);
    // A line of its own, below a bar that is being drawn.
    void step(const std::string& line);
    // Ends a bar that is being drawn, so that other output starts on a line
    // of its own.
    void breakLine();

private:
    void draw(const ProgressWindow& window);

    std::FILE* stream_;
    bool active_;
    bool barDrawn_ = false;
};

} // namespace vindle::cli
