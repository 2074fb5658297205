#pragma once

#include "program/SetupProgram.h"
#include "qt/ConfigurationMenu.h"
#include "qt/MonitorFileDialogs.h"
#include "qt/ProgramView.h"
#include "qt/QtDialogs.h"
#include "qt/core/FileStoreJournal.h"
#include "qt/core/QtEventPump.h"
#include "qt/core/QtSerialPort.h"

namespace vindle {

// One run of the utility on the desktop: the open serial port, the Qt event
// loop, the message boxes and the rendered windows around the core's run.
// Ending the run (closing the main window or the data monitor) releases the
// port, hides every window and leaves the event loop with status 0; a port
// that stops working ends it too, said in a message box, with status 1.
class DesktopProgram
{
public:
    // The messages go to `dialogs`, the desktop's message boxes when none
    // is given.
    explicit DesktopProgram(QtSerialPort& port, Dialogs* dialogs = nullptr);
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // Runs start-up, then the event loop until the run ends; the exit status.
    int run();

    SetupProgram& program() { return program_; }
    ProgramView& view() { return view_; }

private:
    void portFailed(const QString& reason);
    void ended();

    QtSerialPort& port_;
    // Beside the port's lock: a store this run leaves open is waited out by
    // the next, also when this one is killed.
    FileStoreJournal journal_;
    QtEventPump pump_;
    SteadyClock clock_;
    QtDialogs boxes_;
    Dialogs& dialogs_;
    SetupProgram program_;
    ProgramView view_;
    ConfigurationMenu menu_;
    MonitorFileDialogs monitorFiles_;
};

} // namespace vindle
