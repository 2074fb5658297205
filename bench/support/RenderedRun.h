#pragma once

#include "qt/DesktopProgram.h"
#include "qt/core/QtSerialPort.h"

#include <QString>
#include <memory>

namespace vindle::bench {

// One run of the desktop program with its windows rendered (on Qt's offscreen
// platform in the benchmarks) on the serial device `device`. Message boxes
// are answered at once.
class RenderedRun
{
public:
    explicit RenderedRun(const QString& device);
    ~RenderedRun();
    RenderedRun(const RenderedRun&) = delete;
    RenderedRun& operator=(const RenderedRun&) = delete;

    SetupProgram& program() { return desktop_->program(); }
    // Runs the events that are due, so that what changed is drawn.
    static void settle();
    // Between two procedures, as when the user clicks the next button: waits
    // until the last byte of a reply that nobody waits for (the ready marker
    // after an identity reply) has arrived, then lets the port take it in and
    // the windows draw. Bytes the port has not taken in yet would meet the
    // next procedure's drain too late.
    static void letTheLineFallQuiet();
    // Ends the run shortly after the data monitor is on screen.
    void endWhenMonitoring();

private:
    QtSerialPort port_;
    std::unique_ptr<DesktopProgram> desktop_;
};

} // namespace vindle::bench
