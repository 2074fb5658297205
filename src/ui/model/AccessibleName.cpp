#include "ui/model/AccessibleName.h"

#include "ui/model/Frame.h"

namespace vindle {

namespace {

bool carriesCaption(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Frame:
    case ControlKind::Option:
    case ControlKind::CheckBox:
    case ControlKind::Label:
    case ControlKind::Button:
        return true;
    case ControlKind::OptionGroup:
    case ControlKind::Slider:
    case ControlKind::TextBox:
    case ControlKind::ProgressBar:
    case ControlKind::LineDisplay:
        return false;
    }
    return false;
}

} // namespace

const Control* namingControl(const Control& control)
{
    if (carriesCaption(control.kind()))
        return &control;
    if (control.namedBy() != nullptr)
        return control.namedBy();
    return control.parent();
}

std::string accessibleName(const Window& window, const Control& control)
{
    const Control* naming = namingControl(control);
    if (naming == nullptr || naming->caption().empty())
        return window.title();
    std::string name = naming->caption();
    if (naming != &control && control.index() != kNoIndex && naming->index() == kNoIndex &&
        naming->kind() == ControlKind::Label)
        name += " " + std::to_string(control.index() + 1);
    return name;
}

std::string accessibleDescription(const Window& window, const Control& control)
{
    for (const Control* at = &control; at != nullptr; at = at->enclosing()) {
        if (const auto help = window.helpFor(*at))
            return std::string(*help);
    }
    return {};
}

} // namespace vindle
