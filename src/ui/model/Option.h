#pragma once

#include "ui/model/Control.h"

namespace vindle {

class OptionGroup;

// One option button of an option group, addressed by its index in the group's
// control array. Selection is managed by the group.
class Option : public Control
{
public:
    Option(OptionGroup& group, int index, std::string caption, Frame* parent);

    OptionGroup& group() const { return group_; }
    bool isSelected() const { return selected_; }

    // Program selection: see OptionGroup::select().
    void select();
    // User click: see OptionGroup::click().
    void click();

    const Control* enclosing() const override;

private:
    friend class OptionGroup;
    void setSelected(bool selected);

    OptionGroup& group_;
    bool selected_ = false;
};

} // namespace vindle
