// Draws the windows of a session (vindle-session.mjs) as HTML: any window
// model, from the description its mirror gives, with the browser's own
// controls, so that the keyboard, screen readers and voice control work as
// they do everywhere. Nothing here knows a particular window.
//
// A window is a non-modal <dialog> that can be moved by its title bar and
// closed; a message box is a modal one. A designed window keeps the design's
// geometry, drawn as the model says (twips to a CSS pixel, times a scale that
// follows the font, widened where captions need it), as on the desktop.
// Where the screen is too small, the footer (the controls the model puts in
// it) stays in view and the part above scrolls.

// The line height, in pixels, of the dialog font the designs were drawn with.
const kDesignLineHeight = 13;
// Room a frame needs beside its caption.
const kTitleMargin = 16;
// The least height and width, in CSS pixels, of what a pointer presses: a
// check box or an option is pressed anywhere on its caption too.
const kTargetSize = 24;
// The most of a window's scrolled area that a footer kept in view takes.
const kPinnedFooterShare = 0.4;
// Room the focus ring takes around a control.
const kRingRoom = 4;

// The scale for windows drawn in the font of `element`: the design's lines
// grow with the font's. Captions that need more room widen their window.
export function scaleForFont(element) {
    const style = getComputedStyle(element);
    const context = document.createElement('canvas').getContext('2d');
    context.font = `${style.fontSize} ${style.fontFamily}`;
    const metrics = context.measureText('Mg');
    return Math.max(1, (metrics.fontBoundingBoxAscent + metrics.fontBoundingBoxDescent) / kDesignLineHeight);
}

export class WindowRenderer {
    // Windows go into `desk`; `session` is a VindleSession.
    constructor(session, desk) {
        this.session = session;
        this.desk = desk;
        this.windows = new Map();
        this.scale = scaleForFont(desk);
        this.frontmost = 0;
        // Controls the user changed: shown again as the model has them once
        // the core has taken the change, also when it refused it.
        this.touched = [];
        // Controls changed since the last frame, by window and id. They are
        // drawn with the next frame: a module waiting for the next byte of a
        // transfer does not wait for the drawing of the last one.
        this.changed = new Map();
        this.frame = null;
        this.shortcuts = [];
        // The page changing size (the browser's window, its zoom) keeps every
        // window on it.
        this.onResize = () => this.fitAll();
        addEventListener('resize', this.onResize);
        this.pending = null;
        session
            .on('window', (window) => this.add(window))
            .on('windowChanged', (window, change) => this.windowChanged(window, change))
            .on('control', (window, control) => this.changedControl(window.name, control.id))
            .on('tabStops', (window) => {
                const view = this.windows.get(window.name);
                if (view) view.window = window;
            })
            .on('message', (message) => this.showMessage(message))
            .on('announce', (text) => this.announce(text))
            .on('acted', () => this.catchingUp(true))
            .on('ended', () => this.catchingUp(false))
            .on('idle', () => {
                this.showTouched();
                this.caughtUpUnlessDrawing();
            });
    }

    // While the windows show a state the core has not caught up with (an
    // action it has not taken, a change not drawn yet) the desk is busy, so
    // that assistive technology waits for the state that holds.
    catchingUp(busy) {
        if (busy) this.desk.setAttribute('aria-busy', 'true');
        else this.desk.removeAttribute('aria-busy');
    }
    caughtUpUnlessDrawing() {
        if (this.frame === null && this.session.queuedActions.length === 0) this.catchingUp(false);
    }

    // Adds a bar of commands above a window's designed area: items of
    // {label, shortcut (e.g. "Ctrl+O"), run}.
    addCommands(windowName, label, items) {
        const view = this.windows.get(windowName);
        const bar = document.createElement('div');
        bar.className = 'commands';
        bar.setAttribute('role', 'toolbar');
        bar.setAttribute('aria-label', label);
        for (const item of items) {
            const button = document.createElement('button');
            button.type = 'button';
            button.textContent = item.label;
            if (item.shortcut) button.setAttribute('aria-keyshortcuts', item.shortcut.replace('Ctrl', 'Control'));
            button.title = item.shortcut ?? '';
            button.addEventListener('click', item.run);
            bar.append(button);
        }
        view.dialog.insertBefore(bar, view.body);
        // The shortcuts work wherever the focus is while the windows are
        // shown and no message box waits for an answer; the browser's own
        // commands of the same keys never do.
        const shortcut = (event) => {
            const pressed = `${event.ctrlKey || event.metaKey ? 'Ctrl+' : ''}${event.key.toUpperCase()}`;
            const item = items.find((i) => i.shortcut === pressed);
            if (!item || event.altKey) return;
            event.preventDefault();
            if (!messageOpen()) item.run();
        };
        document.addEventListener('keydown', shortcut);
        this.shortcuts.push(shortcut);
    }

