#include "support/ObservedModule.h"

namespace vindle::bench {

ObservedModule::ObservedModule(emulator::EmulatorSettings settings)
    : module_(std::move(settings)), server_(module_)
{
    traffic_.reserve(1 << 16);
    server_.onTraffic([this](Direction direction, std::uint8_t byte, TimePoint at) {
        const std::lock_guard lock(mutex_);
        traffic_.push_back({direction, byte, at});
    });
    thread_ = std::thread([this] { server_.serve(stop_); });
}

ObservedModule::~ObservedModule()
{
    stop_ = true;
    thread_.join();
}

std::vector<ObservedModule::Passing> ObservedModule::traffic() const
{
    const std::lock_guard lock(mutex_);
    return traffic_;
}

std::size_t ObservedModule::passed() const
{
    const std::lock_guard lock(mutex_);
    return traffic_.size();
}

std::optional<ObservedModule::TimePoint> ObservedModule::fromPc(std::uint8_t byte, std::size_t from,
                                                                int count) const
{
    const std::lock_guard lock(mutex_);
    for (std::size_t i = from; i < traffic_.size(); ++i) {
        const Passing& p = traffic_[i];
        if (p.direction == Direction::FromPc && p.byte == byte && --count == 0)
            return p.at;
    }
    return std::nullopt;
}

std::vector<std::chrono::duration<double>> ObservedModule::turnarounds(std::size_t from) const
{
    const std::lock_guard lock(mutex_);
    std::vector<std::chrono::duration<double>> gaps;
    for (std::size_t i = from + 1; i < traffic_.size(); ++i) {
        const Passing& before = traffic_[i - 1];
        const Passing& p = traffic_[i];
        if (p.direction == Direction::FromPc && before.direction == Direction::ToPc)
            gaps.emplace_back(p.at - before.at);
    }
    return gaps;
}

} // namespace vindle::bench
