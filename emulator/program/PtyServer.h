#pragma once

#include "core/ModuleEmulator.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace vindle::emulator {

// Serves an emulated module on a pseudo-terminal in raw mode: what the PC
// writes to the device goes to the module, what the module sends is written
// back when its time on the line has come.
class PtyServer
{
public:
    enum class Direction
    {
        ToPc,   // written to the line by the module
        FromPc, // read from the line by the module
    };
    // Told of every byte as it passes the pseudo-terminal, with the time it did.
    using TrafficObserver =
        std::function<void(Direction, std::uint8_t, std::chrono::steady_clock::time_point)>;

    explicit PtyServer(ModuleEmulator& module);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // The device a serial port opens, e.g. /dev/pts/3.
    const std::string& devicePath() const { return devicePath_; }

    // Serves until `stop` becomes true or the module has disconnected and its
    // last bytes have been written.
    void serve(const std::atomic<bool>& stop);

    // Set before serve() starts; called on the serving thread.
    void onTraffic(TrafficObserver observer) { observer_ = std::move(observer); }

private:
    void closeLine();

    ModuleEmulator& module_;
    int master_ = -1;
    int slave_ = -1;
    std::string devicePath_;
    TrafficObserver observer_;
};

} // namespace vindle::emulator