    // A control's own keys, anywhere in its window ("Ctrl+F", "Shift+F3"):
    // a button is pressed, any other control takes the focus. The browser's
    // own command of the same keys does nothing there.
    shortcut(view, event) {
        if (event.altKey) return;
        const key = event.key.length === 1 ? event.key.toUpperCase() : event.key;
        const pressed = `${event.ctrlKey || event.metaKey ? 'Ctrl+' : ''}${event.shiftKey ? 'Shift+' : ''}${key}`;
        const control = view.window.controls.find((c) => c.shortcut === pressed);
        if (!control) return;
        event.preventDefault();
        if (!control.effectivelyEnabled || !control.effectivelyVisible) return;
        if (control.kind === 'button') {
            this.session.press(view.name, control.id);
            return;
        }
        const element = view.elements.get(control.id);
        const target = element?.matches('input, textarea') ? element : element?.querySelector('input');
        target?.focus();
        target?.select?.();
    }

    // Takes every window off the page.
    clear() {
        cancelAnimationFrame(this.frame);
        this.frame = null;
        this.changed.clear();
        this.touched = [];
        for (const shortcut of this.shortcuts.splice(0)) document.removeEventListener('keydown', shortcut);
        removeEventListener('resize', this.onResize);
        for (const view of this.windows.values()) view.dialog.remove();
        this.windows.clear();
        this.desk.querySelectorAll('dialog.message').forEach((box) => box.remove());
    }

    // Windows ----------------------------------------------------------------

    add(window) {
        const dialog = document.createElement('dialog');
        dialog.className = 'window';
        dialog.dataset.window = window.name;
        const titleId = `window-${window.name}-title`;
        dialog.setAttribute('aria-labelledby', titleId);

        const bar = document.createElement('div');
        bar.className = 'title-bar';
        const title = document.createElement('h2');
        title.id = titleId;
        const close = document.createElement('button');
        close.type = 'button';
        close.className = 'close';
        close.textContent = '×';
        close.setAttribute('aria-label', 'Close');
        close.addEventListener('click', () => this.session.close(window.name));
        bar.append(title);
        if (window.closable) bar.append(close);
        this.makeMovable(dialog, bar);
        // Escape, and the browser's own request to close a window, go to the
        // model as the close button does where the model lets Escape close
        // the window; the model decides.
        dialog.addEventListener('cancel', (event) => event.preventDefault());
        dialog.addEventListener('keydown', (event) => {
            if (event.key === 'Escape' && !event.ctrlKey && !event.altKey && !event.metaKey) {
                event.preventDefault();
                if (this.windows.get(window.name).window.closesOnEscape) this.session.close(window.name);
            } else if (event.key === 'Tab' && !event.ctrlKey && !event.altKey && !event.metaKey) {
                event.preventDefault();
                this.tab(this.windows.get(window.name), event.shiftKey ? -1 : 1);
            } else {
                this.shortcut(this.windows.get(window.name), event);
            }
        });

        const body = document.createElement('div');
        body.className = 'body';
        dialog.append(bar, body);
        const view = { name: window.name, dialog, title, body, footer: null, elements: new Map(), window };
        // A window can have the focus itself (one that holds nothing the
        // keyboard can use), and remembers where its focus was last.
        // The window with the focus is in front, and the control with it in
        // view where the focus shows (a click shows none, and a control that
        // moved under the pointer would miss the click).
        dialog.tabIndex = -1;
        dialog.addEventListener('focusin', (event) => {
            if (Number(dialog.style.zIndex) !== this.frontmost) this.raise(view);
            if (event.target === dialog) return;
            view.focused = event.target;
            if (event.target.matches(':focus-visible')) this.reveal(view, event.target);
        });
        const designed = window.clientArea !== null;
        if (designed) {
            view.canvas = canvas(body);
            if (window.footerTop !== null) {
                view.footer = document.createElement('div');
                view.footer.className = 'footer';
                body.append(view.footer);
                view.footerCanvas = canvas(view.footer);
            }
        } else {
            view.canvas = body;
            body.classList.add('flowing');
        }
        this.windows.set(window.name, view);
        // In the page's order is how a screen reader reads a window, and Tab
        // goes the same way.
        for (const id of window.readingOrder ?? window.controls.map((c) => c.id))
            this.create(view, window.controls[id]);
        for (const control of window.controls) this.sync(view, control);
        this.watchPointer(view);
        this.desk.append(dialog);
        if (designed) {
            view.widening = 1;
            this.placeAll(view);
        }
        this.showState(view);
    }

    windowChanged(window, change) {
        const view = this.windows.get(window.name);
        view.window = window;
        if (change === 'front') {
            this.raise(view);
            if (!view.dialog.contains(document.activeElement)) this.focusIn(view);
            return;
        }
        this.showState(view);
    }

