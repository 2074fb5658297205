#pragma once

#include "qt/TwipScale.h"
#include "qt/WindowWidget.h"
#include "ui/model/Window.h"

#include <QObject>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

class QButtonGroup;
class QScrollArea;

class QLabel;

namespace vindle {

// Renders any window model as a top-level widget and keeps the two in step:
// every change of the model reaches its widget at once, and what the user
// does reaches the model through the calls the program uses. Controls stand
// where their twip layouts put them. On a screen too small for the window
// the part above its footer scrolls and the footer stays in view; a window
// without a designed size stacks its controls in creation order. Tab moves
// through a frame's controls in reading order before going on to the next.
//
// The binder must not outlive the window it renders.
class WindowBinder final : public QObject
{
public:
    WindowBinder(Window& window, const TwipScale& scale);
    ~WindowBinder() override;
    WindowBinder(const WindowBinder&) = delete;
    WindowBinder& operator=(const WindowBinder&) = delete;

    Window& window() const { return window_; }
    QWidget& widget() const { return *top_; }
    // The widget that shows `control`; nullptr for an option group.
    QWidget* widgetFor(const Control& control) const;
    // The widget of the control with that name and index; nullptr when none.
    QWidget* widgetFor(std::string_view name, int index = kNoIndex) const;
    // Sizes the window to the room a screen gives it: the whole window where
    // it fits, else the footer whole and the rest scrolling. A menu bar added
    // to the window's layout comes on top of the designed area.
    void fitInto(const QSize& room);
    void fitToScreen();

protected:
    // Pointer moves over the window and its controls call the models'
    // mouse-over handlers.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    bool captionsFit() const;
    void widenToFitCaptions();
    void place(const Control& control, QWidget& widget) const;
    void controlChanged(const Control& control);
    void windowChanged(Window::Change change);
    void nameForAssistiveTechnology(const Control& control, QWidget& widget) const;
    void orderTabs();
    void syncTabStops() const;
    void hovered(QObject* watched, const QPointF& globalPosition);
    QWidget* newCanvas(QWidget* parent);
    // The control's keys reach it from anywhere in the window.
    void addShortcut(Control& control, QWidget& widget);
    // Has a screen reader say `text`.
    void announce(const QString& text);
    bool inFooter(const Control& control) const;
    QWidget* canvasFor(const Control& control) const;

    Window& window_;
    TwipScale scale_;
    std::unique_ptr<WindowWidget> top_;
    // What the controls stand on: the top-level widget itself, or, for a
    // window with a designed size, a body that scrolls when the screen is
    // smaller than the window and, below it, the footer that never does.
    QWidget* body_ = nullptr;
    QWidget* footer_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    std::unordered_map<const Control*, QWidget*> widgets_;
    std::unordered_map<const QWidget*, const Control*> controls_;
    std::unordered_map<const Control*, QButtonGroup*> groups_;
    // Naming label -> the controls it names.
    std::unordered_multimap<const Control*, const Control*> named_;
    std::vector<std::pair<Control*, int>> listeners_;
    std::vector<const Control*> readingOrder_;
    QLabel* announcer_ = nullptr;
    int windowListener_ = 0;
};

} // namespace vindle
