#include "ui/model/ReadingOrder.h"

#include "ui/model/Frame.h"
#include "ui/model/Option.h"

#include <algorithm>

namespace vindle {

namespace {

// A control or a whole option group, placed in the frame (or window) it is
// read with, at a place given in that frame's coordinates.
struct Unit
{
    const Control* control;
    // The frame (nullptr: the window) the unit is placed in.
    const Control* readWith;
    // The frame the unit is placed over without belonging to it, or nullptr.
    const Control* after;
    Rect place;
};

Rect placeOf(const Control& control)
{
    if (control.kind() == ControlKind::OptionGroup) {
        const auto& options = static_cast<const OptionGroup&>(control).options();
        return options.empty() ? Rect{} : options.front()->layout().value_or(Rect{});
    }
    return control.layout().value_or(Rect{});
}

const Control* parentOf(const Control& control)
{
    if (control.kind() == ControlKind::OptionGroup) {
        const auto& options = static_cast<const OptionGroup&>(control).options();
        return options.empty() ? control.parent() : options.front()->parent();
    }
    return control.parent();
}

bool covers(const Rect& frame, const Rect& place)
{
    return place.left >= frame.left && place.top >= frame.top &&
           place.left < frame.left + frame.width && place.top < frame.top + frame.height;
}

} // namespace

std::vector<const Control*> readingOrder(const Window& window)
{
    std::vector<Unit> units;
    for (const Control* control : window.controls()) {
        if (control->kind() != ControlKind::Option)
            units.push_back({control, parentOf(*control), nullptr, placeOf(*control)});
    }
    // A control placed over a frame that is not its own is read with that frame.
    for (Unit& unit : units) {
        const bool placed =
            unit.control->layout().has_value() || unit.control->kind() == ControlKind::OptionGroup;
        for (const Unit& frame : units) {
            if (placed && frame.control != unit.control && frame.readWith == unit.readWith &&
                frame.control->kind() == ControlKind::Frame && frame.control->layout() &&
                covers(frame.place, unit.place)) {
                unit.after = frame.control;
                break;
            }
        }
    }
    const auto inReadingOrder = [&units](const auto& belongs) {
        std::vector<const Unit*> found;
        for (const Unit& unit : units) {
            if (belongs(unit))
                found.push_back(&unit);
        }
        std::stable_sort(found.begin(), found.end(), [](const Unit* a, const Unit* b) {
            return std::pair(a->place.top, a->place.left) < std::pair(b->place.top, b->place.left);
        });
        return found;
    };

    std::vector<const Control*> order;
    const auto read = [&](const auto& self, const Unit& unit) -> void {
        if (unit.control->kind() == ControlKind::OptionGroup) {
            for (const auto& option : static_cast<const OptionGroup&>(*unit.control).options())
                order.push_back(option.get());
            return;
        }
        order.push_back(unit.control);
        if (unit.control->kind() != ControlKind::Frame)
            return;
        for (const Unit* member : inReadingOrder([&unit](const Unit& u) {
                 return u.readWith == unit.control && u.after == nullptr;
             }))
            self(self, *member);
        for (const Unit* over :
             inReadingOrder([&unit](const Unit& u) { return u.after == unit.control; }))
            self(self, *over);
    };
    for (const Unit* unit :
         inReadingOrder([](const Unit& u) { return u.readWith == nullptr && u.after == nullptr; }))
        read(read, *unit);
    return order;
}

bool takesKeyboardFocus(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Option:
    case ControlKind::CheckBox:
    case ControlKind::Slider:
    case ControlKind::TextBox:
    case ControlKind::Button:
    case ControlKind::LineDisplay:
        return true;
    default:
        return false;
    }
}

const Option* tabStopOf(const OptionGroup& group)
{
    const auto usable = [](const Control& c) {
        return c.isEffectivelyEnabled() && c.isEffectivelyVisible();
    };
    if (const auto selected = group.selected()) {
        const Option& option = group.option(*selected);
        return usable(option) ? &option : nullptr;
    }
    for (const auto& option : group.options()) {
        if (usable(*option))
            return option.get();
    }
    return nullptr;
}

std::vector<const Control*> tabStops(const Window& window)
{
    return tabStops(readingOrder(window));
}

std::vector<const Control*> tabStops(const std::vector<const Control*>& readingOrder)
{
    std::vector<const Control*> stops;
    for (const Control* control : readingOrder) {
        if (!takesKeyboardFocus(control->kind()) || !control->isEffectivelyEnabled() ||
            !control->isEffectivelyVisible())
            continue;
        if (control->kind() == ControlKind::Option &&
            tabStopOf(static_cast<const Option&>(*control).group()) != control)
            continue;
        stops.push_back(control);
    }
    return stops;
}

} // namespace vindle
