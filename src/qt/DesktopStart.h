#pragma once

#include "qt/PortChooser.h"

#include <QString>

namespace vindle {

// Where a run of the desktop program begins.
struct DesktopStart
{
    // The port tried first: the program's own, --port's, or --emulate's.
    QString device;
    // The command line named the port (--port or --emulate): a port that does
    // not open ends the program, as a script that asked for it expects.
    bool namedOnCommandLine = false;
    // For "Try without a module"; empty where there is no emulated module.
    EmulatorStarter startEmulator;
};

// Opens the port and runs the program on it; the exit status. A port that
// does not open is reported on stderr with how to choose another; then the
// program's own port lets the person choose one in a window (status 1 when
// they quit), while a port named on the command line ends it with status 1.
int runDesktop(const DesktopStart& start);

} // namespace vindle
