#pragma once

#include "PtyServer.h"
#include "core/ModuleEmulator.h"

#include <QString>
#include <atomic>
#include <thread>

namespace vindle {

// An emulated module served on a pseudo-terminal by a thread of this program,
// for --emulate. It starts with factory defaults on a 38400 bit/s line and
// keeps nothing when it stops.
class EmbeddedEmulator
{
public:
    EmbeddedEmulator();
    ~EmbeddedEmulator();
    EmbeddedEmulator(const EmbeddedEmulator&) = delete;
    EmbeddedEmulator& operator=(const EmbeddedEmulator&) = delete;

    // The device the program opens.
    QString devicePath() const { return QString::fromStdString(server_.devicePath()); }

private:
    emulator::ModuleEmulator module_;
    emulator::PtyServer server_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace vindle
