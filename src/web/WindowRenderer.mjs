// Draws the windows of a session (vindle-session.mjs) as HTML: any window
// model, from the description its mirror gives, with the browser's own
// controls, so that the keyboard, screen readers and voice control work as
// they do everywhere. Nothing here knows a particular window.
//
// A window is a non-modal <dialog> that can be moved by its title bar and
// closed; a message box is a modal one. A designed window keeps the design's
// geometry: 15 twips to a CSS pixel, times a scale that follows the font, as
// on the desktop. Where the screen is too small, the footer (the controls
// below the window's footer line) stays in view and the part above scrolls.

const kTwipsPerPixel = 15;
// The line height, in pixels, of the dialog font the designs were drawn with.
const kDesignLineHeight = 13;
// Where the font needs more room than the design gave, a window grows in
// steps of 5 %, to at most 1.05^12.
const kWideningStep = 1.05;
const kMostWideningSteps = 12;
// Room a frame needs beside its caption.
const kTitleMargin = 16;

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
        this.told = 0;
        // Controls the user changed: shown again as the model has them once
        // the core has taken the change, also when it refused it.
        this.touched = [];
        // Controls changed since the last frame, by window and id. They are
        // drawn with the next frame: a module waiting for the next byte of a
        // transfer does not wait for the drawing of the last one.
        this.changed = new Map();
        this.frame = null;
        session
            .on('window', (window) => this.add(window))
            .on('windowChanged', (window, change) => this.windowChanged(window, change))
            .on('control', (window, control) => this.changedControl(window.name, control.id))
            .on('message', (message) => this.showMessage(message))
            .on('idle', () => this.showTouched());
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
        view.dialog.addEventListener('keydown', (event) => {
            const pressed = `${event.ctrlKey || event.metaKey ? 'Ctrl+' : ''}${event.key.toUpperCase()}`;
            const item = items.find((i) => i.shortcut === pressed);
            if (!item) return;
            event.preventDefault();
            item.run();
        });
    }

    // Takes every window off the page.
    clear() {
        cancelAnimationFrame(this.frame);
        this.frame = null;
        this.changed.clear();
        this.touched = [];
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
        bar.append(title, close);
        this.makeMovable(dialog, bar);
        // The browser's own request to close a window goes to the model, as
        // the close button does; the model decides.
        dialog.addEventListener('cancel', (event) => {
            event.preventDefault();
            this.session.close(window.name);
        });

        const body = document.createElement('div');
        body.className = 'body';
        dialog.append(bar, body);
        const view = { name: window.name, dialog, title, body, footer: null, elements: new Map(), window };
        const designed = window.clientArea !== null;
        if (designed) {
            view.canvas = canvas(body);
            if (window.footerTop !== null) {
                view.footer = document.createElement('div');
                view.footer.className = 'footer';
                dialog.append(view.footer);
                view.footerCanvas = canvas(view.footer);
            }
        } else {
            view.canvas = body;
            body.classList.add('flowing');
        }
        this.windows.set(window.name, view);
        for (const control of window.controls) this.create(view, control);
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
            if (!view.dialog.contains(document.activeElement)) {
                const last = view.focused;
                (last?.isConnected && view.dialog.contains(last) ? last : view.dialog).focus();
            }
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
        } else if (!window.visible && dialog.open) {
            dialog.close();
            this.refocus(view.opener);
        }
    }

    // Gives the focus back to `element` when the focus is on nothing in
    // particular (the page, or a window rather than a control in it).
    refocus(element) {
        const now = document.activeElement;
        if (element?.isConnected && (now === null || now === document.body || now.matches('dialog')))
            element.focus();
    }

    // A window opens where it was last, or in the middle of the page.
    place(view) {
        const { dialog } = view;
        if (!dialog.style.left) {
            const left = Math.max((innerWidth - dialog.offsetWidth) / 2, 0);
            const top = Math.max((innerHeight - dialog.offsetHeight) / 2, 0);
            this.moveTo(dialog, left, top);
        }
    }

    // A window stays on the page: below the top, short enough to end on it.
    moveTo(dialog, left, top) {
        left = Math.round(Math.min(Math.max(left, 0), innerWidth - 48));
        top = Math.round(Math.min(Math.max(top, 0), innerHeight - 24));
        dialog.style.left = `${left}px`;
        dialog.style.top = `${top}px`;
        dialog.style.maxHeight = `calc(100vh - ${top}px)`;
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
            if (step >= kMostWideningSteps || this.captionsFit(view)) break;
            view.widening *= kWideningStep;
        }
    }

    placeAll(view) {
        const { window } = view;
        const px = (twips) => Math.round((twips * this.scale * view.widening) / kTwipsPerPixel);
        const area = window.clientArea;
        const footerTop = window.footerTop ?? area.height;
        view.canvas.style.width = `${px(area.width)}px`;
        view.canvas.style.height = `${px(footerTop)}px`;
        if (view.footer) {
            view.footerCanvas.style.width = `${px(area.width)}px`;
            view.footerCanvas.style.height = `${px(area.height - footerTop)}px`;
        }
        for (const control of window.controls) {
            const element = view.elements.get(control.id);
            if (!element || !control.layout) continue;
            const rect = { ...control.layout };
            if (this.inFooter(view, control)) rect.top -= window.footerTop;
            element.style.position = 'absolute';
            element.style.left = `${px(rect.left)}px`;
            element.style.top = `${px(rect.top)}px`;
            element.style.width = rect.width > 0 ? `${px(rect.width)}px` : '';
            element.style.height = rect.height > 0 ? `${px(rect.height)}px` : '';
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
        return (
            view.footer !== null &&
            control.parent === null &&
            control.layout !== null &&
            control.layout.top >= view.window.footerTop
        );
    }

    // Controls ---------------------------------------------------------------

    create(view, control) {
        const make = kControls[control.kind];
        if (!make) return;
        const element = make.create(control, view, this);
        element.dataset.control = String(control.id);
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
        if (control.kind === 'optionGroup') {
            // An option shows its group's state too.
            for (const option of view.window.controls.filter((c) => c.group === control.id)) this.sync(view, option);
            return;
        }
        const element = view.elements.get(control.id);
        if (!element) return;
        const group = control.group !== undefined ? view.window.controls[control.group] : null;
        element.hidden = !control.visible || (group !== null && !group.visible);
        const enabled = control.enabled && (group === null || group.enabled);
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

    // Message boxes ----------------------------------------------------------

    showMessage({ id, text, title }) {
        this.messageBox(`message-${id}`, title, text, () => this.session.answer(id));
    }

    // A message box of the page's own, about what it did outside the core
    // (a file it could not write).
    tell(title, text) {
        this.messageBox(`page-message-${++this.told}`, title, text, () => {});
    }

    messageBox(id, title, text, answered) {
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
        const ok = document.createElement('button');
        ok.type = 'button';
        ok.textContent = 'OK';
        const answer = () => {
            box.close();
            box.remove();
            answered();
        };
        ok.addEventListener('click', answer);
        box.addEventListener('cancel', (event) => {
            event.preventDefault();
            answer();
        });
        const buttons = document.createElement('div');
        buttons.className = 'buttons';
        buttons.append(ok);
        box.append(heading, words, buttons);
        this.desk.append(box);
        box.showModal();
        ok.focus();
    }
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
        },
    },
};
