#include "ui/model/Control.h"

#include "ui/model/Frame.h"

#include <algorithm>

namespace vindle {

Control::Control(ControlKind kind, std::string name, int index, Frame* parent, std::string caption)
    : kind_(kind), name_(std::move(name)), index_(index), parent_(parent),
      caption_(std::move(caption))
{}

Control::~Control() = default;

void Control::setCaption(std::string caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    notifyListeners();
}

void Control::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    notifyListeners();
}

void Control::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    notifyListeners();
}

const Control* Control::enclosing() const
{
    return parent_;
}

bool Control::isInside(const Control& outer) const
{
    for (const Control* up = enclosing(); up != nullptr; up = up->enclosing()) {
        if (up == &outer)
            return true;
    }
    return false;
}

bool Control::isEffectivelyEnabled() const
{
    for (const Control* control = this; control != nullptr; control = control->enclosing()) {
        if (!control->enabled_)
            return false;
    }
    return true;
}

bool Control::isEffectivelyVisible() const
{
    for (const Control* control = this; control != nullptr; control = control->enclosing()) {
        if (!control->visible_)
            return false;
    }
    return true;
}

int Control::addListener(Listener listener)
{
    const int id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void Control::removeListener(int id)
{
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void Control::mouseOver() const
{
    if (mouseOver_)
        mouseOver_();
}

void Control::notifyListeners() const
{
    // A listener may add or remove listeners; work on a copy.
    const auto listeners = listeners_;
    for (const auto& entry : listeners)
        entry.second(*this);
}

} // namespace vindle
