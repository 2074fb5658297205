#include "StandardOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vindle::cli::standard_output {

namespace {

bool closedAtStart = false;
std::optional<std::string> lost;

void lose(int error)
{
    if (!lost)
        lost = std::strerror(error);
}

} // namespace

void holdClosedDescriptors()
{
    for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF)
            continue;
        if (descriptor == STDOUT_FILENO)
            closedAtStart = true;
        // open() takes the lowest free number: this one.
        const int held = ::open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
        if (held != -1 && held != descriptor)
            ::close(held);
    }
}

bool wasClosed()
{
    return closedAtStart;
}

bool write(const std::string& text)
{
    if (closedAtStart)
        lose(EBADF);
    if (lost)
        return false;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() ||
        std::fflush(stdout) != 0) {
        lose(errno);
        return false;
    }
    return true;
}

std::optional<std::string> finish()
{
    if (!closedAtStart) {
        const bool flushed = std::fflush(stdout) == 0;
        if (!flushed)
            lose(errno);
        // Closing is where a file system that delays its writes says so.
        if (std::fclose(stdout) != 0 && flushed)
            lose(errno);
    }
    return lost;
}

} // namespace vindle::cli::standard_output
