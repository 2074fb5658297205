#include "ui/model/OptionGroup.h"

#include <stdexcept>

namespace vindle {

OptionGroup::OptionGroup(std::string name, Frame* parent, const std::vector<Item>& items)
    : Control(ControlKind::OptionGroup, std::move(name), kNoIndex, parent, std::string())
{
    options_.reserve(items.size());
    for (const Item& item : items) {
        if (find(item.index) != nullptr)
            throw std::invalid_argument("option group " + this->name() + ": duplicate index");
        auto option = std::make_unique<Option>(*this, item.index, item.caption, parent);
        option->setVisible(item.visible);
        if (item.layout)
            option->setLayout(*item.layout);
        options_.push_back(std::move(option));
    }
}

Option* OptionGroup::find(int index) const
{
    for (const auto& option : options_) {
        if (option->index() == index)
            return option.get();
    }
    return nullptr;
}

Option& OptionGroup::option(int index) const
{
    Option* option = find(index);
    if (option == nullptr) {
        throw std::out_of_range("option group " + name() + " has no option " +
                                std::to_string(index));
    }
    return *option;
}

std::optional<int> OptionGroup::selected() const
{
    for (const auto& option : options_) {
        if (option->isSelected())
            return option->index();
    }
    return std::nullopt;
}

void OptionGroup::select(int index)
{
    Option& target = option(index);
    if (target.isSelected())
        return;
    for (const auto& option : options_)
        option->setSelected(false);
    target.setSelected(true);
    raiseClick(index);
}

void OptionGroup::click(int index)
{
    Option& target = option(index);
    if (!target.isEffectivelyEnabled() || !target.isEffectivelyVisible())
        return;
    if (target.isSelected())
        raiseClick(index);
    else
        select(index);
}

void OptionGroup::clearSelection()
{
    for (const auto& option : options_)
        option->setSelected(false);
}

void OptionGroup::raiseClick(int index)
{
    if (clickHandler_)
        clickHandler_(index);
}

} // namespace vindle
