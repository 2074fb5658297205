#include "TerminalProgress.h"

#include "link/Commands.h"
#include "program/ModuleText.h"

#include <algorithm>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vindle::cli {

namespace {

constexpr int kWidestBar = 40;
constexpr int kAssumedColumns = 80;

} // namespace

TerminalProgress::TerminalProgress(std::FILE* stream)
    : stream_(stream), active_(::isatty(::fileno(stream)) == 1)
{}

int TerminalProgress::columns() const
{
    winsize size{};
    if (::ioctl(::fileno(stream_), TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return kAssumedColumns;
}

std::string TerminalProgress::barLine(Transfer transfer, std::optional<int> location, int columns)
{
    const int last = kLocationCount - 1;
    const int reached = location.value_or(0);
    const std::string count = " " + std::to_string(reached) + "/" + std::to_string(last);
    const std::string start = std::string(transferName(transfer)) + " [";
    const int room = columns - 1 - static_cast<int>(start.size() + 1 + count.size());
    const int width = std::clamp(room, 0, kWidestBar);
    const int filled = location ? (reached * width + last / 2) / last : 0;
    return start + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(width - filled), '.') + "]" + count;
}

void TerminalProgress::transfer(Transfer transfer, std::optional<int> location)
{
    if (!active_)
        return;
    std::fprintf(stream_, "\r%s", barLine(transfer, location, columns()).c_str());
    std::fflush(stream_);
    barDrawn_ = true;
}

void TerminalProgress::step(const std::string& line)
{
    if (!active_)
        return;
    breakLine();
    std::fprintf(stream_, "%s\n", line.c_str());
    std::fflush(stream_);
}

void TerminalProgress::message(const std::string& text)
{
    breakLine();
    std::fprintf(stream_, "%s\n", text.c_str());
    std::fflush(stream_);
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
