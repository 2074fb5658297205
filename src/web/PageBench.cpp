#include "web/PageBench.h"

#include "program/FileCommands.h"

#include <emscripten.h>
#include <emscripten/bind.h>

namespace vindle {

using emscripten::val;

namespace {

std::string textOf(const val& object, const char* key)
{
    return object[key].isString() ? object[key].as<std::string>() : std::string();
}

} // namespace

PageBench::PageBench(val page)
    : page_(std::move(page)), port_(page_),
      pump_(clock_, [this] { return port_.takeQueued([this](const val& action) { act(action); }); })
{}

void PageBench::act(const val& action)
{
    if (action.typeOf().as<std::string>() != "object" || !action["action"].isString())
        return;
    const std::string kind = action["action"].as<std::string>();
    if (kind == "stop" || kind == "end") {
        stop_ = true;
    } else if (kind == "portStopped") {
        portGone_ = true;
        if (module_)
            module_->portFailed(textOf(action, "reason"));
    }
}

void PageBench::step(const std::string& line)
{
    page_.call<void>("benchState", line);
}

void PageBench::transfer(Transfer transfer, std::optional<int> location)
{
    page_.call<void>("benchProgress",
                     std::string(transfer == Transfer::Storing ? "Storing" : "Reading"),
                     location ? val(*location) : val::null());
}

void PageBench::run()
{
    const val chosen = page_.call<val>("benchFile");
    const std::string name = textOf(chosen, "name");
    const FileToStore file = fileToStore(name, textOf(chosen, "text"));
    if (!file.contents) {
        page_.call<void>("benchEnded", file.refusal, toInt(ExitStatus::Usage));
        return;
    }
    const std::string portName = textOf(chosen, "port");
    Provisioning bench(
        port_, *this, pump_, clock_, *this, &journal_, [this] { return stop_ || portGone_; },
        portName);
    int verified = 0;
    int holding = 0;
    int failed = 0;
    const ProvisioningSummary summary = bench.run(
        file.contents->record, [this](ModuleRun* module) { module_ = module; },
        [&](const ProvisionedModule& module) {
            ++(module.status != ExitStatus::Done ? failed : (module.checked ? holding : verified));
            StationLogEntry entry;
            entry.time = page_.call<std::string>("isoNow");
            entry.command = module.checked ? "diff" : "store";
            entry.port = portName;
            entry.file = name;
            if (chosen["sha256"].isString())
                entry.fileSha256 = chosen["sha256"].as<std::string>();
            entry.module = module.identity;
            entry.status = module.status;
            entry.result = module.line();
            entry.differences = module.differences;
            page_.call<void>("benchModule", module.line(), toInt(module.status),
                             stationLogJson(entry).dump(), tallyText(verified, failed, holding));
            return true;
        },
        [this] { return page_.call<bool>("benchChecking"); });
    page_.call<void>("benchEnded", summary.text(), toInt(summary.status));
}

} // namespace vindle

namespace {

// Why a file cannot be stored as it is, in the words of a store; empty when
// it can. The page asks before it asks for a port.
std::string storeFileRefusal(const std::string& name, const std::string& text)
{
    return vindle::fileToStore(name, text).refusal;
}

} // namespace

EMSCRIPTEN_BINDINGS(vindle_page_bench)
{
    emscripten::function("storeFileRefusal", &storeFileRefusal);
}

// The bench's way into the core, as vindle_run is the windows'.
extern "C" EMSCRIPTEN_KEEPALIVE void vindle_bench()
{
    vindle::PageBench bench(emscripten::val::module_property("vindlePage"));
    bench.run();
}
