#include "program/StationRecord.h"

#include <nlohmann/json.hpp>

namespace vindle {

StationLogEntry benchLogEntry(const ProvisionedModule& module, StationLogEntry common)
{
    StationLogEntry entry = std::move(common);
    entry.command = module.checked ? "diff" : "store";
    entry.module = module.identity;
    entry.status = module.status;
    entry.result = module.line();
    entry.differences = module.differences;
    entry.serial = module.serial;
    entry.attempt = module.attempt;
    entry.before = module.before;
    return entry;
}

void SerialLedger::addLogText(std::string_view jsonl)
{
    while (!jsonl.empty()) {
        const std::size_t end = jsonl.find('\n');
        const std::string_view line = jsonl.substr(0, end);
        jsonl.remove_prefix(end == std::string_view::npos ? jsonl.size() : end + 1);
        const nlohmann::json entry =
            nlohmann::json::parse(line.begin(), line.end(), nullptr, false);
        if (!entry.is_object())
            continue;
        const auto serial = entry.find("serial");
        if (serial != entry.end() && serial->is_string())
            add(serial->get<std::string>());
    }
}

void SerialLedger::add(const std::string& serial)
{
    ++counts_[serial];
}

int SerialLedger::count(const std::string& serial) const
{
    const auto found = counts_.find(serial);
    return found == counts_.end() ? 0 : found->second;
}

std::optional<SerialAnswer> SerialLedger::take(const std::string& serial,
                                               const std::string& refused) const
{
    const int logged = count(serial);
    if (logged > 0 && serial != refused)
        return std::nullopt;
    return SerialAnswer{serial, logged + 1};
}

std::string SerialLedger::refusalText(const std::string& serial)
{
    return "Serial number " + serial +
           " is already in the log. Scan or type it again to try that unit again, or give "
           "another.";
}

} // namespace vindle
