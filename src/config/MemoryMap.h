#pragma once

#include "link/Commands.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vindle {

// The windows that show the configuration.
enum class ConfigWindow
{
    Main,
    Advanced,
    Limiter,
    MotionTimes,
};

// How a location's byte maps onto its control.
enum class Encoding
{
    Slider,         // the slider position
    SliderMinusOne, // the slider position minus 1
    OptionIndex,    // the index of the selected option of a group
    CheckBox,       // 0 unchecked, 1 checked
    NonzeroCheck,   // any nonzero value checks the box; the box state is stored
    DecimalText,    // the number a text box spells
    BitSet,         // one bit per limiter channel
    FlagToCaption,  // 0 "8-BIT", 1 "10-BIT" on a push button
    MethodChoice,   // 0 or 1 select an option; other values change nothing
    LowBit,         // bit 0 selects one of two options; the other bits are ignored
};

// One configuration location: what it means and how it is shown.
struct LocationInfo
{
    int location;
    std::string_view item;
    ConfigWindow window;
    std::string_view control;
    int index; // control-array index, or -1 for a single control
    Encoding encoding;
    std::optional<int> readLimit; // received values above it are replaced by it
    int minimum;                  // control range: slider range, option indexes, ...
    int maximum;
    int initial; // the control's state when its window is created; -1 for none
};

// The module's 51 locations, in location order.
const std::array<LocationInfo, kLocationCount>& memoryMap();
const LocationInfo& locationInfo(int location);

// The slider position a received byte gives, for the slider encodings.
int sliderPositionFor(const LocationInfo& info, int byte);

// True when the control cannot take this byte as received (after the read
// limit): a slider position outside the slider's design range.
bool windowRejects(const LocationInfo& info, int byte);

// True when the windows cannot show this byte exactly: it lies above the
// location's read limit (a read shows the limit instead), or its control
// rejects it.
bool windowsCannotShow(const LocationInfo& info, int byte);

// The name of the field a location is edited in, for messages: its item,
// capitalized.
std::string fieldName(const LocationInfo& info);

// "location 12 (<its item>)", as every message names a location.
std::string locationText(int location);

} // namespace vindle
