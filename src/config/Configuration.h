#pragma once

#include "config/ConfigurationHolder.h"

#include <optional>
#include <vector>

namespace vindle {

// The configuration where no window shows it (the command line, the bench):
// the record a store sends, the module's flags, and the copy a store or a
// file last took. What it keeps of a record is what windows just made would
// keep of it.
class Configuration final : public ConfigurationHolder
{
public:
    Configuration();

    // Puts `record` in as a read does, for a module fitted with
    // `capabilities` (none: before any module's flags apply); returns the
    // locations held differently now.
    std::vector<UnkeptValue> put(const ConfigurationRecord& record,
                                 const std::optional<CapabilityFlags>& capabilities);

    const ConfigurationRecord& record() const { return record_; }
    bool sendsOutput() const;
    // The record differs from the one last kept.
    bool editsUnsaved() const { return kept_ && kept_->values != record_.values; }
    // A store or a file has taken the record as it is now.
    void keep() { kept_ = record_; }

    std::vector<int> putValues(const ConfigurationRecord& record) override;
    void putFrequency(const ConfigurationRecord& record) override;
    void applyCapabilities(const CapabilityFlags& capabilities) override;
    StoreValues toStore() override { return {record_, std::nullopt, {}}; }
    std::optional<int> valueToSend(int location) override { return record_[location]; }

private:
    // The record as it was put in, and the flags applied since.
    ConfigurationRecord put_;
    std::optional<CapabilityFlags> capabilities_;
    ConfigurationRecord record_;
    std::optional<ConfigurationRecord> kept_;
};

} // namespace vindle
