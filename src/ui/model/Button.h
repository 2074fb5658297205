#pragma once

#include "ui/model/Control.h"

namespace vindle {

// A push button. The caption may carry state (a two-state button writes it).
class Button : public Control
{
public:
    using Handler = std::function<void()>;

    Button(std::string name, int index, Frame* parent, std::string caption)
        : Control(ControlKind::Button, std::move(name), index, parent, std::move(caption))
    {}

    // Raises the click handler. The program may call it at any time; a user
    // press goes through press(), which ignores a button the user cannot reach.
    void click() const
    {
        if (click_)
            click_();
    }
    void press() const
    {
        if (isEffectivelyEnabled() && isEffectivelyVisible())
            click();
    }

    void onClick(Handler handler) { click_ = std::move(handler); }

private:
    Handler click_;
};

} // namespace vindle
