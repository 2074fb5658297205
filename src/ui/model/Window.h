#pragma once

#include "ui/model/Control.h"
#include "ui/model/OptionGroup.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace vindle {

// A top-level window as a model: its title, visible and enabled flags,
// requests to come to the front, and the controls it holds in creation order.
// The shell renders it and acts on its requests; the logic holds it whether
// or not it is shown.
class Window
{
public:
    enum class Change
    {
        Title,
        Visible,
        Enabled,
        FrontRequest,
        Announcement,
    };
    using Listener = std::function<void(const Window&, Change)>;
    using Handler = std::function<void()>;

    Window(std::string name, std::string title);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    const std::string& name() const { return name_; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title);

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }

    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // Asks the shell to raise the window above the others. Every request is
    // counted and reported, also when the window is already in front.
    void bringToFront();
    // Enabled, visible and asked to the front: where a procedure leaves the
    // window it worked from.
    void showEnabledInFront()
    {
        setEnabled(true);
        show();
        bringToFront();
    }
    int frontRequests() const { return frontRequests_; }

    // Something a screen reader tells politely, without a message box or a
    // control of its own (a view paused, a capture begun). Every call is
    // reported, also with the words of the last.
    void announce(std::string text);
    const std::string& announcement() const { return announcement_; }

    // The user closes the window through its frame. Runs the close handler,
    // or, when none is installed, hides the window so that nothing it holds
    // is lost. A window that is not closable ignores it.
    void requestClose();
    // `endsProgram`: the handler ends the program (a shell asks first about
    // what would be lost).
    void onClose(Handler handler, bool endsProgram = false)
    {
        close_ = std::move(handler);
        closeEndsProgram_ = endsProgram;
    }
    bool closeEndsProgram() const { return closeEndsProgram_; }
    // Whether the frame offers the user a close (a window that only shows a
    // transfer under way has none), and whether Escape is that close too. A
    // window whose close would end the program while a person edits in it
    // does not take Escape.
    bool isClosable() const { return closable_; }
    void setClosable(bool closable) { closable_ = closable; }
    bool closesOnEscape() const { return closable_ && closesOnEscape_; }
    void setClosesOnEscape(bool closes) { closesOnEscape_ = closes; }

    // The pointer moved over the window's background.
    void mouseOver() const;
    void onMouseOver(Handler handler) { mouseOver_ = std::move(handler); }

    // What explains a control to a person who cannot point at it: the help
    // the window gives for it, or nothing.
    using Describer = std::function<std::optional<std::string_view>(const Control&)>;
    void setDescriber(Describer describer) { describer_ = std::move(describer); }
    std::optional<std::string_view> helpFor(const Control& control) const
    {
        return describer_ ? describer_(control) : std::nullopt;
    }

    // Client area in twips, when the window has a designed size.
    const std::optional<Rect>& clientArea() const { return clientArea_; }
    void setClientArea(Rect area) { clientArea_ = area; }
    // Where the window's footer begins, in twips from the top of the client
    // area: the controls at or below this line (help, explanations and the
    // buttons) stay in view when a small screen makes the rest scroll.
    const std::optional<int>& footerTop() const { return footerTop_; }
    void setFooterTop(int twips) { footerTop_ = twips; }
    // Whether `control` is in the footer: outside every frame, placed at or
    // below the footer's line.
    bool inFooter(const Control& control) const
    {
        return footerTop_ && control.parent() == nullptr && control.layout() &&
               control.layout()->top >= *footerTop_;
    }

    // Every control, options included, in creation order (frames before what
    // they hold).
    const std::vector<Control*>& controls() const { return controls_; }
    // The control with that name and index, option groups excepted; nullptr
    // when there is none.
    Control* find(std::string_view name, int index = kNoIndex) const;
    // The first option group with that name; nullptr when there is none.
    OptionGroup* findGroup(std::string_view name) const;
    // The control with that name and index as a T; throws std::out_of_range
    // when there is none or it is of another kind.
    template <class T> T& get(std::string_view name, int index = kNoIndex) const;

    // Creates a control owned by this window. Options of a group are listed
    // right after their group.
    template <class T, class... Args> T& add(Args&&... args);

    // Shell hook: called after every change of the window's own state.
    int addListener(Listener listener);
    void removeListener(int id);

private:
    void notify(Change change) const;

    std::string name_;
    std::string title_;
    bool visible_ = false;
    bool enabled_ = true;
    int frontRequests_ = 0;
    std::string announcement_;
    Handler close_;
    bool closable_ = true;
    bool closeEndsProgram_ = false;
    bool closesOnEscape_ = true;
    Handler mouseOver_;
    Describer describer_;
    std::optional<Rect> clientArea_;
    std::optional<int> footerTop_;
    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> controls_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextListenerId_ = 1;
};

template <class T> T& Window::get(std::string_view name, int index) const
{
    Control* control = std::is_same_v<T, OptionGroup> ? findGroup(name) : find(name, index);
    auto* typed = dynamic_cast<T*>(control);
    if (typed == nullptr) {
        std::string what = name_ + " has no such control: " + std::string(name);
        if (index != kNoIndex)
            what += "(" + std::to_string(index) + ")";
        throw std::out_of_range(what);
    }
    return *typed;
}

template <class T, class... Args> T& Window::add(Args&&... args)
{
    static_assert(std::is_base_of_v<Control, T>);
    auto control = std::make_unique<T>(std::forward<Args>(args)...);
    T& added = *control;
    controls_.push_back(&added);
    if constexpr (std::is_same_v<T, OptionGroup>) {
        for (const auto& option : added.options())
            controls_.push_back(option.get());
    }
    owned_.push_back(std::move(control));
    return added;
}

} // namespace vindle
