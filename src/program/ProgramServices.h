#pragma once

#include <functional>

namespace vindle {

class ByteLink;
class ConfigWindows;
class Dialogs;
class ProgressWindow;

// What the procedures that talk to the module work with: the line, the
// user's messages, the configuration windows and the progress window (made
// on first use).
struct ProgramServices
{
    ByteLink& link;
    Dialogs& dialogs;
    ConfigWindows& windows;
    std::function<ProgressWindow&()> progress;
};

} // namespace vindle