    showState(view) {
        const { window, dialog } = view;
        // A window shows its controls as they are now.
        this.showChanges();
        view.title.textContent = window.title;
        // A window keeps its keyboard focus while it is disabled or covered,
        // and gets it back after, as on the desktop.
        if (!window.enabled && !dialog.inert && dialog.contains(document.activeElement))
            view.focused = document.activeElement;
        dialog.inert = !window.enabled;
        dialog.classList.toggle('disabled', !window.enabled);
        if (window.enabled) this.refocus(view.focused);
        if (window.visible && !dialog.open) {
            view.opener = document.activeElement;
            dialog.show();
            if (window.clientArea !== null && !view.laidOut) {
                view.laidOut = true;
                this.layOut(view);
            }
            this.place(view);
            this.raise(view);
            // A window opens at its first control in reading order, not on
            // the close button that the browser gives the focus to.
            if (dialog.contains(document.activeElement)) {
                view.focused = null;
                this.focusIn(view);
            }
        } else if (!window.visible && dialog.open) {
            dialog.close();
            this.fitAll();
            this.refocus(view.opener);
        }
        this.keepFocus();
    }

    // Gives the focus back to `element` when the focus is on nothing in
    // particular (the page, or a window rather than a control in it).
    // A control the program has not given back yet (a button disabled while
    // its message is open) gets it once the program does.
    refocus(element) {
        if (!element?.isConnected || !focusIsNowhere()) return;
        if (canFocus(element)) focus(element);
        else this.pending = element;
    }

    restorePending() {
        const element = this.pending;
        if (!element) return;
        if (!element.isConnected || !focusIsNowhere()) this.pending = null;
        else if (canFocus(element)) {
            this.pending = null;
            focus(element);
        }
    }

    // The focus is never left on nothing: when it has fallen to the page, it
    // goes to the window in front, where it was last in it. With no window
    // left open, the page places it.
    keepFocus() {
        const now = document.activeElement;
        if (now !== null && now !== document.body && canFocus(now) && !now.matches('dialog.window')) return;
        if (messageOpen()) return;
        const waiting = this.pending?.closest('dialog.window');
        if (waiting?.open && !waiting.inert) {
            // Meanwhile on the window itself, not on a control that Enter
            // would press.
            waiting.focus();
            return;
        }
        const open = [...this.windows.values()].filter((view) => view.dialog.open);
        const front = open
            .filter((view) => !view.dialog.inert)
            .sort((a, b) => Number(b.dialog.style.zIndex) - Number(a.dialog.style.zIndex))[0];
        if (front) this.focusIn(front);
    }

    // Focuses a window: where its focus was last, else its first control,
    // else its own commands, else the window itself (a window of nothing but
    // a progress bar).
    focusIn(view) {
        const target = [view.focused, ...this.controlStops(view), ...this.commandStops(view)].find(
            (e) => canFocus(e) && view.dialog.contains(e),
        );
        focus(target ?? view.dialog);
    }

    // What Tab visits in a window, in order: its own commands (close, the
    // command bar), then the stops the model gives, as they can be used now.
    stops(view) {
        return [...this.commandStops(view), ...this.controlStops(view)];
    }
    commandStops(view) {
        return [...view.dialog.querySelectorAll('.title-bar button, .commands button')].filter(canFocus);
    }
    controlStops(view) {
        return (view.window.tabStops ?? []).map((id) => focusTarget(view.elements.get(id))).filter(canFocus);
    }

    // Tab and Shift+Tab go round the window's stops and never leave it for a
    // window it covers, as on the desktop.
    tab(view, step) {
        const stops = this.stops(view);
        if (stops.length === 0) return;
        const now = document.activeElement;
        let at = stops.indexOf(now);
        if (at < 0 && now?.type === 'radio') {
            // An option the arrow keys chose just now: its group's stop.
            at = stops.findIndex((e) => e.type === 'radio' && e.name === now.name);
        }
        if (at < 0) {
            // Somewhere between stops: the next one in the page's order.
            const after = stops.findIndex((e) => now.compareDocumentPosition(e) & Node.DOCUMENT_POSITION_FOLLOWING);
            at = step > 0 ? (after < 0 ? stops.length : after) - 1 : after < 0 ? stops.length : after;
        }
        focus(stops[(at + step + stops.length) % stops.length]);
    }

    // Scrolls the window's designed area so that `element`, which has the
    // focus, is wholly in view with its ring: sideways too, and clear of the
    // pinned footer, whose own controls scroll only sideways.
    reveal(view, element) {
        const { body, footer } = view;
        if (!body.contains(element)) return;
        const pinned = footer !== null && !footer.classList.contains('unpinned');
        const inFooter = footer?.contains(element);
        const area = body.getBoundingClientRect();
        const left = area.left + body.clientLeft;
        const top = area.top + body.clientTop;
        const below = pinned && !inFooter ? footer.offsetHeight : 0;
        const box = element.getBoundingClientRect();
        body.scrollLeft += scrollNeeded(box.left - kRingRoom, box.right + kRingRoom, left, left + body.clientWidth);
        if (!(pinned && inFooter))
            body.scrollTop += scrollNeeded(
                box.top - kRingRoom,
                box.bottom + kRingRoom,
                top,
                top + body.clientHeight - below,
            );
    }

