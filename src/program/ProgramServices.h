#pragma once

#include <functional>

namespace vindle {

class ByteLink;
class ConfigWindows;
class Dialogs;
class ProgressWindow;
struct ProcedureEvents;

// What the procedures that talk to the module work with: the line, the
// user's messages, the configuration windows, the progress window (made on
// first use) and whoever follows their progress.
struct ProgramServices
{
    ByteLink& link;
    Dialogs& dialogs;
    ConfigWindows& windows;
    std::function<ProgressWindow&()> progress;
    const ProcedureEvents& events;
};

} // namespace vindle
