// @ts-check
// The page's side of a run of the utility in its WebAssembly module (vindle.js).
//
// The session keeps a copy of every window the run shows, as plain objects
// (see WindowMirror.h for what a control holds), and tells the renderer of
// each change. It knows no window: a renderer draws what it is given and
// hands the user's actions back through act() and the shortcuts below.
//
// While the core waits it is suspended and must not be called; so the user's
// actions and the received bytes are queued here and the core takes them
// inside its wait, as the desktop's event loop runs its events inside one.
//
// The line is an object with
//   send(byte)          a byte the utility writes, in order;
//   setBitRate?(bits)   the utility changes the bit rate;
//   poll?()             bytes received since the last call (a line that is
//                       polled rather than pushing them with receive());
//   nextArrivalIn?()    milliseconds until poll() has more, null for never.
//
// Events (on(name, listener)): "window" (window), "windowChanged" (window,
// change: "title", "visible", "enabled" or "front"), "control" (window,
// control), "tabStops" (window: its tabStops changed), "announce" (text),
// "busy" (exchange running), "message" ({id, text, title}: answer
// it with answer(id)), "configurationSaved" (text: acknowledge it with
// configurationWritten() once a file holds it), "saveLines" (text: the data
// monitor's lines; linesSaved(name) once a file holds them),
// "chooseCapture" (answer with captureChosen(name) once a file is open),
// "captureAppend" (text: whole lines to append to it; captureFailed(reason)
// when that fails), "captureEnd" (the capture is over), "editsUnsaved" (the windows
// hold edits that neither the module nor a file has taken; also kept in
// `unsaved`), "bitRate" (bits per second), "acted" (action: queued for the
// core), "idle" (the core has taken what was queued and waits) and "ended" (null, or {port, reason, storeCut,
// message} when the port stopped working; also kept in `portStop`).

// What the core and the page say to each other is declared in boundary.mjs.
/** @typedef {import('./boundary.mjs').PageAction} PageAction */
/** @typedef {import('./boundary.mjs').WindowState} WindowState */
/** @typedef {import('./boundary.mjs').ControlState} ControlState */

// Runs `task` in a task of its own, after what is queued now.
const turns = new MessageChannel();
// Under Node a port keeps the process alive only while a task waits (Node's
// ports have ref() and unref(); a browser's have neither).
const nodePort = /** @type {MessagePort & {ref?: () => void, unref?: () => void}} */ (turns.port1);
/** @type {Array<() => void>} */
const tasks = [];
turns.port1.onmessage = () => {
    const task = tasks.shift();
    if (tasks.length === 0) nodePort.unref?.();
    task?.();
};
nodePort.unref?.();
/** @param {() => void} task */
function nextTurn(task) {
    tasks.push(task);
    nodePort.ref?.();
    turns.port2.postMessage(null);
}

export class VindleSession {
    constructor(module, line) {
        this.module = module;
        this.line = line;
        this.windows = new Map();
        this.busy = false;
        this.unsaved = false;
        this.portStop = null;
        this.messages = new Map();
        this.hasEnded = false;
        this.queuedActions = [];
        this.queuedBytes = [];
        this.listeners = new Map();
        this.wakeUp = null;
        this.timer = null;
    }

    // Starts the run; the promise settles when it has ended.
    start() {
        this.module.vindlePage = this;
        return this.module.ccall('vindle_run', null, [], [], { async: true });
    }

    // Starts the bench of many modules instead, on `file` ({name, text (the
    // file's bytes), sha256, port, checking, record}: checking() true
    // compares the next module with the file instead of storing it;
    // record() gives {station, operator, askSerial} for the next module);
    // the promise settles when it has ended. Its events:
    // "benchState" (text), "benchProgress" (kind, reached: "Location 7 of
    // 50", null as it begins), "benchWaits" ("module" or "removal"),
    // "benchSerial"
    // ({number, refusal}: answer with act({action: 'serial', serial})),
    // "benchModule" ({line, status, log, tally}), "benchEnded" ({summary,
    // status}).
    startBench(file) {
        this.module.vindlePage = this;
        this.bench = file;
        return this.module.ccall('vindle_bench', null, [], [], { async: true });
    }
    // The bench ends after the module it is working on.
    stop() {
        this.act({ action: 'stop' });
    }

    on(event, listener) {
        if (!this.listeners.has(event)) this.listeners.set(event, []);
        this.listeners.get(event).push(listener);
        return this;
    }

    off(event, listener) {
        const listeners = this.listeners.get(event) ?? [];
        const at = listeners.indexOf(listener);
        if (at >= 0) listeners.splice(at, 1);
        return this;
    }