    // A window opens where it was last, or in the middle of the page, whole
    // on the page as it is now.
    place(view) {
        const { dialog } = view;
        if (!view.at) {
            const left = Math.max((innerWidth - dialog.offsetWidth) / 2, 0);
            const top = Math.max((innerHeight - dialog.offsetHeight) / 2, 0);
            this.moveTo(dialog, left, top);
        }
        this.fitAll();
    }

    // A window stays on the page: below the top, short enough to end on it.
    // Where it is moved is where it goes back to while the page has room.
    moveTo(dialog, left, top) {
        const view = this.windows.get(dialog.dataset.window);
        view.at = {
            left: Math.round(Math.min(Math.max(left, 0), innerWidth - 48)),
            top: Math.round(Math.min(Math.max(top, 0), innerHeight - 24)),
        };
        this.showAt(view, view.at.left, view.at.top);
        this.pinFooter(view);
    }

    // The page changed size, or a window opened or closed: each open window
    // goes back where it was moved as far as it can while all of it is on the
    // page. A window larger than the page shrinks to it and scrolls inside,
    // and leaves a title bar's height of the page to each other such window,
    // cascaded, so that a click still reaches every window.
    fitAll() {
        const open = [...this.windows.values()].filter((view) => view.dialog.open);
        const sizes = open.map((view) => {
            this.showAt(view, 0, 0);
            return { width: view.dialog.offsetWidth, height: view.dialog.offsetHeight };
        });
        const large = open.filter((_, i) => sizes[i].width >= innerWidth || sizes[i].height >= innerHeight);
        open.forEach((view, i) => {
            const { width, height } = sizes[i];
            const step = view.title.parentElement.offsetHeight;
            const slot = large.indexOf(view);
            const before = slot < 0 ? 0 : slot * step;
            const after = slot < 0 ? 0 : (large.length - 1 - slot) * step;
            const [right, bottom] = [innerWidth - after, innerHeight - after];
            const left = Math.max(Math.min(view.at.left, right - width), before);
            const top = Math.max(Math.min(view.at.top, bottom - height), before);
            this.showAt(view, left, top, right - left, bottom - top);
            this.pinFooter(view);
        });
    }

    // Without a width or height, a window is as wide as the page lets it be
    // and ends at the bottom of the page.
    showAt(view, left, top, width = null, height = null) {
        const { style } = view.dialog;
        style.left = `${left}px`;
        style.top = `${top}px`;
        style.maxWidth = width === null ? '' : `${width}px`;
        style.maxHeight = height === null ? `calc(100vh - ${top}px)` : `${height}px`;
    }

    // The footer stays in view below the part that scrolls while it takes
    // at most kPinnedFooterShare of the window's scrolled area; on a shorter
    // screen (zoomed in, say) it scrolls with the rest, which then has the
    // room. A control that gets the focus is scrolled into view above it.
    pinFooter({ footer, body }) {
        if (!footer) return;
        footer.classList.remove('unpinned');
        const pinned = footer.offsetHeight <= body.clientHeight * kPinnedFooterShare;
        footer.classList.toggle('unpinned', !pinned);
        body.style.scrollPaddingBottom = pinned ? `${footer.offsetHeight}px` : '';
    }

    raise(view) {
        view.dialog.style.zIndex = String(++this.frontmost);
    }

    makeMovable(dialog, handle) {
        handle.addEventListener('pointerdown', (event) => {
            if (event.button !== 0 || event.target.closest('button')) return;
            event.preventDefault();
            handle.setPointerCapture(event.pointerId);
            this.raise(this.windows.get(dialog.dataset.window));
            const start = { x: event.clientX - dialog.offsetLeft, y: event.clientY - dialog.offsetTop };
            const move = (e) => this.moveTo(dialog, e.clientX - start.x, e.clientY - start.y);
            const end = () => {
                handle.removeEventListener('pointermove', move);
                handle.removeEventListener('pointerup', end);
                handle.removeEventListener('pointercancel', end);
            };
            handle.addEventListener('pointermove', move);
            handle.addEventListener('pointerup', end);
            handle.addEventListener('pointercancel', end);
        });
        dialog.addEventListener('pointerdown', () => this.raise(this.windows.get(dialog.dataset.window)));
    }

    // Geometry ---------------------------------------------------------------

    // Places the controls at the design's geometry, widened while a caption
    // lacks room (which shows only once the window is on screen).
    layOut(view) {
        view.widening = 1;
        for (let step = 0; ; ++step) {
            this.placeAll(view);
            if (step >= view.window.mostWideningSteps || this.captionsFit(view)) break;
            view.widening *= view.window.wideningStep;
        }
    }

