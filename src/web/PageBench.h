#pragma once

#include "program/Provisioning.h"
#include "web/PageClock.h"
#include "web/PageJournal.h"
#include "web/PagePump.h"
#include "web/PageSerialPort.h"

#include <emscripten/val.h>
#include <string>

namespace vindle {

// The bench of many modules in a page: the core's provisioning on the page's
// port, one module after another from one file. `page` is the object
// vindle-session.mjs makes, as for a run of the windows.
//
// The page gives page.benchFile() ({name, text, sha256, port}) and
// page.benchChecking() (true: the next module is compared with the file,
// nothing written, instead of stored), and takes
//   page.benchState(text)               what the bench does now
//   page.benchProgress(kind, location)  "Storing" or "Reading", 0 to 50
//   page.benchModule(line, status, log, tally)
//                                       a module is done: its line, its
//                                       status, its station log line and
//                                       the running tally
//   page.benchEnded(summary, status)    the tally, and the bench is over
// and queues the actions {action: "stop"} (after the current module, never
// in the middle of a store) and {action: "portStopped", port, reason} (the
// adapter went away: the bench ends, its log kept).
class PageBench final : public RunReporter, public PortConnection
{
public:
    explicit PageBench(emscripten::val page);
    PageBench(const PageBench&) = delete;
    PageBench& operator=(const PageBench&) = delete;

    void run();

    void step(const std::string& line) override;
    void transfer(Transfer transfer, std::optional<int> location) override;
    void message(const std::string&) override {}

    // A page's port is not opened again by the core: one that went away ends
    // the bench.
    bool isOpen() const override { return !portGone_; }
    bool reopen() override { return false; }
    void close() override {}

private:
    void act(const emscripten::val& action);

    emscripten::val page_;
    PageClock clock_;
    PageSerialPort port_;
    PagePump pump_;
    PageJournal journal_{page_};
    ModuleRun* module_ = nullptr;
    bool stop_ = false;
    bool portGone_ = false;
};

} // namespace vindle
