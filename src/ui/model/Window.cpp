#include "ui/model/Window.h"

#include <algorithm>

namespace vindle {

Window::Window(std::string name, std::string title)
    : name_(std::move(name)), title_(std::move(title))
{}

Window::~Window() = default;

void Window::setTitle(std::string title)
{
    if (title == title_)
        return;
    title_ = std::move(title);
    notify(Change::Title);
}

void Window::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    notify(Change::Visible);
}

void Window::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    notify(Change::Enabled);
}

void Window::bringToFront()
{
    ++frontRequests_;
    notify(Change::FrontRequest);
}

void Window::announce(std::string text)
{
    announcement_ = std::move(text);
    notify(Change::Announcement);
}

void Window::requestClose()
{
    if (!closable_)
        return;
    if (close_)
        close_();
    else
        hide();
}

void Window::mouseOver() const
{
    if (mouseOver_)
        mouseOver_();
}

Control* Window::find(std::string_view name, int index) const
{
    const auto found = std::find_if(controls_.begin(), controls_.end(), [&](const Control* c) {
        return c->kind() != ControlKind::OptionGroup && c->index() == index && c->name() == name;
    });
    return found == controls_.end() ? nullptr : *found;
}

OptionGroup* Window::findGroup(std::string_view name) const
{
    for (Control* control : controls_) {
        if (control->kind() == ControlKind::OptionGroup && control->name() == name)
            return static_cast<OptionGroup*>(control);
    }
    return nullptr;
}

int Window::addListener(Listener listener)
{
    const int id = nextListenerId_++;
    listeners_.emplace_back(id, std::move(listener));
    return id;
}

void Window::removeListener(int id)
{
    std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void Window::notify(Change change) const
{
    const auto listeners = listeners_;
    for (const auto& entry : listeners)
        entry.second(*this, change);
}

} // namespace vindle
