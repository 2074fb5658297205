#include "web/PageBench.h"

#include "program/FileCommands.h"
#include "program/ModuleText.h"
#include "web/PageValues.h"

#include <emscripten.h>
#include <emscripten/bind.h>

namespace vindle {

using emscripten::val;

namespace {

// A field of the station's record, absent when left empty.
std::optional<std::string> given(const val& record, const char* key)
{
    std::string text = textOf(record, key);
    return text.empty() ? std::nullopt : std::optional<std::string>(std::move(text));
}

} // namespace

PageBench::PageBench(val page)
    : page_(std::move(page)), port_(page_),
      pump_(clock_, [this] { return port_.takeQueued([this](const val& action) { act(action); }); })
{}

void PageBench::act(const val& action)
{
    if (action.typeOf().as<std::string>() != "object" || action.isNull() ||
        !action["action"].isString())
        return;
    const std::string kind = action["action"].as<std::string>();
    if (kind == "stop" || kind == "end") {
        stop_ = true;
    } else if (kind == "serial") {
        serialGiven_ = textOf(action, "serial");
    } else if (kind == "portStopped") {
        portGone_ = true;
        portBack_ = false;
        if (module_)
            module_->portFailed(textOf(action, "reason"));
    } else if (kind == "portBack") {
        portBack_ = portGone_;
    }
}

bool PageBench::reopen()
{
    if (!portBack_)
        return false;
    portGone_ = portBack_ = false;
    return true;
}

void PageBench::step(const std::string& line)
{
    page_.call<void>("benchState", line);
}

void PageBench::transfer(Transfer transfer, std::optional<int> location)
{
    page_.call<void>("benchProgress", std::string(transferName(transfer)),
                     location ? val(transferReachedText(*location)) : val::null());
}

std::optional<SerialAnswer> PageBench::askSerial(int number)
{
    if (!page_.call<val>("benchRecord")["askSerial"].as<bool>())
        return SerialAnswer{};
    std::string refused;
    for (;;) {
        serialGiven_.reset();
        page_.call<void>("benchSerial", number,
                         refused.empty() ? std::string() : SerialLedger::refusalText(refused));
        while (!serialGiven_ && !stop_)
            pump_.waitFor(EventPump::kNoLimit);
        if (stop_)
            return std::nullopt;
        if (std::optional<SerialAnswer> answer = serials_.take(*serialGiven_, refused))
            return answer;
        refused = *serialGiven_;
    }
}

void PageBench::run()
{
    const val chosen = page_.call<val>("benchFile");
    const std::string name = textOf(chosen, "name");
    const FileToStore file = fileToStore(name, bytesOf(chosen["text"]).value_or(std::string()));
    if (!file.contents) {
        page_.call<void>("benchEnded", file.refusal, toInt(ExitStatus::Usage));
        return;
    }
    serials_.addLogText(textOf(chosen, "log"));
    const std::string portName = textOf(chosen, "port");
    Provisioning bench(
        port_, *this, pump_, clock_, *this, &journal_, [this] { return stop_; }, portName);
    bench.setFileModule(file.contents->module, false);
    bench.setSerialAsker([this](int number) { return askSerial(number); });
    bench.onWait([this](Provisioning::Wait wait) {
        page_.call<void>(
            "benchWaits",
            std::string(wait == Provisioning::Wait::ForRemoval ? "removal" : "module"));
    });
    int verified = 0;
    int holding = 0;
    int failed = 0;
    const ProvisioningSummary summary = bench.run(
        file.contents->record, [this](ModuleRun* module) { module_ = module; },
        [&](const ProvisionedModule& done) {
            ProvisionedModule module = done;
            if (module.serial && module.serial->empty())
                module.serial.reset();
            ++(module.status != ExitStatus::Done ? failed : (module.checked ? holding : verified));
            const val record = page_.call<val>("benchRecord");
            StationLogEntry common;
            common.time = page_.call<std::string>("isoNow");
            common.port = portName;
            common.file = name;
            if (chosen["sha256"].isString())
                common.fileSha256 = chosen["sha256"].as<std::string>();
            common.station = given(record, "station");
            common.operatorName = given(record, "operator");
            if (module.serial)
                serials_.add(*module.serial);
            page_.call<void>("benchModule", module.line(), toInt(module.status),
                             stationLogJson(benchLogEntry(module, common)).dump(),
                             tallyText(verified, failed, holding));
            return true;
        },
        [this] { return page_.call<bool>("benchChecking"); });
    page_.call<void>("benchEnded", summary.text(), toInt(summary.status));
}

} // namespace vindle

namespace {

// Why a file cannot be stored as it is, in the words of a store; empty when
// it can. The page asks before it asks for a port, with the file's bytes.
std::string storeFileRefusal(const std::string& name, const std::string& bytes)
{
    return vindle::fileToStore(name, bytes).refusal;
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
