#include "ui/model/Option.h"

#include "ui/model/OptionGroup.h"

namespace vindle {

Option::Option(OptionGroup& group, int index, std::string caption, Frame* parent)
    : Control(ControlKind::Option, group.name(), index, parent, std::move(caption)), group_(group)
{}

void Option::select()
{
    group_.select(index());
}

void Option::click()
{
    group_.click(index());
}

const Control* Option::enclosing() const
{
    return &group_;
}

void Option::setSelected(bool selected)
{
    if (selected == selected_)
        return;
    selected_ = selected;
    notifyListeners();
}

} // namespace vindle
