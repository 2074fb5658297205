#pragma once

#include "program/Provisioning.h"
#include "program/StationRecord.h"
#include "web/PageClock.h"
#include "web/PageJournal.h"
#include "web/PagePump.h"
#include "web/PageSerialPort.h"

#include <emscripten/val.h>
#include <optional>
#include <string>

namespace vindle {

// The bench of many modules in a page: the core's provisioning on the page's
// port, one module after another from one file. `page` is the object
// vindle-session.mjs makes, as for a run of the windows.
//
// The page gives page.benchFile() ({name, text (the file's bytes), sha256,
// port, log: the station log's lines whose serial numbers are taken), and
// page.benchChecking() (true: the next module is compared with the file,
// nothing written, instead of stored) and page.benchRecord() ({station,
// operator, askSerial}), both asked before each module, and takes
//   page.benchState(text)               what the bench does now
//   page.benchProgress(kind, reached)   "Storing" or "Reading", and how far
//                                       it has come ("Location 7 of 50"),
//                                       null as it begins
//   page.benchWaits(what)               it begins to wait for a "module"
//                                       to answer, or for the one done to
//                                       go ("removal")
//   page.benchSerial(number, refusal)   the serial number of module `number`
//                                       is wanted (`refusal`: why the last
//                                       one given was not taken, or empty)
//   page.benchModule(line, status, log, tally)
//                                       a module is done: its line, its
//                                       status, its station log line and
//                                       the running tally
//   page.benchEnded(summary, status)    the tally, and the bench is over
// and queues the actions {action: "stop"} (after the current module, never
// in the middle of a store), {action: "serial", serial} (the answer to
// benchSerial), {action: "portStopped", port, reason} (the adapter went
// away: the module it held has failed, and the bench waits for the port to
// come back) and {action: "portBack"} (the page opened the port again).
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

    // A port that went away is open again only once the page has it back.
    bool isOpen() const override { return !portGone_; }
    bool reopen() override;
    void close() override {}

private:
    void act(const emscripten::val& action);
    // The serial number of module `number`, when the page asks for one.
    std::optional<SerialAnswer> askSerial(int number);

    emscripten::val page_;
    PageClock clock_;
    PageSerialPort port_;
    PagePump pump_;
    PageJournal journal_{page_};
    ModuleRun* module_ = nullptr;
    SerialLedger serials_;
    std::optional<std::string> serialGiven_;
    bool stop_ = false;
    bool portGone_ = false;
    bool portBack_ = false;
};

} // namespace vindle
