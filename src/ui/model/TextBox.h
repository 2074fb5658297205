#pragma once

#include "ui/model/Control.h"

namespace vindle {

// A one-line free-text box. Change is raised whenever the text changes, by
// program or by the user typing; writing the text that is already there
// raises nothing.
class TextBox : public Control
{
public:
    using Handler = std::function<void()>;

    TextBox(std::string name, int index, Frame* parent, std::string text);

    const std::string& text() const { return text_; }
    void setText(std::string text);

    void onChange(Handler handler) { change_ = std::move(handler); }

    // The user pressed Enter in the box (a search box's "find next"); nothing
    // happens unless a handler is installed. Ignored while the user cannot
    // reach the box.
    void enter() const
    {
        if (enter_ && isEffectivelyEnabled() && isEffectivelyVisible())
            enter_();
    }
    void onEnter(Handler handler) { enter_ = std::move(handler); }
    bool takesEnter() const { return static_cast<bool>(enter_); }

private:
    std::string text_;
    Handler change_;
    Handler enter_;
};

} // namespace vindle
