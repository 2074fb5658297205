#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vindle {

class Frame;

// What a control is, so that a renderer can pick the widget to draw for it.
enum class ControlKind
{
    Frame,
    OptionGroup,
    Option,
    CheckBox,
    Slider,
    TextBox,
    Label,
    Button,
    ProgressBar,
    LineDisplay,
};

// A rectangle in twips (1/1440 inch), relative to the enclosing frame or, for
// a control outside any frame, to the window's client area. A width or height
// of 0 means "as large as the contents need".
struct Rect
{
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// Index of a control that is not a member of a control array.
inline constexpr int kNoIndex = -1;

// One control of a window model: its identity (kind, name, index within its
// control array, enclosing frame), its caption and its enabled and visible
// flags. Derived classes add the state of their kind.
//
// Two kinds of callers watch a control. The window logic installs handlers
// (click, change, mouse-over) through the derived classes; a renderer adds
// listeners here, which hear of every change of state, whoever made it.
class Control
{
public:
    using Listener = std::function<void(const Control&)>;
    using MouseOverHandler = std::function<void()>;

    Control(ControlKind kind, std::string name, int index, Frame* parent, std::string caption);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    int index() const { return index_; }
    Frame* parent() const { return parent_; }

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    // The control's own flags, as the program last set them.
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    // Whether the control can be seen or used: its own flag and that of every
    // control that encloses it. Hiding or disabling a frame leaves its
    // children's own flags untouched.
    bool isEffectivelyEnabled() const;
    bool isEffectivelyVisible() const;
    // The control the user reaches this one through: a frame, or the group of
    // an option.
    virtual const Control* enclosing() const;
    // Whether `outer` encloses this control, at any depth: what a renderer
    // shows again when the flags of `outer` change.
    bool isInside(const Control& outer) const;

    const std::optional<Rect>& layout() const { return layout_; }
    void setLayout(Rect layout) { layout_ = layout; }

    // The label that names a control without a caption of its own (slider,
    // text box, progress bar, line display) for assistive technology;
    // nullptr when the enclosing frame names it.
    const Control* namedBy() const { return namedBy_; }
    void setNamedBy(const Control& label) { namedBy_ = &label; }

    // The keys that reach the control from anywhere in its window ("Ctrl+F",
    // "F3", "Shift+F3"): a button is pressed, any other control takes the
    // focus. Empty for none.
    const std::string& shortcut() const { return shortcut_; }
    void setShortcut(std::string keys) { shortcut_ = std::move(keys); }

    // Renderer hook: called after every change of this control's state.
    int addListener(Listener listener);
    void removeListener(int id);

    // The pointer moved over the control (context help).
    void onMouseOver(MouseOverHandler handler) { mouseOver_ = std::move(handler); }
    void mouseOver() const;

protected:
    void notifyListeners() const;

private:
    ControlKind kind_;
    std::string name_;
    int index_;
    Frame* parent_;
    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    std::optional<Rect> layout_;
    const Control* namedBy_ = nullptr;
    std::string shortcut_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListenerId_ = 1;
    MouseOverHandler mouseOver_;
};

} // namespace vindle
