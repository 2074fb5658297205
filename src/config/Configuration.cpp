#include "config/Configuration.h"

#include "config/KeptRecord.h"

namespace vindle {

Configuration::Configuration() : put_(startingRecord()), record_(put_) {}

std::vector<UnkeptValue> Configuration::put(const ConfigurationRecord& record,
                                            const std::optional<CapabilityFlags>& capabilities)
{
    put_ = record;
    capabilities_ = capabilities;
    record_ = keepRecord(put_, capabilities_).record;
    std::vector<UnkeptValue> unkept;
    for (int location = 0; location < kLocationCount; ++location) {
        if (record_[location] != record[location])
            unkept.push_back({location, record[location], record_[location]});
    }
    return unkept;
}

bool Configuration::sendsOutput() const
{
    return sendsSomeOutput(record_);
}

std::vector<int> Configuration::putValues(const ConfigurationRecord& record)
{
    put_ = record;
    capabilities_.reset();
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
