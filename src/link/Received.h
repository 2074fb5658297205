#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vindle {

// Result of a bounded receive: a byte value, or no value when the wait ran out.
// Callers use it without testing: no value reads as 0 in numeric use and as the
// empty text in text use, and compares equal to 0 only.
class Received
{
public:
    Received() = default;
    explicit Received(std::uint8_t value) : value_(value) {}

    bool hasValue() const { return value_.has_value(); }
    int toNumber() const { return value_.value_or(0); }
    std::string toText() const { return value_ ? std::to_string(*value_) : std::string(); }

    friend bool operator==(const Received& received, int number)
    {
        return received.toNumber() == number;
    }
    friend bool operator==(const Received&, const Received&) = default;

private:
    std::optional<std::uint8_t> value_;
};

} // namespace vindle
