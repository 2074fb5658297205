#pragma once

#include "ui/model/Window.h"

#include <cstdint>
#include <emscripten/val.h>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vindle {

class LineDisplay;

// Shows one window model to the page, whatever window it is, and keeps the
// page's copy in step: the page hears of every change of the window and of
// each control, with the control's whole state. The user's actions reach
// the models through the calls the desktop's binder makes.
//
// A control is known to the page by its id, its place in the window's
// controls (creation order). A control's description:
//   id, kind ("frame", "optionGroup", "option", "checkBox", "slider",
//   "textBox", "label", "button", "progressBar", "lineDisplay"), name,
//   index (null outside a control array), caption, accessibleName,
//   description (what explains the control once focused, or ""),
//   layout ({left, top, width, height} in twips, or null), parent (the
//   frame's id or null), group (an option's group id), namedBy (a label's
//   id or null), enabled, visible (the control's own flags),
//   effectivelyEnabled, effectivelyVisible (whether it can be used and
//   seen: its flags and those of all that encloses it), inFooter, shortcut
//   (the keys that reach it from anywhere in its window, or ""), and as
//   the kind has them: selected (an option's
//   flag, a group's index or null), value, minimum, maximum, text,
//   takesEnter (a text box's Enter does something: the "enter" action),
//   wrapsWords, capacity, linesAdded, lines (a line display's lines
//   since the last description, newest first; all it keeps when
//   `replaced`, the lines written anew), replaced and marked ({index,
//   count}: lines marked for the person, the newest `index` from the top;
//   or null).
//
// Must not outlive the window.
class WindowMirror
{
public:
    WindowMirror(Window& window, emscripten::val page);
    ~WindowMirror();
    WindowMirror(const WindowMirror&) = delete;
    WindowMirror& operator=(const WindowMirror&) = delete;

    Window& window() const { return window_; }

    // The whole window: name, title, visible, enabled, closable,
    // closesOnEscape, closeEndsProgram, clientArea (twips, or null),
    // footerTop (twips, or null), twipsPerPixel, wideningStep and
    // mostWideningSteps (how a designed window is drawn), controls,
    // readingOrder (every control's id but the option groups', in the order
    // a person reads them) and tabStops (the ids Tab stops at now, in that
    // order; the page hears of every change through tabStopsChanged(window
    // name, ids)).
    emscripten::val describe();

    // One action of the user: "click" an option, "toggle" a check box, set a
    // slider's "value" or "drag" its thumb, type a "text", "press" a button,
    // press "enter" in a text box, move the pointer over a control ("mouseOver"; over the window's
    // background without a control) or "close" the window. A control the
    // user cannot reach now (disabled, hidden, in a disabled or hidden
    // window) takes nothing. False when the action is not one of these or
    // does not fit the control.
    bool act(const std::string& action, int control, const emscripten::val& argument);

private:
    emscripten::val describe(const Control& control);
    void controlChanged(const Control& control);
    void windowChanged(Window::Change change);
    emscripten::val windowState() const;
    bool reachable(const Control& control) const;
    emscripten::val idsOf(const std::vector<const Control*>& controls) const;

    Window& window_;
    emscripten::val page_;
    std::unordered_map<const Control*, int> ids_;
    // Naming label -> the controls it names.
    std::unordered_multimap<const Control*, const Control*> named_;
    // A line display's lines the page has, and the replacements it has seen.
    std::unordered_map<const LineDisplay*, std::pair<std::uint64_t, std::uint64_t>> linesShown_;
    std::vector<const Control*> readingOrder_;
    std::vector<const Control*> tabStops_;
    std::vector<std::pair<Control*, int>> listeners_;
    int windowListener_ = 0;
};

} // namespace vindle
