#pragma once

#include "program/FileCommands.h"
#include "program/SetupProgram.h"
#include "ui/model/Dialogs.h"
#include "web/PageClock.h"
#include "web/PageJournal.h"
#include "web/PagePump.h"
#include "web/PageSerialPort.h"
#include "web/WindowMirror.h"

#include <emscripten/val.h>
#include <memory>
#include <optional>
#include <string>
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
//   {action: "openConfiguration", name, size, text}
//                                     puts the configuration file `name` (of
//                                     `size` bytes; `text` its bytes, a
//                                     Uint8Array) into the windows, as the
//                                     desktop's File menu
//   {action: "portStopped", port, reason}
//                                     the port stopped working: the run ends,
//                                     and page.ended(stop) hears why
//   {action: "saveConfiguration"}     the text of a file saved now goes to
//                                     page.configurationSaved(text)
//   {action: "configurationWritten"}  the page wrote that text to a file
//   {action: "end"}                   the page goes away: the run ends
//   {action: "linesSaved", name}      the data monitor's lines, given to
//                                     page.saveLines(text), are in the file
//                                     `name`
//   {action: "captureChosen", name}   the file `name` takes the capture
//                                     page.chooseCapture() asked for: its
//                                     lines go to page.captureAppend(text),
//                                     until page.captureEnd()
//   {action: "captureFailed", reason} the capture's file could not be
//                                     written: the capture ends
// page.ended(stop) comes once: `stop` is null, or {port, reason, storeCut,
// message} when the port stopped working. page.editsUnsaved(unsaved) comes
// whenever the windows come to hold edits that neither the module nor a file
// has taken, or stop holding them, so that the page can ask before they are
// lost without calling into the run.
// A store under way is noted through page.storeJournal(op), op "earlier",
// "begins" or "over" ("earlier" answers "none", "unfinished" or "unknown"),
// in the origin's storage, so that the run after a reload or a crash waits
// for the module behind the same adapter to give a store up.
// While a message box is open the other windows take no actions, as with a
// modal box on the desktop. A message box goes to page.showMessage(id, text,
// title) and waits for its answer.
class PageRun
{
public:
    explicit PageRun(emscripten::val page);
    ~PageRun();
    PageRun(const PageRun&) = delete;
    PageRun& operator=(const PageRun&) = delete;

    // Start-up, then the user's actions, until the run ends (page.ended()),
    // then the wait for a store cut short to time out in the module.
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

    // The data monitor's files, which the page writes.
    class PageMonitorFiles final : public MonitorFiles
    {
    public:
        explicit PageMonitorFiles(emscripten::val page) : page_(std::move(page)) {}
        void saveLines(const std::string& text, Saved saved) override;
        void chooseCapture(Opened opened) override;
        // What the page answered.
        void linesSaved(const std::string& name);
        void captureChosen(const std::string& name);

    private:
        emscripten::val page_;
        Saved saved_;
        Opened opened_;
    };

    void act(const emscripten::val& action);
    void take(const emscripten::val& action);
    void tellEditsUnsaved();
    void openConfiguration(const emscripten::val& file);
    void tell(const std::string& text) { dialogs_.showMessage(text); }
    void saveConfiguration();
    WindowMirror* mirror(const std::string& windowName) const;

    emscripten::val page_;
    PageClock clock_;
    PageSerialPort port_;
    PagePump pump_;
    PageDialogs dialogs_;
    PageJournal journal_{page_};
    SetupProgram program_;
    PageMonitorFiles monitorFiles_{page_};
    std::vector<std::unique_ptr<WindowMirror>> mirrors_;
    int lastMessage_ = 0;
    // The message box that is open, 0 for none.
    int openMessage_ = 0;
    // What the page was last told of unsaved edits.
    bool editsUnsaved_ = false;
    FileCommands files_{program_};
};

} // namespace vindle