    // The control of a window by name and, in a control array, index.
    control(windowName, name, index = null) {
        const window = this.windows.get(windowName);
        return window?.controls.find((c) => c.name === name && c.index === index && c.kind !== 'optionGroup');
    }

    // The user's actions ------------------------------------------------------

    // {action, window, control (id), value}: see WindowMirror::act and PageRun.
    /** @param {PageAction} action */
    act(action) {
        this.queuedActions.push(action);
        this.emit('acted', action);
        this.resume();
    }
    click(window, control) {
        this.act({ action: 'click', window, control });
    }
    toggle(window, control) {
        this.act({ action: 'toggle', window, control });
    }
    setValue(window, control, value) {
        this.act({ action: 'value', window, control, value });
    }
    drag(window, control, value) {
        this.act({ action: 'drag', window, control, value });
    }
    setText(window, control, value) {
        this.act({ action: 'text', window, control, value });
    }
    press(window, control) {
        this.act({ action: 'press', window, control });
    }
    // Enter in a text box that takes it.
    enter(window, control) {
        this.act({ action: 'enter', window, control });
    }
    mouseOver(window, control = null) {
        this.act({ action: 'mouseOver', window, control });
    }
    close(window) {
        this.act({ action: 'close', window });
    }
    answer(message) {
        this.messages.delete(message);
        this.act({ action: 'answer', message });
    }
    // A configuration file's text; `size` is the file's length in bytes.
    openConfiguration(text, name = 'configuration', size = text.length) {
        this.act({ action: 'openConfiguration', name, size, text });
    }
    saveConfiguration() {
        this.act({ action: 'saveConfiguration' });
    }
    // The text of the last "configurationSaved" is in a file now.
    configurationWritten() {
        this.act({ action: 'configurationWritten' });
    }
    // The data monitor's lines are in the file `name`.
    linesSaved(name) {
        this.act({ action: 'linesSaved', name });
    }
    // The file `name` takes the capture; or it could not be written.
    captureChosen(name) {
        this.act({ action: 'captureChosen', name });
    }
    captureFailed(reason) {
        this.act({ action: 'captureFailed', reason });
    }
    end() {
        this.act({ action: 'end' });
    }
    // The port stopped working: `port` names it, `reason` is the browser's words.
    portStopped(port, reason) {
        this.act({ action: 'portStopped', port, reason });
    }

    // Settles once the core has taken every action queued so far and waits.
    settled() {
        if (this.hasEnded || (this.wakeUp !== null && this.queuedActions.length === 0)) return Promise.resolve();
        return new Promise((resolve) => {
            const idle = () => {
                if (this.queuedActions.length > 0) return;
                this.off('idle', idle).off('ended', idle);
                resolve();
            };
            this.on('idle', idle).on('ended', idle);
        });
    }

    // Settles once no read or store is under way (the core shows no
    // "Working..." window and holds the line for no exchange but the data
    // monitor's endless receiving) and no message box is open, and the core
    // has taken what was queued.
    async free() {
        const working = () =>
            this.windows.get('Working')?.visible || (this.busy && !this.windows.get('RS232Packets')?.visible);
        for (;;) {
            await this.settled();
            if (this.hasEnded || (!working() && this.messages.size === 0)) return;
            await new Promise((resolve) => {
                const events = ['windowChanged', 'busy', 'acted', 'ended'];
                const changed = () => {
                    for (const event of events) this.off(event, changed);
                    resolve();
                };
                for (const event of events) this.on(event, changed);
            });
        }
    }

    // Bytes that arrived from the module. The core takes them at once: a
    // module waits for each acknowledgement's answer.
    receive(bytes) {
        for (const byte of bytes) this.queuedBytes.push(byte);
        this.resume({ now: true });
    }

    // Called by the core ------------------------------------------------------

    /** @param {WindowState} window */
    windowOpened(window) {
        this.windows.set(window.name, window);
        this.emit('window', window);
    }

    /**
     * @param {WindowState} state
     * @param {'title'|'visible'|'enabled'|'front'} change
     */
    windowChanged(state, change) {
        const window = Object.assign(this.windows.get(state.name), state);
        this.emit('windowChanged', window, change);
    }

    /**
     * @param {string} windowName
     * @param {ControlState} control
     */
    controlChanged(windowName, control) {
        const window = this.windows.get(windowName);
        if (control.kind === 'lineDisplay' && !control.replaced) {
            // Only the lines added since the last report come, or all of
            // them written anew.
            const kept = window.controls[control.id].lines;
            control.lines = control.lines.concat(kept).slice(0, control.capacity);
        }
        window.controls[control.id] = control;
        this.emit('control', window, control);
    }

