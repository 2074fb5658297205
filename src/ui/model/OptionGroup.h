#pragma once

#include "ui/model/Control.h"
#include "ui/model/Option.h"

#include <memory>
#include <optional>
#include <vector>

namespace vindle {

// An exclusive group of option buttons (a control array). At most one option
// is selected; a group may have none selected. The indexes need not start at
// 0: a window may split one control array into several independent groups.
//
// The group's own enabled and visible flags act like those of a frame on its
// options; the window logic works on the options' flags.
class OptionGroup : public Control
{
public:
    struct Item
    {
        Item(int index, std::string caption, bool visible = true,
             std::optional<Rect> layout = std::nullopt)
            : index(index), caption(std::move(caption)), visible(visible), layout(layout)
        {}

        int index;
        std::string caption;
        bool visible;
        std::optional<Rect> layout;
    };
    using ClickHandler = std::function<void(int index)>;

    OptionGroup(std::string name, Frame* parent, const std::vector<Item>& items);

    const std::vector<std::unique_ptr<Option>>& options() const { return options_; }
    bool hasOption(int index) const { return find(index) != nullptr; }
    // The option with that control-array index; throws std::out_of_range when
    // the group has none.
    Option& option(int index) const;

    bool isSelected(int index) const { return option(index).isSelected(); }
    // Index of the selected option, if any.
    std::optional<int> selected() const;

    // Program selection: makes option `index` the selected one and raises the
    // click handler with that index. Selecting the option that is already
    // selected changes nothing and raises nothing. Works on disabled and hidden
    // options too.
    void select(int index);
    // User click: ignored on an option the user cannot reach (disabled or
    // hidden, itself or through what encloses it); otherwise it selects the
    // option and raises the click handler, also when the option was already
    // selected, so that clicking a choice again repeats what it opens.
    void click(int index);
    // Leaves no option selected. Raises nothing: no option became selected.
    void clearSelection();

    void onClick(ClickHandler handler) { clickHandler_ = std::move(handler); }

private:
    Option* find(int index) const;
    void raiseClick(int index);

    std::vector<std::unique_ptr<Option>> options_;
    ClickHandler clickHandler_;
};

} // namespace vindle