    placeAll(view) {
        const { window } = view;
        const perTwip = (this.scale * view.widening) / window.twipsPerPixel;
        const px = (twips) => Math.round(twips * perTwip);
        // Rows of check boxes and options are spread to a pointer's target
        // apart, a pixel more for the rounding.
        const places = placesInWindow(window);
        const { at, spanOf } = spreadRows(window, places, (kTargetSize + 1) / perTwip);
        const area = window.clientArea;
        const footerTop = at(window.footerTop ?? area.height);
        view.canvas.style.width = `${px(area.width)}px`;
        view.canvas.style.height = `${px(footerTop)}px`;
        if (view.footer) {
            view.footerCanvas.style.width = `${px(area.width)}px`;
            view.footerCanvas.style.height = `${px(at(area.height)) - px(footerTop)}px`;
        }
        // Each control is placed in what holds it, at its place in the window.
        for (const control of window.controls) {
            const element = view.elements.get(control.id);
            if (!element || !control.layout) continue;
            const { left, width, height } = control.layout;
            const { top, bottom } = spanOf(control);
            const holderTop =
                control.parent !== null
                    ? spanOf(window.controls[control.parent]).top
                    : this.inFooter(view, control)
                      ? footerTop
                      : 0;
            element.style.position = 'absolute';
            element.style.left = `${px(left)}px`;
            element.style.top = `${px(top) - px(holderTop)}px`;
            element.style.width = width > 0 ? `${px(width)}px` : '';
            element.style.height = height > 0 ? `${px(bottom) - px(top)}px` : '';
        }
    }

    // Every visible caption has the room it needs: a caption that wraps, all
    // its lines.
    captionsFit(view) {
        if (!view.dialog.open) return true;
        const fits = (box) => box.scrollWidth <= box.clientWidth + 1 && box.scrollHeight <= box.clientHeight + 1;
        for (const control of view.window.controls) {
            const element = view.elements.get(control.id);
            if (!element || !control.visible || !control.layout || element.offsetParent === null) continue;
            const sized = control.layout.width > 0;
            switch (control.kind) {
                case 'frame':
                    if (element.querySelector('legend').offsetWidth + kTitleMargin > element.clientWidth) return false;
                    break;
                case 'label':
                case 'button':
                    if (sized && !fits(element)) return false;
                    break;
                case 'option':
                case 'checkBox':
                    if (sized && !fits(element.querySelector('.caption'))) return false;
                    break;
            }
        }
        return true;
    }

    inFooter(view, control) {
        return view.footer !== null && control.inFooter;
    }

    // Controls ---------------------------------------------------------------

    create(view, control) {
        const make = kControls[control.kind];
        if (!make) return;
        const element = make.create(control, view, this);
        element.dataset.control = String(control.id);
        element.dataset.name = control.index === null ? control.name : `${control.name}(${control.index})`;
        element.classList.add('control', control.kind);
        view.elements.set(control.id, element);
        const parent =
            control.parent !== null
                ? view.elements.get(control.parent)
                : this.inFooter(view, control)
                  ? view.footerCanvas
                  : view.canvas;
        parent.append(element);
    }

    sync(view, control) {
        if (!view) return;
        const element = view.elements.get(control.id);
        if (!element) return;
        // Shown and usable as the model has it, with what encloses it.
        element.hidden = !control.effectivelyVisible;
        const enabled = control.effectivelyEnabled;
        const input = element.matches('input, button, textarea, fieldset') ? element : element.querySelector('input');
        if (input) input.disabled = !enabled;
        element.classList.toggle('disabled', !enabled);
        kControls[control.kind].sync(element, control);
        this.name(view, control);
    }

    // A control is announced by the name a person sees for it.
    name(view, control) {
        const element = view.elements.get(control.id);
        const target = element?.querySelector('input') ?? element;
        if (!target || control.kind === 'frame' || control.kind === 'label') return;
        target.setAttribute('aria-label', control.accessibleName);
        if (control.description) target.setAttribute('aria-description', control.description);
        else target.removeAttribute('aria-description');
    }

    changedControl(windowName, id) {
        this.changed.set(`${windowName}/${id}`, [windowName, id]);
        this.frame ??= requestAnimationFrame(() => this.showChanges());
    }

    // Every control shows what its model holds now; while the core has not
    // taken all the user did, it waits for the core (a control would show a
    // state the user has already left).
    showChanges() {
        cancelAnimationFrame(this.frame);
        this.frame = null;
        if (this.session.queuedActions.length > 0) return;
        const changed = [...this.changed.values()];
        this.changed.clear();
        for (const [windowName, id] of changed) {
            const view = this.windows.get(windowName);
            if (view) this.sync(view, view.window.controls[id]);
        }
        this.restorePending();
        this.caughtUpUnlessDrawing();
    }