    // What the core tells a person politely, without a message box.
    announce(text) {
        this.emit('announce', text);
    }

    tabStopsChanged(windowName, ids) {
        const window = this.windows.get(windowName);
        window.tabStops = ids;
        this.emit('tabStops', window);
    }

    exchangeRunning(running) {
        this.busy = running;
        this.emit('busy', running);
    }

    showMessage(id, text, title) {
        this.messages.set(id, text);
        this.emit('message', { id, text, title });
    }

    configurationSaved(text) {
        this.emit('configurationSaved', text);
    }

    // The data monitor's files: the lines to save (answer with linesSaved),
    // a capture to choose a file for (captureChosen), what the capture keeps
    // (whole lines, to append) and its end.
    saveLines(text) {
        this.emit('saveLines', text);
    }
    chooseCapture() {
        this.emit('chooseCapture');
    }
    captureAppend(text) {
        this.emit('captureAppend', text);
    }
    captureEnd() {
        this.emit('captureEnd');
    }

    editsUnsaved(unsaved) {
        this.unsaved = unsaved;
        this.emit('editsUnsaved', unsaved);
    }

    benchFile() {
        return this.bench;
    }
    benchChecking() {
        return this.bench?.checking?.() ?? false;
    }
    benchRecord() {
        return this.bench?.record?.() ?? { station: '', operator: '', askSerial: false };
    }
    benchSerial(number, refusal) {
        this.emit('benchSerial', { number, refusal });
    }
    benchState(text) {
        this.emit('benchState', text);
    }
    benchProgress(kind, reached) {
        this.busy = kind === 'Storing';
        this.emit('benchProgress', kind, reached);
    }
    benchWaits(what) {
        this.emit('benchWaits', what);
    }
    benchModule(line, status, log, tally) {
        this.busy = false;
        this.emit('benchModule', { line, status, log, tally });
    }
    benchEnded(summary, status) {
        this.busy = false;
        this.emit('benchEnded', { summary, status });
    }
    isoNow() {
        return new Date().toISOString();
    }

    ended(stop = null) {
        this.hasEnded = true;
        this.portStop = stop;
        this.emit('ended', stop);
    }

    // A store under way, noted in the origin's storage under the line's
    // journalKey (a line without one keeps no note), so that the run after
    // a reload or a crash lets the module behind the same adapter give the
    // store up first.
    storeJournal(op) {
        const key = this.line.journalKey;
        if (!key) return 'none';
        try {
            if (op === 'begins') localStorage.setItem(key, new Date().toISOString());
            else if (op === 'over') localStorage.removeItem(key);
            else return localStorage.getItem(key) === null ? 'none' : 'unfinished';
        } catch {
            // Storage the browser refuses (a private window's policy, say).
            return 'unknown';
        }
        return '';
    }

    send(byte) {
        this.line.send(byte);
    }
    setBitRate(bits) {
        this.line.setBitRate?.(bits);
        this.emit('bitRate', bits);
    }

    takeReceived() {
        const bytes = this.queuedBytes;
        this.queuedBytes = [];
        return this.line.poll ? bytes.concat(Array.from(this.line.poll())) : bytes;
    }

    takeAction() {
        return this.queuedActions.shift() ?? null;
    }

    // The core is suspended until something is queued or `ms` has passed.
    wait(ms, wakeUp) {
        this.wakeUp = wakeUp;
        this.emit('idle');
        if (this.queuedActions.length > 0 || this.queuedBytes.length > 0) ms = 0;
        const arrival = this.line.nextArrivalIn?.();
        if (arrival !== undefined && arrival !== null) ms = Math.min(ms, arrival);
        if (ms === Infinity) return;
        if (ms <= 0) {
            this.resume();
            return;
        }
        this.timer = setTimeout(() => {
            if (this.wakeUp !== wakeUp) return;
            this.wakeUp = null;
            wakeUp();
        }, ms);
    }

    // -------------------------------------------------------------------------

    // Wakes the suspended core: `now`, in this call (the caller is no code
    // that the core itself called), or else in a turn of its own, at once (a
    // browser holds a timer of 0 ms back by 4 ms once timers nest, as they do
    // through a whole exchange).
    resume({ now = false } = {}) {
        const wakeUp = this.wakeUp;
        if (wakeUp === null) return;
        this.wakeUp = null;
        clearTimeout(this.timer);
        if (now) wakeUp();
        else nextTurn(wakeUp);
    }

    emit(event, ...args) {
        for (const listener of this.listeners.get(event) ?? []) listener(...args);
    }
}
