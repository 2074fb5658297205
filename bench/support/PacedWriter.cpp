#include "support/PacedWriter.h"

#include "support/CpuMeter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vindle::bench {

namespace {

constexpr std::uint8_t kHeader = 254;
// Bursts as often as a USB adapter's latency timer at its fastest.
constexpr std::chrono::milliseconds kBurstInterval{1};

} // namespace

PacedWriter::PacedWriter(int masterFd, int bitsPerSecond)
    : master_(masterFd), bitsPerSecond_(bitsPerSecond)
{
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    start_ = std::chrono::steady_clock::now();
    thread_ = std::thread([this] { run(); });
}

PacedWriter::~PacedWriter()
{
    stop();
}

void PacedWriter::stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    stopped_ = true;
}

std::uint8_t PacedWriter::byteAt(std::uint64_t position)
{
    if (position % kPacketSize == 0)
        return kHeader;
    const std::uint64_t counted = position - position / kPacketSize - 1;
    return static_cast<std::uint8_t>(counted % kHeader);
}

double PacedWriter::seconds() const
{
    const auto end = stopped_ ? end_ : std::chrono::steady_clock::now();
    return std::chrono::duration<double>(end - start_).count();
}

double PacedWriter::lineShare() const
{
    const double carried = seconds() * bitsPerSecond_ / 10.0;
    return carried > 0 ? static_cast<double>(written_) / carried : 0.0;
}

void PacedWriter::run()
{
    std::array<std::uint8_t, 4096> burst{};
    auto next = start_;
    while (!stop_) {
        next += kBurstInterval;
        std::this_thread::sleep_until(next);
        const double elapsed =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
        const auto due = static_cast<std::uint64_t>(elapsed * bitsPerSecond_ / 10.0);
        std::uint64_t position = written_;
        const std::size_t count =
            std::min<std::uint64_t>(due - std::min(due, position), burst.size());
        for (std::size_t i = 0; i < count; ++i)
            burst[i] = byteAt(position + i);
        // What the program has not taken yet stays for the next burst.
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = ::write(master_, burst.data() + done, count - done);
            if (n > 0)
                done += static_cast<std::size_t>(n);
            else if (n == 0 || errno != EINTR)
                break;
        }
        position += done;
        written_ = position;
        mostBehind_ = std::max(mostBehind_, due - std::min(due, position));
    }
    end_ = std::chrono::steady_clock::now();
    cpuSeconds_ = CpuMeter::threadCpuSeconds();
}

} // namespace vindle::bench
