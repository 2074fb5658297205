#pragma once

#include "program/SetupProgram.h"
#include "qt/TwipScale.h"
#include "qt/WindowBinder.h"

#include <memory>
#include <string_view>
#include <vector>

namespace vindle {

// Renders every window of a run: those that exist now and each one the run
// creates later. Must be destroyed before the run it renders.
class ProgramView
{
public:
    ProgramView(SetupProgram& program, const TwipScale& scale);
    ProgramView(const ProgramView&) = delete;
    ProgramView& operator=(const ProgramView&) = delete;

    // The binder of the window with that model name; nullptr when the window
    // has not been created.
    WindowBinder* binder(std::string_view windowName) const;
    // Hides every window at once (the run has ended).
    void hideAll() const;

private:
    TwipScale scale_;
    std::vector<std::unique_ptr<WindowBinder>> binders_;
};

} // namespace vindle
