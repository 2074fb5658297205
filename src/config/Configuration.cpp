#include "config/Configuration.h"

#include "base/AtIndex.h"
#include "config/KeptRecord.h"
#include "config/MemoryMap.h"

namespace vindle {

Configuration::Configuration() : put_(startingRecord()), record_(put_) {}

std::vector<UnkeptValue> Configuration::put(const ConfigurationRecord& record,
                                            const std::optional<CapabilityFlags>& capabilities)
{
    put_ = record;
    capabilities_ = capabilities;
    texts_.clear();
    record_ = keepRecord(put_, capabilities_).record;
    std::vector<UnkeptValue> unkept;
    for (int location = 0; location < kLocationCount; ++location) {
        if (record_[location] != record[location])
            unkept.push_back({location, record[location], record_[location]});
    }
    return unkept;
}

void Configuration::set(int location, int value)
{
    texts_.erase(location);
    atIndex(record_.values, location) = static_cast<std::int16_t>(value);
}

void Configuration::setText(int location, std::string text)
{
    texts_[location] = std::move(text);
}

bool Configuration::editsUnsaved() const
{
    return kept_ && (!texts_.empty() || kept_->values != record_.values);
}

void Configuration::keep()
{
    if (texts_.empty())
        kept_ = record_;
}

StoreValues Configuration::toStore()
{
    StoreValues values{record_, std::nullopt, {}};
    for (const auto& [location, text] : texts_) {
        atIndex(values.record.values, location) = 0;
        if (!values.refusedLocation) {
            values.refusedLocation = location;
            values.refusal = badFieldMessage(location, text);
        }
    }
    return values;
}

std::optional<int> Configuration::valueToSend(int location)
{
    if (texts_.contains(location))
        return std::nullopt;
    return record_[location];
}

std::string badFieldMessage(int location, const std::string& text)
{
    return std::string(kCannotStore) + "  " + fieldName(locationInfo(location)) + " is \"" + text +
           "\": it must be a number from 0 to 255.  Nothing was sent to the Vindle Module.";
}

bool Configuration::sendsOutput() const
{
    return sendsSomeOutput(record_);
}

std::vector<int> Configuration::putValues(const ConfigurationRecord& record)
{
    put_ = record;
    capabilities_.reset();
    texts_.clear();
    return keepRecord(put_, std::nullopt).rejected;
}

void Configuration::putFrequency(const ConfigurationRecord& /*record*/)
{
    record_ = keepRecord(put_, capabilities_).record;
}

void Configuration::applyCapabilities(const CapabilityFlags& capabilities)
{
    capabilities_ = capabilities;
    record_ = keepRecord(put_, capabilities_).record;
}

} // namespace vindle