    // The user changed a control: once the core has taken it, the control
    // shows what the model holds, whether it took the change or not.
    touch(view, control) {
        this.touched.push([view.name, control.id]);
    }

    showTouched() {
        for (const [windowName, id] of this.touched.splice(0)) this.changedControl(windowName, id);
        if (this.changed.size > 0) this.frame ??= requestAnimationFrame(() => this.showChanges());
    }

    // Help follows the pointer and the keyboard's focus: the innermost control
    // under it, or the window itself.
    watchPointer(view) {
        let last;
        const over = (target) => {
            const element = target.closest?.('[data-control]');
            const id = element && view.dialog.contains(element) ? Number(element.dataset.control) : null;
            if (id === last) return;
            last = id;
            if (id !== null && view.elements.get(id).classList.contains('disabled')) return;
            this.session.mouseOver(view.name, id);
        };
        view.dialog.addEventListener('pointerover', (event) => over(event.target));
        view.dialog.addEventListener('focusin', (event) => over(event.target));
        view.dialog.addEventListener('pointerleave', () => (last = undefined));
    }

    // Results a screen reader tells politely, after what it is saying: what
    // the windows' own messages do not say (a store that went well says
    // nothing on screen).
    announce(text) {
        if (!this.announcer) {
            this.announcer = document.createElement('div');
            this.announcer.className = 'visually-hidden';
            this.announcer.setAttribute('role', 'status');
            this.announcer.setAttribute('aria-live', 'polite');
            this.desk.append(this.announcer);
        }
        // The same words again are news again.
        this.announcer.textContent = '';
        requestAnimationFrame(() => (this.announcer.textContent = text));
    }

    // Message boxes ----------------------------------------------------------

    showMessage({ id, text, title }) {
        this.messageBox(title, text, () => this.session.answer(id));
    }

    // A message box of the page's own, about what it did outside the core
    // (a file it could not write).
    tell(title, text) {
        this.messageBox(title, text, () => {});
    }

    // A message box over the windows; `answered` hears which answer.
    messageBox(title, text, answered, answers = ['OK']) {
        const before = document.activeElement;
        messageBox({ title, text, answers, parent: this.desk }).then((answer) => {
            answered(answer);
            // Back to where the person was, or else to the window in front.
            this.refocus(before);
            this.keepFocus();
        });
    }

    // A question of the page's own over the windows: the promise gives the
    // answer chosen (Escape chooses the last).
    ask(title, text, answers) {
        return new Promise((resolve) => this.messageBox(title, text, resolve, answers));
    }
}

// Selects the lines a display marks (what a search found), and brings them
// into view when the mark is new; the mark moves down with its lines.
function markLines(text, control) {
    const marked = control.marked;
    const at = marked ? `${control.linesAdded - marked.index}/${marked.count}` : '';
    const moved = text.dataset.marked !== at;
    text.dataset.marked = at;
    text.classList.toggle('marked', Boolean(marked));
    if (!marked) {
        if (moved) text.setSelectionRange(0, 0);
        return;
    }
    const before = control.lines.slice(0, marked.index);
    const start = before.reduce((length, line) => length + line.length + 1, 0);
    const lines = control.lines.slice(marked.index, marked.index + marked.count);
    const end = start + lines.reduce((length, line) => length + line.length + 1, -1);
    text.setSelectionRange(start, end);
    const style = getComputedStyle(text);
    const lineHeight = parseFloat(style.lineHeight) || text.scrollHeight / Math.max(control.lines.length, 1);
    text.style.setProperty('--marked-top', `${parseFloat(style.paddingTop) + marked.index * lineHeight}px`);
    text.style.setProperty('--marked-height', `${marked.count * lineHeight}px`);
    if (!moved) return;
    text.scrollTop = Math.max(0, marked.index * lineHeight - text.clientHeight / 2);
}

let boxes = 0;

// A modal message box with a button for each of `answers`, in `parent`: the
// promise gives the caption of the one pressed. Escape presses the last,
// which has the focus: the answer that loses nothing.
export function messageBox({ title, text, answers = ['OK'], parent = document.body }) {
    const id = `message-box-${++boxes}`;
    const box = document.createElement('dialog');
    box.className = 'message';
    box.setAttribute('role', 'alertdialog');
    const heading = document.createElement('h2');
    heading.textContent = title;
    heading.id = `${id}-title`;
    const words = document.createElement('p');
    words.textContent = text;
    words.id = `${id}-text`;
    box.setAttribute('aria-labelledby', heading.id);
    box.setAttribute('aria-describedby', words.id);
    const buttons = document.createElement('div');
    buttons.className = 'buttons';
    box.append(heading, words, buttons);
    return new Promise((resolve) => {
        const answer = (caption) => {
            box.close();
            box.remove();
            resolve(caption);
        };
        for (const caption of answers) {
            const button = document.createElement('button');
            button.type = 'button';
            button.textContent = caption;
            button.addEventListener('click', () => answer(caption));
            buttons.append(button);
        }
        box.addEventListener('cancel', (event) => {
            event.preventDefault();
            answer(answers.at(-1));
        });
        parent.append(box);
        box.showModal();
        buttons.lastChild.focus();
    });
}

