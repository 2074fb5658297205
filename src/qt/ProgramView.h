#pragma once

#include "program/SetupProgram.h"
#include "qt/TwipScale.h"
#include "qt/WindowBinder.h"

#include <memory>
#include <string_view>
#include <vector>

namespace vindle {

// Renders every window of a run: those that exist now and each one the run
// creates later. Every window carries the program's icon; the secondary
// configuration windows and the progress window stay above the main window.
// While an exchange holds the line, the configuration windows show a busy
// pointer. Must be destroyed before the run it renders.
class ProgramView
{
public:
    ProgramView(SetupProgram& program, const TwipScale& scale);
    ~ProgramView();
    ProgramView(const ProgramView&) = delete;
    ProgramView& operator=(const ProgramView&) = delete;

    // The binder of the window with that model name; nullptr when the window
    // has not been created.
    WindowBinder* binder(std::string_view windowName) const;
    // Hides every window at once (the run has ended).
    void hideAll() const;

private:
    void render(Window& window);
    // Windows the user works in while an exchange may run: all but the data
    // monitor, which receives for as long as it is open.
    bool showsBusy(const Window& window) const;
    void exchangeRunning(bool running) const;

    SetupProgram& program_;
    TwipScale scale_;
    std::vector<std::unique_ptr<WindowBinder>> binders_;
};

} // namespace vindle
