#pragma once

#include "program/SetupProgram.h"
#include "ui/model/Dialogs.h"
#include "web/PageClock.h"
#include "web/PagePump.h"
#include "web/PageSerialPort.h"
#include "web/WindowMirror.h"

#include <emscripten/val.h>
#include <memory>
#include <vector>

namespace vindle {

// One run of the utility in a page: the port, the event pump, the clock and
// the message boxes the page provides, every window mirrored to it, and the
// page's queue of actions. `page` is the JavaScript object that
// vindle-session.mjs makes; it is the only thing the run talks to.
//
// The page's actions, each an object with an `action` and what it needs:
//   {action, window, control, value}  a user's action on a window (see
//                                     WindowMirror::act)
//   {action: "answer", message}       the user acknowledged a message box
//   {action: "openConfiguration", text}  puts a configuration file into the
//                                     windows, as the desktop's File menu
//   {action: "saveConfiguration"}     the text of a file saved now goes to
//                                     page.configurationSaved(text)
//   {action: "end"}                   the page goes away: the run ends
// While a message box is open the other windows take no actions, as with a
// modal box on the desktop.
class PageRun
{
public:
    explicit PageRun(emscripten::val page);
    ~PageRun();
    PageRun(const PageRun&) = delete;
    PageRun& operator=(const PageRun&) = delete;

    // Start-up, then the user's actions, until the run ends.
    void run();

private:
    // Message boxes of the page: each waits for its answer.
    class PageDialogs final : public Dialogs
    {
    public:
        explicit PageDialogs(PageRun& run) : run_(run) {}
        void showMessage(const std::string& text) override;

    private:
        PageRun& run_;
    };

    bool takeQueued();
    void act(const emscripten::val& action);
    void openConfiguration(const std::string& text);
    void saveConfiguration();
    WindowMirror* mirror(const std::string& windowName) const;

    emscripten::val page_;
    PageClock clock_;
    PageSerialPort port_;
    PagePump pump_;
    PageDialogs dialogs_;
    SetupProgram program_;
    std::vector<std::unique_ptr<WindowMirror>> mirrors_;
    int lastMessage_ = 0;
    // The message box that is open, 0 for none.
    int openMessage_ = 0;
};

} // namespace vindle