// Puts the focus on an element of a window, which the window scrolls into
// view itself (reveal()).
function focus(element) {
    element.focus({ preventScroll: true });
}

// How far to scroll for the stretch from `from` to `to` to lie between
// `start` and `end`: its start, where it is longer.
function scrollNeeded(from, to, start, end) {
    if (from < start || to - from > end - start) return from - start;
    return Math.max(to - end, 0);
}

// A message box is open: the renderer's, or the page's own (a question
// before the run ends).
function messageOpen() {
    return document.querySelector('dialog.message[open]') !== null;
}

// The focus is on nothing in particular: the page, or a window rather than
// a control in it.
function focusIsNowhere() {
    const now = document.activeElement;
    return now === null || now === document.body || now.matches('dialog');
}

// Whether the keyboard can be put on `element` now.
function canFocus(element) {
    return (
        element instanceof HTMLElement &&
        element.isConnected &&
        !element.disabled &&
        !element.closest('[inert]') &&
        (element.matches('dialog') || element.checkVisibility())
    );
}

// The element of a control that takes the focus.
function focusTarget(element) {
    if (!element) return null;
    return element.matches('input, button, textarea') ? element : element.querySelector('input');
}

// Where each control of a designed window is, {left, top} in twips from its
// client area's corner, by id (a control's layout is from the frame that
// holds it).
function placesInWindow(window) {
    const places = new Map();
    const placeOf = (control) => {
        if (!places.has(control.id)) {
            const holder = control.parent !== null ? placeOf(window.controls[control.parent]) : { left: 0, top: 0 };
            const { left = 0, top = 0 } = control.layout ?? {};
            places.set(control.id, { left: holder.left + left, top: holder.top + top });
        }
        return places.get(control.id);
    };
    window.controls.forEach(placeOf);
    return places;
}

// Spreads the rows of check boxes and options of a designed window: where
// two of them, one above the other, have their middles less than `pitch`
// (twips) apart, the band between their middles grows to `pitch`; the rest
// of the window keeps its heights. Hidden ones count as well, so that the
// window keeps its geometry as they come and go. Gives at(twips), where a
// height of the design goes, and spanOf(control), {top, bottom} where the
// control goes: a check box or option keeps its height about its middle,
// anything else grows with the bands it spans.
function spreadRows(window, places, pitch) {
    // One that takes the size of its caption is a line high, and as wide
    // as its box at least.
    const line = kDesignLineHeight * window.twipsPerPixel;
    const isRow = (c) => (c.kind === 'option' || c.kind === 'checkBox') && c.layout !== null;
    const half = (c) => (c.layout.height || line) / 2;
    const rows = window.controls.filter(isRow).map((c) => {
        const { left, top } = places.get(c.id);
        return { left, right: left + Math.max(c.layout.width, line), middle: top + half(c) };
    });
    const bands = [];
    for (const row of rows) {
        const next = rows
            .filter((r) => r.middle > row.middle && r.left < row.right && row.left < r.right)
            .reduce((nearest, r) => (nearest === null || r.middle < nearest.middle ? r : nearest), null);
        if (next && next.middle - row.middle < pitch)
            bands.push({ from: row.middle, to: next.middle, grows: pitch / (next.middle - row.middle) });
    }
    // Where bands overlap, the one that grows most has its way.
    const edges = [...new Set(bands.flatMap((b) => [b.from, b.to]))].sort((a, b) => a - b);
    const pieces = edges.slice(1).map((to, i) => {
        const from = edges[i];
        const middle = (from + to) / 2;
        const grows = Math.max(1, ...bands.filter((b) => b.from <= middle && middle <= b.to).map((b) => b.grows));
        return { from, to, grows };
    });
    const at = (twips) =>
        pieces.reduce((to, p) => to + (p.grows - 1) * Math.min(Math.max(twips - p.from, 0), p.to - p.from), twips);
    const spanOf = (c) => {
        const { top } = places.get(c.id);
        const height = c.layout?.height ?? 0;
        if (!isRow(c)) return { top: at(top), bottom: at(top + height) };
        const spread = at(top + half(c)) - half(c);
        return { top: spread, bottom: spread + height };
    };
    return { at, spanOf };
}

function canvas(parent) {
    const element = document.createElement('div');
    element.className = 'canvas';
    parent.append(element);
    return element;
}

// A radio button or check box with its caption.
function captioned(type, control, view) {
    const label = document.createElement('label');
    const input = document.createElement('input');
    input.type = type;
    const caption = document.createElement('span');
    caption.className = 'caption';
    label.append(input, caption);
    if (type === 'radio') input.name = `${view.name}-${control.group}`;
    return label;
}

