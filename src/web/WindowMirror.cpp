#include "web/WindowMirror.h"

#include "ui/model/AccessibleName.h"
#include "ui/model/Button.h"
#include "ui/model/CheckBox.h"
#include "ui/model/Drawing.h"
#include "ui/model/Frame.h"
#include "ui/model/Label.h"
#include "ui/model/LineDisplay.h"
#include "ui/model/Option.h"
#include "ui/model/OptionGroup.h"
#include "ui/model/ProgressBar.h"
#include "ui/model/ReadingOrder.h"
#include "ui/model/Slider.h"
#include "ui/model/TextBox.h"

#include <map>

namespace vindle {

using emscripten::val;

namespace {

const std::map<ControlKind, const char*> kKindNames{
    {ControlKind::Frame, "frame"},
    {ControlKind::OptionGroup, "optionGroup"},
    {ControlKind::Option, "option"},
    {ControlKind::CheckBox, "checkBox"},
    {ControlKind::Slider, "slider"},
    {ControlKind::TextBox, "textBox"},
    {ControlKind::Label, "label"},
    {ControlKind::Button, "button"},
    {ControlKind::ProgressBar, "progressBar"},
    {ControlKind::LineDisplay, "lineDisplay"},
};

const std::map<Window::Change, const char*> kChangeNames{
    {Window::Change::Title, "title"},
    {Window::Change::Visible, "visible"},
    {Window::Change::Enabled, "enabled"},
    {Window::Change::FrontRequest, "front"},
};

val rectObject(const Rect& rect)
{
    val object = val::object();
    object.set("left", rect.left);
    object.set("top", rect.top);
    object.set("width", rect.width);
    object.set("height", rect.height);
    return object;
}

template <class T> val orNull(const std::optional<T>& value)
{
    if (!value)
        return val::null();
    if constexpr (std::is_same_v<T, Rect>)
        return rectObject(*value);
    else
        return val(*value);
}

// What a user's action does to a control of its kind: the same call as on
// the desktop. An action whose argument is missing or of another type is not
// one the page can make, and takes nothing.
enum class Argument
{
    None,
    Number,
    Text,
};

struct ControlAction
{
    ControlKind kind;
    Argument argument;
    void (*apply)(Control& control, const val& argument);
};

const std::map<std::string, ControlAction, std::less<>> kActions{
    {"click",
     {ControlKind::Option, Argument::None,
      [](Control& c, const val&) { static_cast<Option&>(c).click(); }}},
    {"toggle",
     {ControlKind::CheckBox, Argument::None,
      [](Control& c, const val&) { static_cast<CheckBox&>(c).toggle(); }}},
    {"value",
     {ControlKind::Slider, Argument::Number,
      [](Control& c, const val& argument) {
          auto& slider = static_cast<Slider&>(c);
          const int value = argument.as<int>();
          if (value != slider.value() && slider.accepts(value))
              slider.setValue(value);
      }}},
    {"drag",
     {ControlKind::Slider, Argument::Number,
      [](Control& c, const val& argument) { static_cast<Slider&>(c).drag(argument.as<int>()); }}},
    {"text",
     {ControlKind::TextBox, Argument::Text,
      [](Control& c, const val& argument) {
          static_cast<TextBox&>(c).setText(argument.as<std::string>());
      }}},
    {"press",
     {ControlKind::Button, Argument::None,
      [](Control& c, const val&) { static_cast<Button&>(c).press(); }}},
    {"enter",
     {ControlKind::TextBox, Argument::None,
      [](Control& c, const val&) { static_cast<TextBox&>(c).enter(); }}},
};

bool fits(Argument expected, const val& argument)
{
    switch (expected) {
    case Argument::Number:
        return argument.isNumber() && val::global("Number").call<bool>("isInteger", argument);
    case Argument::Text:
        return argument.isString();
    default:
        return true;
    }
}

} // namespace

WindowMirror::WindowMirror(Window& window, val page)
    : window_(window), page_(std::move(page)), readingOrder_(readingOrder(window))
{
    int id = 0;
    for (Control* control : window_.controls()) {
        ids_.emplace(control, id++);
        if (const Control* naming = namingControl(*control); naming != nullptr && naming != control)
            named_.emplace(naming, control);
        listeners_.emplace_back(control, control->addListener([this](const Control& changed) {
            controlChanged(changed);
        }));
    }
    windowListener_ = window_.addListener(
        [this](const Window&, Window::Change change) { windowChanged(change); });
}

WindowMirror::~WindowMirror()
{
    window_.removeListener(windowListener_);
    for (const auto& [control, id] : listeners_)
        control->removeListener(id);
}

val WindowMirror::windowState() const
{
    val state = val::object();
    state.set("name", window_.name());
    state.set("title", window_.title());
    state.set("visible", window_.isVisible());
    state.set("enabled", window_.isEnabled());
    state.set("closable", window_.isClosable());
    state.set("closesOnEscape", window_.closesOnEscape());
    state.set("closeEndsProgram", window_.closeEndsProgram());
    return state;
}

val WindowMirror::idsOf(const std::vector<const Control*>& controls) const
{
    val ids = val::array();
    for (const Control* control : controls)
        ids.call<void>("push", ids_.at(control));
    return ids;
}

val WindowMirror::describe()
{
    val window = windowState();
    window.set("clientArea", orNull(window_.clientArea()));
    window.set("footerTop", orNull(window_.footerTop()));
    window.set("twipsPerPixel", kTwipsPerPixel);
    window.set("wideningStep", kWideningStep);
    window.set("mostWideningSteps", kMostWideningSteps);
    val controls = val::array();
    for (const Control* control : window_.controls())
        controls.call<void>("push", describe(*control));
    window.set("controls", controls);
    window.set("readingOrder", idsOf(readingOrder_));
    tabStops_ = tabStops(readingOrder_);
    window.set("tabStops", idsOf(tabStops_));
    return window;
}

val WindowMirror::describe(const Control& control)
{
    val d = val::object();
    const auto idOf = [this](const Control* other) {
        return other == nullptr ? val::null() : val(ids_.at(other));
    };
    d.set("id", ids_.at(&control));
    d.set("kind", kKindNames.at(control.kind()));
    d.set("name", control.name());
    d.set("index", control.index() == kNoIndex ? val::null() : val(control.index()));
    d.set("caption", control.caption());
    d.set("accessibleName", accessibleName(window_, control));
    d.set("description", accessibleDescription(window_, control));
    d.set("layout", orNull(control.layout()));
    d.set("parent", idOf(control.parent()));
    d.set("namedBy", idOf(control.namedBy()));
    d.set("enabled", control.isEnabled());
    d.set("visible", control.isVisible());
    d.set("effectivelyEnabled", control.isEffectivelyEnabled());
    d.set("effectivelyVisible", control.isEffectivelyVisible());
    d.set("inFooter", window_.inFooter(control));
    d.set("shortcut", control.shortcut());
    switch (control.kind()) {
    case ControlKind::OptionGroup: {
        const auto selected = static_cast<const OptionGroup&>(control).selected();
        d.set("selected", orNull(selected));
        break;
    }
    case ControlKind::Option: {
        const auto& option = static_cast<const Option&>(control);
        d.set("group", idOf(&option.group()));
        d.set("selected", option.isSelected());
        break;
    }
    case ControlKind::CheckBox:
        d.set("value", static_cast<const CheckBox&>(control).value());
        break;
    case ControlKind::Slider: {
        const auto& slider = static_cast<const Slider&>(control);
        d.set("value", slider.value());
        d.set("minimum", slider.minimum());
        d.set("maximum", slider.maximum());
        break;
    }
    case ControlKind::ProgressBar: {
        const auto& bar = static_cast<const ProgressBar&>(control);
        d.set("value", bar.value());
        d.set("minimum", bar.minimum());
        d.set("maximum", bar.maximum());
        break;
    }
    case ControlKind::TextBox: {
        const auto& box = static_cast<const TextBox&>(control);
        d.set("text", box.text());
        d.set("takesEnter", box.takesEnter());
        break;
    }
    case ControlKind::Label:
        d.set("wrapsWords", static_cast<const Label&>(control).wrapsWords());
        break;
    case ControlKind::LineDisplay: {
        const auto& display = static_cast<const LineDisplay&>(control);
        auto& [shown, replacements] = linesShown_[&display];
        // Lines written anew come all again.
        const bool replaced = replacements != display.replacements();
        replacements = display.replacements();
        const auto fresh = replaced ? display.lines().size()
                                    : std::min<std::uint64_t>(display.linesAdded() - shown,
                                                              display.lines().size());
        val lines = val::array();
        for (std::size_t i = 0; i < fresh; ++i)
            lines.call<void>("push", display.lines()[i]);
        shown = display.linesAdded();
        d.set("capacity", display.capacity());
        d.set("linesAdded", static_cast<double>(display.linesAdded()));
        d.set("lines", lines);
        d.set("replaced", replaced);
        if (const auto marked = display.marked()) {
            val at = val::object();
            at.set("index", marked->index);
            at.set("count", marked->count);
            d.set("marked", at);
        } else {
            d.set("marked", val::null());
        }
        break;
    }
    default:
        break;
    }
    return d;
}

void WindowMirror::controlChanged(const Control& control)
{
    page_.call<void>("controlChanged", window_.name(), describe(control));
    // What a frame or a group holds shows its flags too.
    if (control.kind() == ControlKind::OptionGroup || control.kind() == ControlKind::Frame) {
        for (const Control* inside : window_.controls()) {
            if (inside->isInside(control))
                page_.call<void>("controlChanged", window_.name(), describe(*inside));
        }
    }
    // A control named by this one's caption is announced by what it shows.
    const auto [first, last] = named_.equal_range(&control);
    for (auto entry = first; entry != last; ++entry)
        page_.call<void>("controlChanged", window_.name(), describe(*entry->second));
    // What a control shows may move the Tab key's stops: a frame hidden, an
    // option chosen.
    if (auto stops = tabStops(readingOrder_); stops != tabStops_) {
        tabStops_ = std::move(stops);
        page_.call<void>("tabStopsChanged", window_.name(), idsOf(tabStops_));
    }
}

void WindowMirror::windowChanged(Window::Change change)
{
    if (change == Window::Change::Announcement) {
        page_.call<void>("announce", window_.announcement());
        return;
    }
    page_.call<void>("windowChanged", windowState(), val(kChangeNames.at(change)));
    if (change != Window::Change::Title)
        return;
    // A control that shows no caption of its own is announced by the title.
    for (const Control* control : window_.controls()) {
        const Control* naming = namingControl(*control);
        if (naming == nullptr || naming->caption().empty())
            page_.call<void>("controlChanged", window_.name(), describe(*control));
    }
}

bool WindowMirror::reachable(const Control& control) const
{
    return window_.isVisible() && window_.isEnabled() && control.isEffectivelyVisible() &&
           control.isEffectivelyEnabled();
}

bool WindowMirror::act(const std::string& action, int control, const val& argument)
{
    if (action == "close") {
        if (window_.isVisible())
            window_.requestClose();
        return true;
    }
    const auto& controls = window_.controls();
    Control* const target = control >= 0 && static_cast<std::size_t>(control) < controls.size()
                                ? controls[static_cast<std::size_t>(control)]
                                : nullptr;
    if (action == "mouseOver") {
        if (target == nullptr)
            window_.mouseOver();
        else if (reachable(*target))
            target->mouseOver();
        return true;
    }
    const auto found = kActions.find(action);
    if (found == kActions.end() || target == nullptr || target->kind() != found->second.kind ||
        !fits(found->second.argument, argument))
        return false;
    if (reachable(*target))
        found->second.apply(*target, argument);
    return true;
}

} // namespace vindle
