#pragma once

#include "PtyServer.h"
#include "core/ModuleEmulator.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace vindle::bench {

// An emulated module served on a pseudo-terminal by a thread of the benchmark
// (the code vindle-emulator runs), which notes the time every byte passes the
// line: the program's turnaround is measured where the module sees it.
class ObservedModule
{
public:
    using Direction = emulator::PtyServer::Direction;
    using TimePoint = std::chrono::steady_clock::time_point;

    struct Passing
    {
        Direction direction;
        std::uint8_t byte;
        TimePoint at;
    };

    explicit ObservedModule(emulator::EmulatorSettings settings);
    ~ObservedModule();
    ObservedModule(const ObservedModule&) = delete;
    ObservedModule& operator=(const ObservedModule&) = delete;

    QString devicePath() const { return QString::fromStdString(server_.devicePath()); }

    // Every byte that has passed so far, in order.
    std::vector<Passing> traffic() const;
    std::size_t passed() const;

    // The time the `count`-th byte (counted from 1) from the PC with value
    // `byte` passed, looking from `from` on.
    std::optional<TimePoint> fromPc(std::uint8_t byte, std::size_t from = 0, int count = 1) const;

    // For each byte from the PC that directly follows a byte to the PC, both
    // from entry `from` on: how long after that byte it came.
    std::vector<std::chrono::duration<double>> turnarounds(std::size_t from = 0) const;

private:
    emulator::ModuleEmulator module_;
    emulator::PtyServer server_;
    mutable std::mutex mutex_;
    std::vector<Passing> traffic_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace vindle::bench
