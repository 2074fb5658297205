#include "config/MemoryMap.h"

#include "base/AtIndex.h"

#include <cassert>
#include <cctype>

namespace vindle {

namespace {

using enum ConfigWindow;
using enum Encoding;

constexpr std::optional<int> kNoLimit;

constexpr LocationInfo lowerLimit(int channel)
{
    return {25 + 2 * channel,
            "lower limit of an analog channel",
            Limiter,
            "SetLowerLimit",
            channel,
            Slider,
            kNoLimit,
            0,
            255,
            0};
}

constexpr LocationInfo upperLimit(int channel)
{
    return {26 + 2 * channel,
            "upper limit of an analog channel",
            Limiter,
            "SetUpperLimit",
            channel,
            Slider,
            kNoLimit,
            0,
            255,
            0};
}

constexpr LocationInfo motionMinutes(int input, std::string_view item)
{
    return {41 + input, item, MotionTimes, "MotionMin", input, DecimalText, kNoLimit, 1, 255, 1};
}

constexpr std::array<LocationInfo, kLocationCount> kMemoryMap{{
    {0, "number of input banks connected", Main, "DInputs", -1, Slider, kNoLimit, 0, 32, 0},
    {1, "debounce time for digital inputs", Main, "Debounce", -1, Slider, kNoLimit, 0, 255, 25},
    {2, "first RS-232 relay bank", Advanced, "RSBank", -1, SliderMinusOne, kNoLimit, 1, 255, 1},
    {3, "first LR wireless relay bank", Advanced, "LRBank", -1, SliderMinusOne, kNoLimit, 1, 255,
     1},
    {4, "first ES wireless relay bank", Advanced, "ESBank", -1, SliderMinusOne, kNoLimit, 1, 255,
     1},
    {5, "Q4T device number", Main, "Q4T", -1, DecimalText, kNoLimit, 0, 255, 0},
    {6, "wireless key 1", Main, "Keys", 0, DecimalText, kNoLimit, 0, 255, 0},
    {7, "wireless key 2", Main, "Keys", 1, DecimalText, kNoLimit, 0, 255, 0},
    {8, "wireless key 3", Main, "Keys", 2, DecimalText, kNoLimit, 0, 255, 0},
    {9, "transmitter fitted to this module", Main, "Senders", -1, OptionIndex, 2, 0, 2, 0},
    {10, "mode of operation", Main, "Mode", -1, OptionIndex, 4, 0, 4, 0},
    {11, "A/D resolution", Main, "ADBITS", -1, FlagToCaption, 1, 0, 1, 0},
    {12, "how often data are sent", Main, "Frequency", -1, OptionIndex, 2, 0, 2, -1},
    {13, "transmit interval", Main, "Interval", -1, Slider, kNoLimit, 1, 255, 1},
    {14, "RS-232 output device", Main, "RSDevice", -1, OptionIndex, 12, 0, 12, 0},
    {15, "RS-232 baud rate", Main, "Baud", -1, OptionIndex, 9, 0, 9, 3},
    {16, "LR wireless output device", Main, "LRDevice", -1, OptionIndex, 3, 0, 3, 0},
    {17, "LR radio bit rate", Main, "LRBaud", -1, OptionIndex, 3, 0, 3, 0},
    {18, "LR: send keys with each transmission", Main, "LRKeys", -1, CheckBox, 1, 0, 1, 1},
    {19, "LR: number of times data are sent", Main, "LRReps", -1, Slider, kNoLimit, 1, 255, 5},
    {20, "ES wireless output device", Main, "ESDevice", -1, OptionIndex, 2, 0, 2, 0},
    {21, "ES radio bit rate", Main, "ESBaud", -1, OptionIndex, 6, 0, 6, 0},
    {22, "ES: send keys with each transmission", Main, "ESKeys", -1, CheckBox, 1, 0, 1, 1},
    {23, "ES: number of times data are sent", Main, "ESReps", -1, Slider, kNoLimit, 1, 255, 5},
    {24, "A/D squelch", Advanced, "ADSquelch", -1, Slider, 20, 0, 20, 6},
    lowerLimit(0),
    upperLimit(0),
    lowerLimit(1),
    upperLimit(1),
    lowerLimit(2),
    upperLimit(2),
    lowerLimit(3),
    upperLimit(3),
    lowerLimit(4),
    upperLimit(4),
    lowerLimit(5),
    upperLimit(5),
    lowerLimit(6),
    upperLimit(6),
    {39, "limit mode of analog channels 1 to 7", Limiter, "LimitMode", -1, BitSet, kNoLimit, 0, 127,
     0},
    {40, "inputs are motion detectors", Main, "MotionInputs", -1, NonzeroCheck, kNoLimit, 0, 1, 0},
    motionMinutes(0, "relay activation time of motion input 1, in minutes"),
    motionMinutes(1, "relay activation time of motion input 2, in minutes"),
    motionMinutes(2, "relay activation time of motion input 3, in minutes"),
    motionMinutes(3, "relay activation time of motion input 4, in minutes"),
    motionMinutes(4, "relay activation time of motion input 5, in minutes"),
    motionMinutes(5, "relay activation time of motion input 6, in minutes"),
    motionMinutes(6, "relay activation time of motion input 7, in minutes"),
    motionMinutes(7, "relay activation time of motion input 8, in minutes"),
    {49, "motion activation method", MotionTimes, "Method", -1, MethodChoice, kNoLimit, 0, 1, 0},
    {50, "switch type expected on the inputs", Main, "NCNO", -1, LowBit, kNoLimit, 0, 1, 0},
}};

constexpr bool locationsInOrder()
{
    for (int i = 0; i < kLocationCount; ++i) {
        if (atIndex(kMemoryMap, i).location != i) {
            return false;
        }
    }
    return true;
}
static_assert(locationsInOrder(), "the memory map lists every location once, in order");

} // namespace

const std::array<LocationInfo, kLocationCount>& memoryMap()
{
    return kMemoryMap;
}

const LocationInfo& locationInfo(int location)
{
    assert(location >= 0 && location < kLocationCount);
    return atIndex(kMemoryMap, location);
}

int sliderPositionFor(const LocationInfo& info, int byte)
{
    return info.encoding == SliderMinusOne ? byte + 1 : byte;
}

bool windowRejects(const LocationInfo& info, int byte)
{
    if (info.encoding != Slider && info.encoding != SliderMinusOne) {
        return false;
    }
    const int position = sliderPositionFor(info, byte);
    return position < info.minimum || position > info.maximum;
}

bool windowsCannotShow(const LocationInfo& info, int byte)
{
    return (info.readLimit && byte > *info.readLimit) || windowRejects(info, byte);
}

std::string locationText(int location)
{
    return "location " + std::to_string(location) + " (" +
           std::string(locationInfo(location).item) + ")";
}

std::string fieldName(const LocationInfo& info)
{
    std::string name(info.item);
    if (!name.empty())
        name.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(name.front())));
    return name;
}

} // namespace vindle
