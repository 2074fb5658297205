#pragma once

#include "config/ConfigurationHolder.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vindle {

// The configuration: the record a store sends, the module's flags, the copy a
// store or a file last took, and the text a field holds that is no byte yet.
//
// Where no window shows it (the command line, the bench) a read puts values
// into it, and it keeps of a record what windows just made would keep. Where
// the windows show it, their controls write each change through (set,
// setText), and a store, a save and the question of unsaved edits read it.
class Configuration final : public ConfigurationHolder
{
public:
    Configuration();

    // Puts `record` in as a read does, for a module fitted with
    // `capabilities` (none: before any module's flags apply); returns the
    // locations held differently now.
    std::vector<UnkeptValue> put(const ConfigurationRecord& record,
                                 const std::optional<CapabilityFlags>& capabilities);

    // A field now holds `value`.
    void set(int location, int value);
    // A field now holds `text`, which is no byte; the record keeps what it
    // held until the field holds a byte again.
    void setText(int location, std::string text);

    const ConfigurationRecord& record() const { return record_; }
    bool sendsOutput() const;
    // Since a store or a file took the record last, it has changed, or a
    // field holds a text that is no byte. False before anything was kept.
    bool editsUnsaved() const;
    // A store or a file has taken the record as it is now (unless a field
    // holds no byte: then nothing could take it).
    void keep();
    // A file has taken `taken`, which the record held when it was written.
    void keep(const ConfigurationRecord& taken) { kept_ = taken; }

    std::vector<int> putValues(const ConfigurationRecord& record) override;
    void putFrequency(const ConfigurationRecord& record) override;
    void applyCapabilities(const CapabilityFlags& capabilities) override;
    StoreValues toStore() override;
    std::optional<int> valueToSend(int location) override;

private:
    // The record as it was put in, and the flags applied since.
    ConfigurationRecord put_;
    std::optional<CapabilityFlags> capabilities_;
    ConfigurationRecord record_;
    std::optional<ConfigurationRecord> kept_;
    // The fields that hold no byte, by location.
    std::map<int, std::string> texts_;
};

} // namespace vindle
