#include "TerminalProgress.h"

#include "ui/progress/ProgressWindow.h"

#include <cmath>
#include <unistd.h>

namespace vindle::cli {

namespace {

constexpr int kBarWidth = 40;

} // namespace

TerminalProgress::TerminalProgress(std::FILE* stream)
    : stream_(stream), active_(::isatty(::fileno(stream)) == 1)
{}

void TerminalProgress::watch(ProgressWindow& window)
{
    if (!active_)
        return;
    window.addListener([this, &window](const Window&, Window::Change change) {
        if (change != Window::Change::Visible)
            return;
        if (window.isVisible())
            draw(window);
        else
            breakLine();
    });
    const auto redraw = [this, &window](const Control&) {
        if (window.isVisible())
            draw(window);
    };
    window.get<ProgressBar>("Level").addListener(redraw);
    window.get<Label>("Label1").addListener(redraw);
}

void TerminalProgress::step(const std::string& line)
{
    if (!active_)
        return;
    breakLine();
    std::fprintf(stream_, "%s\n", line.c_str());
    std::fflush(stream_);
}

void TerminalProgress::draw(const ProgressWindow& window)
{
    const ProgressBar& level = window.Level();
    const double span = level.maximum() - level.minimum();
    const double share = span > 0 ? (level.value() - level.minimum()) / span : 0.0;
    const int filled = static_cast<int>(std::lround(share * kBarWidth));
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(kBarWidth - filled), '.');
    std::fprintf(stream_, "\r%s [%s] %2.0f/%.0f", window.Label1().caption().c_str(), bar.c_str(),
                 level.value(), level.maximum());
    std::fflush(stream_);
    barDrawn_ = true;
}

void TerminalProgress::breakLine()
{
    if (!barDrawn_)
        return;
    std::fputc('\n', stream_);
    std::fflush(stream_);
    barDrawn_ = false;
}

} // namespace vindle::cli
