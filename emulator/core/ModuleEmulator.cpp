#include "ModuleEmulator.h"

#include "base/AtIndex.h"

#include <algorithm>
#include <cassert>

namespace vindle::emulator {

namespace {

// The bytes the module sends after the last location/value pair of a read and
// after the last acknowledgement of a store; the utility drops them.
constexpr std::uint8_t kTrailingByte = 0;
constexpr int kReadTrailingBytes = 3;

bool matches(ReplyKind aim, ReplyKind reply)
{
    return aim == ReplyKind::Any || aim == reply;
}

} // namespace

ModuleEmulator::ModuleEmulator(EmulatorSettings settings)
    : settings_(std::move(settings)), running_(settings_.startRunning),
      faultUses_(settings_.faults.size(), 0)
{}

void ModuleEmulator::receive(std::uint8_t byte, TimePoint now)
{
    if (disconnected_) {
        return;
    }
    if (running_) {
        produceRunningData(now);
        return; // out of configuration mode the module does not listen
    }
    if (state_ == State::Storing && now - lastStoreByte_ > settings_.storeIdleTimeout) {
        state_ = State::Idle;
    }
    switch (state_) {
    case State::Idle:
        if (byte == command::kIntroducer) {
            state_ = State::Command;
        }
        break;
    case State::Command:
        if (byte == command::kIntroducer) {
            break; // a repeated introducer still introduces the next byte
        }
        state_ = State::Idle;
        handleCommand(byte, now);
        break;
    case State::Storing:
        handleStoreByte(byte, now);
        break;
    }
}

void ModuleEmulator::handleCommand(std::uint8_t command, TimePoint now)
{
    auto& config = settings_.configuration;
    switch (command) {
    case command::kReadConfiguration:
        beginReply(ReplyKind::ReadConfiguration);
        for (int location = 0; location < kLocationCount; ++location) {
            send(static_cast<std::uint8_t>(location), now);
            send(atIndex(config, location), now);
        }
        for (int i = 0; i < kReadTrailingBytes; ++i) {
            send(kTrailingByte, now);
        }
        break;
    case command::kStoreConfiguration:
        beginReply(ReplyKind::StoreConfiguration);
        state_ = State::Storing;
        storeLocation_ = 0;
        lastStoreByte_ = now;
        break;
    case command::kIdentify:
        beginReply(ReplyKind::Identify);
        for (std::uint8_t byte : {settings_.deviceId1, settings_.deviceId2, settings_.yearOfRelease,
                                  settings_.firmwareVersion, settings_.capabilities}) {
            send(byte, now);
        }
        if (settings_.resetOnIdentify) {
            config = settings_.defaults;
        }
        send(kReadyMarker, now);
        break;
    case command::kReadAnalogInputs: {
        beginReply(ReplyKind::ReadAnalog);
        send(kReadyMarker, now);
        for (int channel = 0; channel < kAnalogChannelCount; ++channel) {
            int reading = atIndex(settings_.analogReadings, channel);
            if (settings_.varyAnalogReadings) {
                reading += 13 * analogRequests_ * (channel + 1);
            }
            send(static_cast<std::uint8_t>(reading % 256), now);
        }
        ++analogRequests_;
        break;
    }
    case command::kTestConfiguration:
        running_ = true;
        if (producesPackets()) {
            nextPacket_ = now + runningPeriod();
        }
        break;
    default:
        break; // unknown commands are ignored
    }
}

void ModuleEmulator::handleStoreByte(std::uint8_t byte, TimePoint now)
{
    lastStoreByte_ = now;
    atIndex(settings_.configuration, storeLocation_) = byte;
    send(static_cast<std::uint8_t>(storeLocation_), now);
    if (++storeLocation_ == kLocationCount) {
        send(kTrailingByte, now);
        state_ = State::Idle;
    }
}

void ModuleEmulator::beginReply(ReplyKind kind)
{
    replyKind_ = kind;
    replyPosition_ = 0;
    activeFaults_.clear();
    for (std::size_t i = 0; i < settings_.faults.size(); ++i) {
        const Fault& fault = settings_.faults[i];
        if (!matches(fault.reply, kind)) {
            continue;
        }
        if (fault.times == 0 || faultUses_[i] < fault.times) {
            ++faultUses_[i];
            activeFaults_.push_back(&fault);
        }
    }
}

void ModuleEmulator::send(std::uint8_t byte, TimePoint now)
{
    if (settings_.silent) {
        return;
    }
    const int position = replyPosition_++;
    bool dropped = false;
    for (const Fault* fault : activeFaults_) {
        if (fault->position != position) {
            continue;
        }
        switch (fault->kind) {
        case Fault::Kind::Drop:
            dropped = true;
            break;
        case Fault::Kind::Replace:
            byte = fault->value;
            break;
        case Fault::Kind::Insert:
            schedule(fault->value, now);
            break;
        }
    }
    if (!dropped) {
        schedule(byte, now);
    }
}

void ModuleEmulator::schedule(std::uint8_t byte, TimePoint now)
{
    const auto& limit = settings_.disconnectAfterBytes;
    if (limit && bytesSent_ >= *limit) {
        disconnected_ = true;
    }
    if (disconnected_) {
        return;
    }
    ++bytesSent_;
    const TimePoint start = std::max(now, lineFreeAt_);
    lineFreeAt_ = start + settings_.byteDelay + byteTime();
    line_.push_back({passedOn(lineFreeAt_), byte});
    // The bytes already on the line still arrive; nothing follows them.
    if (limit && bytesSent_ >= *limit) {
        disconnected_ = true;
    }
}

bool ModuleEmulator::producesPackets() const
{
    return running_ && !disconnected_ && settings_.runningPacketsPerSecond > 0;
}

void ModuleEmulator::produceRunningData(TimePoint now)
{
    if (!producesPackets()) {
        return;
    }
    const Clock::Duration period = runningPeriod();
    if (!nextPacket_) {
        nextPacket_ = now + period;
        return;
    }
    TimePoint& at = *nextPacket_;
    while (at <= now && !disconnected_) {
        if (line_.size() + packetSize() > kMaxQueuedRunningBytes) {
            // Nobody takes the bytes: every packet up to now is lost at once.
            at += ((now - at) / period + 1) * period;
            break;
        }
        if (lineFreeAt_ <= at) {
            sendPacket(at);
        } // otherwise the line still carries something else and this packet is skipped
        at += period;
    }
}

void ModuleEmulator::sendPacket(TimePoint at)
{
    beginReply(ReplyKind::Running);
    const RunningTraffic traffic = settings_.runningTraffic;
    if (traffic != RunningTraffic::Plain) {
        send(kReadyMarker, at);
    }
    if (traffic == RunningTraffic::HeaderAndKeys) {
        for (int key = 6; key <= 8; ++key) {
            send(atIndex(settings_.configuration, key), at);
        }
    }
    for (int bank = 0; bank < inputBanks(); ++bank) {
        send(runningPattern_, at);
    }
    // Walk one closed input across the eight inputs, then all open.
    runningPattern_ = runningPattern_ == 0 ? 1 : static_cast<std::uint8_t>(runningPattern_ << 1);
}

int ModuleEmulator::inputBanks() const
{
    return std::max(1, static_cast<int>(settings_.configuration[0]));
}

std::size_t ModuleEmulator::packetSize() const
{
    const std::size_t header = settings_.runningTraffic == RunningTraffic::Plain           ? 0
                               : settings_.runningTraffic == RunningTraffic::HeaderAndKeys ? 4
                                                                                           : 1;
    return header + static_cast<std::size_t>(inputBanks());
}

int ModuleEmulator::available(TimePoint now)
{
    produceRunningData(now);
    // Bytes leave in order, so their due times only grow.
    const auto firstLater = std::partition_point(
        line_.begin(), line_.end(), [now](const Scheduled& s) { return s.due <= now; });
    return static_cast<int>(firstLater - line_.begin());
}

std::uint8_t ModuleEmulator::take(TimePoint now)
{
    produceRunningData(now);
    assert(!line_.empty() && line_.front().due <= now);
    const std::uint8_t byte = line_.front().byte;
    line_.pop_front();
    return byte;
}

std::optional<ModuleEmulator::TimePoint> ModuleEmulator::nextDue() const
{
    std::optional<TimePoint> next;
    if (!line_.empty()) {
        next = line_.front().due;
    }
    if (producesPackets() && nextPacket_) {
        const TimePoint packetDue = *nextPacket_ + settings_.byteDelay + byteTime();
        if (!next || packetDue < *next) {
            next = packetDue;
        }
    }
    return next;
}

std::optional<ModuleEmulator::TimePoint> ModuleEmulator::lastDue() const
{
    if (line_.empty()) {
        return std::nullopt;
    }
    return line_.back().due;
}

ModuleEmulator::TimePoint ModuleEmulator::passedOn(TimePoint offTheWire) const
{
    const Clock::Duration tick = settings_.latencyTimer;
    if (tick <= Clock::Duration::zero()) {
        return offTheWire;
    }
    const Clock::Duration since = offTheWire.time_since_epoch();
    return TimePoint(((since + tick - Clock::Duration(1)) / tick) * tick);
}

Clock::Duration ModuleEmulator::byteTime() const
{
    if (settings_.bitRate <= 0) {
        return Clock::Duration::zero();
    }
    // Start bit, eight data bits, stop bit.
    return std::chrono::duration_cast<Clock::Duration>(
        std::chrono::duration<double>(10.0 / settings_.bitRate));
}

Clock::Duration ModuleEmulator::runningPeriod() const
{
    const auto asked = std::chrono::duration_cast<Clock::Duration>(
        std::chrono::duration<double>(1.0 / settings_.runningPacketsPerSecond));
    const auto onTheLine =
        static_cast<Clock::Duration::rep>(packetSize()) * (settings_.byteDelay + byteTime());
    return std::max({asked, onTheLine, Clock::Duration(std::chrono::microseconds(1))});
}

} // namespace vindle::emulator