// What each kind of control is drawn with, and how it shows the model's state.
const kControls = {
    frame: {
        create: () => {
            const fieldset = document.createElement('fieldset');
            fieldset.append(document.createElement('legend'));
            return fieldset;
        },
        sync: (element, control) => {
            const legend = element.querySelector('legend');
            legend.textContent = control.caption;
            legend.hidden = control.caption === '';
        },
    },
    option: {
        create: (control, view, renderer) => {
            const label = captioned('radio', control, view);
            const input = label.querySelector('input');
            // Whatever checks the button (a click, the arrow keys, assistive
            // technology) selects the option once; a click on the option
            // already selected still raises its click.
            input.addEventListener('change', () => {
                renderer.session.click(view.name, control.id);
                renderer.touch(view, control);
            });
            input.addEventListener('click', () => {
                if (input.dataset.wasSelected === 'true') renderer.session.click(view.name, control.id);
            });
            input.addEventListener('pointerdown', () => (input.dataset.wasSelected = String(input.checked)));
            input.addEventListener('keydown', () => (input.dataset.wasSelected = 'false'));
            return label;
        },
        sync: (element, control) => {
            element.querySelector('.caption').textContent = control.caption;
            element.querySelector('input').checked = control.selected;
        },
    },
    checkBox: {
        create: (control, view, renderer) => {
            const label = captioned('checkbox', control, view);
            label.querySelector('input').addEventListener('change', () => {
                renderer.session.toggle(view.name, control.id);
                renderer.touch(view, control);
            });
            return label;
        },
        sync: (element, control) => {
            element.querySelector('.caption').textContent = control.caption;
            const input = element.querySelector('input');
            // 0 unchecked, 1 checked, 2 grayed (only the program grays a box)
            input.checked = control.value === 1;
            input.indeterminate = control.value === 2;
        },
    },
    slider: {
        create: (control, view, renderer) => {
            const input = document.createElement('input');
            input.type = 'range';
            // A drag scrolls; the value changes when the thumb is let go, or
            // at once for the keyboard.
            let dragging = false;
            input.addEventListener('pointerdown', () => (dragging = true));
            input.addEventListener('input', () => {
                if (dragging) renderer.session.drag(view.name, control.id, Number(input.value));
                else renderer.session.setValue(view.name, control.id, Number(input.value));
                renderer.touch(view, control);
            });
            input.addEventListener('change', () => {
                if (!dragging) return;
                dragging = false;
                renderer.session.setValue(view.name, control.id, Number(input.value));
                renderer.touch(view, control);
            });
            return input;
        },
        sync: (input, control) => {
            input.min = String(control.minimum);
            input.max = String(control.maximum);
            input.value = String(control.value);
        },
    },
    textBox: {
        create: (control, view, renderer) => {
            const input = document.createElement('input');
            input.type = 'text';
            input.spellcheck = false;
            input.autocomplete = 'off';
            // Every change of the text reaches the model.
            input.addEventListener('input', () => {
                renderer.session.setText(view.name, control.id, input.value);
                renderer.touch(view, control);
            });
            input.addEventListener('keydown', (event) => {
                if (event.key !== 'Enter' || !view.window.controls[control.id].takesEnter) return;
                event.preventDefault();
                renderer.session.enter(view.name, control.id);
            });
            return input;
        },
        sync: (input, control) => {
            if (input.value === control.text) return;
            const cursor = input.selectionStart;
            input.value = control.text;
            if (document.activeElement === input) input.setSelectionRange(cursor, cursor);
        },
    },
    label: {
        create: () => document.createElement('div'),
        sync: (element, control) => {
            element.textContent = control.caption;
            element.classList.toggle('wraps', control.wrapsWords);
        },
    },
    button: {
        create: (control, view, renderer) => {
            const button = document.createElement('button');
            button.type = 'button';
            button.addEventListener('click', () => renderer.session.press(view.name, control.id));
            return button;
        },
        sync: (button, control) => {
            button.textContent = control.caption;
        },
    },
    progressBar: {
        create: () => document.createElement('progress'),
        sync: (bar, control) => {
            bar.max = Math.max(control.maximum - control.minimum, 1);
            bar.value = control.value - control.minimum;
        },
    },
    lineDisplay: {
        create: () => {
            const text = document.createElement('textarea');
            text.readOnly = true;
            text.wrap = 'off';
            text.spellcheck = false;
            return text;
        },
        // The newest line is the first; a reader scrolled down stays where
        // the older lines are.
        sync: (text, control) => {
            const atTop = text.scrollTop === 0;
            const fromBottom = text.scrollHeight - text.scrollTop;
            text.value = control.lines.join('\n');
            if (!atTop) text.scrollTop = text.scrollHeight - fromBottom;
            markLines(text, control);
        },
    },
};
