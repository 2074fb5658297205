// The utility's page: the start, a run on a port of Web Serial or on the
// module emulated in the page, its windows, and the configuration files.

import { VindleSession } from './vindle-session.mjs';
import { WindowRenderer, messageBox } from './WindowRenderer.mjs';
import { WebSerialLine, emulatedLine, kModuleBitRate, portName } from './lines.mjs';

const start = document.getElementById('start');
const desk = document.getElementById('desk');
const status = document.getElementById('status');
const connectButton = document.getElementById('connect');
const connectAnyButton = document.getElementById('connect-any');
const knownPorts = document.getElementById('known-ports');
const demoButton = document.getElementById('demo');
const connection = {
    view: document.getElementById('connection'),
    line: document.getElementById('connection-line'),
    end: document.getElementById('disconnect'),
};
const benchButton = document.getElementById('bench-start');
const benchDemoButton = document.getElementById('bench-demo');
const bench = {
    view: document.getElementById('bench'),
    file: document.getElementById('bench-file'),
    port: document.getElementById('bench-port'),
    state: document.getElementById('bench-state'),
    tally: document.getElementById('bench-tally'),
    modules: document.getElementById('bench-modules'),
    said: document.getElementById('bench-said'),
    save: document.getElementById('bench-save'),
    stop: document.getElementById('bench-stop'),
    close: document.getElementById('bench-close'),
    check: document.getElementById('bench-check'),
    demo: document.getElementById('bench-demo-label'),
};

// Why there is no navigator.serial: the browser has none, or, on plain http
// from another host than this computer, the page is not a secure context.
function withoutSerial() {
    if (!window.isSecureContext)
        return (
            'This page can reach serial ports only over HTTPS (or from this computer, as ' +
            'localhost): open it at its https:// address. You can still try the utility without a module.'
        );
    return (
        'This browser cannot reach serial ports. Google Chrome, Microsoft Edge and Opera can, on a ' +
        'computer (version 89 or later). You can still try the utility without a module.'
    );
}

// The chooser offers the USB serial adapters' chips (FTDI, Prolific,
// Silicon Labs, WCH, Microchip, ATEN); "Another serial port…" offers every
// port the browser sees.
const kAdapterFilters = [0x0403, 0x067b, 0x10c4, 0x1a86, 0x04d8, 0x0557].map((usbVendorId) => ({ usbVendorId }));

const kUnsavedText =
    'The windows hold changes that are neither stored in the Vindle Module nor saved to a file. ' +
    'They are lost when the run ends.';

let run = null;

// The module is compiled once, while the page is read; each run instantiates it.
const compiled = WebAssembly.compileStreaming(fetch('vindle.wasm'));

function newModule() {
    return createVindleModule({
        instantiateWasm(imports, receive) {
            compiled
                .then((module) =>
                    WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)),
                )
                .catch(failed);
            return {};
        },
    });
}

// One run of the utility at a time: its WebAssembly module, its line, its
// windows. The start's buttons wait for it to end.
async function startRun(makeLine, runIt = runOn, givenModule = null) {
    if (run !== null) return;
    run = {};
    offerChoices(false);
    say('');
    try {
        const module = givenModule ?? (await newModule());
        const line = await makeLine(module);
        if (line !== null) await runIt(module, line);
    } finally {
        run = null;
        offerChoices(true);
        await offerKnownPorts();
        // The start's first choice takes the focus the windows had.
        if (document.activeElement === null || document.activeElement === document.body)
            (knownPorts.querySelector('button') ?? connectButton).focus();
    }
}

async function runOn(module, line) {
    const session = new VindleSession(module, line);
    run.session = session;
    line.onReceived = (bytes) => session.receive(bytes);
    line.onStopped = (reason) => session.portStopped(line.name, reason);
    // Closing the main window or the data monitor ends the run: edits
    // neither stored nor saved are asked about first.
    const close = session.close.bind(session);
    session.close = (name) => {
        if (!session.windows.get(name)?.closeEndsProgram) close(name);
        else leaveAsked('Close Without Storing').then((leave) => leave && close(name));
    };
    const renderer = new WindowRenderer(session, desk);
    // A file that cannot be read or written is said; the windows keep what they hold.
    const fileFailed = (error) => renderer.tell(document.title, `The file could not be used: ${error.message}`);
    session.on('configurationSaved', (text) =>
        saveFile(text)
            .then((written) => {
                if (!written) return;
                session.configurationWritten();
                renderer.announce('The configuration was saved.');
            })
            .catch(fileFailed),
    );
    session.on('window', (window) => {
        if (window.name === 'Main')
            renderer.addCommands('Main', 'File', [
                { label: 'Open Configuration…', shortcut: 'Ctrl+O', run: () => openFile(session).catch(fileFailed) },
                { label: 'Save Configuration As…', shortcut: 'Ctrl+S', run: () => session.saveConfiguration() },
            ]);
    });
    showConnection(connection.view, line);
    session.on('bitRate', () => showConnection(connection.view, line));
    connection.end.textContent = line.emulated ? 'End the Demo' : 'Disconnect';
    connection.end.disabled = false;
    // The run ends as closing the main window ends it, and the port is let
    // go once a store cut short has run out in the module.
    connection.end.onclick = () =>
        leaveAsked(connection.end.textContent).then((leave) => {
            if (!leave) return;
            connection.end.disabled = true;
            session.end();
        });
    // Once the run has ended the start comes back; it takes another run when
    // the port has been let go.
    let told = null;
    const ended = (stop) => {
        renderer.clear();
        desk.hidden = true;
        connection.view.hidden = true;
        start.hidden = false;
        // The port that stopped working is said once, over the start.
        if (stop && !told) told = messageBox({ title: document.title, text: stop.message });
    };
    session.on('ended', ended);
    start.hidden = true;
    desk.hidden = false;
    connection.view.hidden = false;
    try {
        await session.start();
    } finally {
        ended(session.portStop);
        await line.close?.();
        await told;
    }
}

// What the run is connected to, in `view`'s line: the port and its bit
// rate, or that it is the demo.
function showConnection(view, line) {
    view.classList.toggle('demo', Boolean(line.emulated));
    connection.line.textContent = line.emulated
        ? 'Demo: an emulated module'
        : `Connected to ${line.name} at ${line.bitRate ?? kModuleBitRate} bit/s`;
}

// Asks before the windows' unsaved edits are lost: true to go on.
async function leaveAsked(going) {
    // What the person typed just before counts: the core takes it first.
    await run?.session?.settled();
    if (!run?.session?.unsaved) return true;
    return (await messageBox({ title: document.title, text: kUnsavedText, answers: [going, 'Cancel'] })) === going;
}

function offerChoices(offered) {
    const buttons = [connectButton, connectAnyButton, demoButton, benchButton, benchDemoButton];
    for (const button of [...buttons, ...knownPorts.querySelectorAll('button')]) button.disabled = !offered;
}

// The ports this origin was given before, each offered again by its name.
async function offerKnownPorts() {
    const ports = 'serial' in navigator ? await navigator.serial.getPorts().catch(() => []) : [];
    knownPorts.replaceChildren(
        ...ports.map((port) => {
            const button = document.createElement('button');
            button.type = 'button';
            const name = portName(port);
            button.textContent =
                name === 'you chose' ? 'Connect to the port you chose again' : `Connect to ${name} again`;
            button.disabled = run !== null;
            button.addEventListener('click', () => startRun(() => openLine(port)).catch(failed));
            return button;
        }),
    );
    knownPorts.hidden = ports.length === 0;
}

// A port the person chooses, open for the module; null when they chose none.
// The chooser lists the USB serial adapters, or with `anyPort` every port.
async function chosenPort({ anyPort = false } = {}) {
    let port;
    try {
        port = await navigator.serial.requestPort(anyPort ? {} : { filters: kAdapterFilters });
    } catch (error) {
        // The chooser was cancelled: back to the start.
        if (error.name !== 'NotFoundError') say(`No port could be chosen: ${error.message}`);
        return null;
    }
    return openLine(port);
}

async function openLine(port) {
    const line = new WebSerialLine(port);
    line.name = portName(port);
    try {
        await line.open();
    } catch (error) {
        say(`The serial port ${line.name} could not be opened: ${error.message}`);
        return null;
    }
    return line;
}

function say(text) {
    status.textContent = text;
}

// Files --------------------------------------------------------------------

const kFileTypes = [{ description: 'Vindle configurations', accept: { 'application/json': ['.json'] } }];

async function openFile(session) {
    const file = await chooseFile();
    if (!file) return;
    // The core refuses a file too large to be a configuration by its size;
    // no more of it than that is read.
    const read = file.slice(0, session.module.largestConfigurationFile + 1);
    session.openConfiguration(await read.text(), file.name, file.size);
}

// A file the person chooses, or null.
async function chooseFile() {
    let file;
    if (window.showOpenFilePicker) {
        try {
            const [handle] = await window.showOpenFilePicker({ types: kFileTypes });
            file = await handle.getFile();
        } catch (error) {
            if (error.name === 'AbortError') return null;
            throw error;
        }
    } else {
        file = await pickWithInput();
    }
    return file ?? null;
}

function pickWithInput() {
    return new Promise((resolve) => {
        const input = document.createElement('input');
        input.type = 'file';
        input.accept = '.json,application/json';
        input.addEventListener('change', () => resolve(input.files[0] ?? null));
        input.addEventListener('cancel', () => resolve(null));
        input.click();
    });
}

const kLogTypes = [{ description: 'Station logs', accept: { 'application/x-ndjson': ['.jsonl'] } }];

// True once the file is written; false when the person chose none.
async function saveFile(text, name = 'vindle-configuration.json', types = kFileTypes) {
    if (window.showSaveFilePicker) {
        let handle;
        try {
            handle = await window.showSaveFilePicker({ suggestedName: name, types });
        } catch (error) {
            if (error.name === 'AbortError') return false;
            throw error;
        }
        const writable = await handle.createWritable();
        await writable.write(text);
        await writable.close();
        return true;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(
        new Blob([text], { type: types[0].accept ? Object.keys(types[0].accept)[0] : 'text/plain' }),
    );
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    return true;
}

// The bench of many modules ----------------------------------------------------

// The file is chosen and checked as a store checks it before any port; then
// the port; then module after module until Stop or the port goes away.
async function startBench(makeLine) {
    if (run !== null) return;
    const chosen = await chooseFile();
    if (!chosen) return;
    const module = await newModule();
    const text = await chosen.slice(0, module.largestConfigurationFile + 1).text();
    const refusal =
        chosen.size > module.largestConfigurationFile
            ? `Cannot read ${chosen.name}: it is larger than ${module.largestConfigurationFile} bytes`
            : module.storeFileRefusal(chosen.name, text);
    if (refusal) {
        say(refusal);
        return;
    }
    const file = { name: chosen.name, text, sha256: await sha256(text) };
    await startRun(makeLine, (_, line) => runBench(module, line, file), module);
}

async function sha256(text) {
    if (!crypto.subtle) return null;
    const digest = await crypto.subtle.digest('SHA-256', new TextEncoder().encode(text));
    return Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0')).join('');
}

async function runBench(module, line, file) {
    const session = new VindleSession(module, line);
    run.session = session;
    line.onReceived = (bytes) => session.receive(bytes);
    line.onStopped = (reason) => session.portStopped(line.name, reason);
    const log = [];
    bench.file.textContent = file.name;
    bench.port.textContent = line.name;
    bench.demo.hidden = !line.emulated;
    bench.state.textContent = '';
    bench.tally.textContent = '0 stored and verified, 0 failed';
    bench.modules.replaceChildren();
    bench.said.textContent = '';
    bench.stop.hidden = false;
    bench.stop.disabled = false;
    bench.close.hidden = true;
    session.on('benchState', (text) => {
        bench.state.textContent = text;
        line.benchState?.(text);
    });
    session.on('benchProgress', (kind, location) => {
        const doing = kind === 'Storing' ? 'Storing' : 'Verifying';
        bench.state.textContent = location === null ? `${doing}…` : `${doing}… location ${location} of 50`;
    });
    session.on('benchModule', ({ line: text, status, log: entry, tally }) => {
        log.push(entry);
        const item = document.createElement('li');
        item.textContent = text;
        item.classList.toggle('failed', status !== 0);
        bench.modules.append(item);
        item.scrollIntoView({ block: 'nearest' });
        bench.tally.textContent = tally;
        bench.said.textContent = text;
    });
    session.on('benchEnded', ({ summary }) => {
        bench.state.textContent = summary;
        bench.said.textContent = summary;
    });
    line.onStopped = (reason) => {
        session.portStopped(line.name, reason);
        bench.state.textContent = `The serial port ${line.name} stopped working: ${reason}`;
    };
    bench.save.onclick = () =>
        saveFile(log.map((entry) => `${entry}\n`).join(''), 'vindle-station-log.jsonl', kLogTypes).catch(
            (error) => (bench.state.textContent = `The log could not be saved: ${error.message}`),
        );
    bench.stop.onclick = () => {
        bench.stop.disabled = true;
        bench.state.textContent = 'Stopping after this module…';
        session.stop();
    };
    start.hidden = true;
    bench.view.hidden = false;
    bench.save.focus();
    try {
        await session.startBench({ ...file, port: line.name, checking: () => bench.check.checked });
    } finally {
        await line.close?.();
        bench.stop.hidden = true;
        bench.close.hidden = false;
        bench.close.focus();
    }
    // The tally and the log stay until the person goes back to the start.
    await new Promise((resolve) => (bench.close.onclick = resolve));
    bench.view.hidden = true;
    start.hidden = false;
}

// The demo's bench: a new emulated module takes the place of each one the
// bench asks to have unplugged. They live in a WebAssembly instance of their
// own: the bench's instance is not to be called while it waits.
async function emulatedBenchLine() {
    const module = await newModule();
    let number = 1;
    let current = emulatedLine(module, ['--device-id2', String(number)]);
    const line = {
        name: 'the emulated module',
        emulated: true,
        send: (byte) => current.send(byte),
        poll: () => current.poll(),
        nextArrivalIn: () => current.nextArrivalIn(),
        close: () => current.close(),
        benchState(text) {
            if (!text.includes('unplug')) return;
            const unplugged = current;
            current = emulatedLine(module, ['--silent']);
            unplugged.close();
            setTimeout(() => {
                const silent = current;
                current = emulatedLine(module, ['--device-id2', String(++number)]);
                silent.close();
            }, 2500);
        },
    };
    return line;
}

// The start ------------------------------------------------------------------

for (const [button, anyPort] of [
    [connectButton, false],
    [connectAnyButton, true],
]) {
    button.addEventListener('click', () => {
        if (!('serial' in navigator)) {
            say(withoutSerial());
            return;
        }
        startRun(() => chosenPort({ anyPort })).catch(failed);
    });
}
demoButton.addEventListener('click', () =>
    startRun(async (module) => ({ ...emulatedLine(module), name: 'the emulated module', emulated: true })).catch(
        failed,
    ),
);
benchButton.addEventListener('click', () => {
    if (!('serial' in navigator)) {
        say(withoutSerial());
        return;
    }
    startBench(() => chosenPort()).catch(failed);
});
benchDemoButton.addEventListener('click', () => startBench(() => emulatedBenchLine()).catch(failed));

function failed(error) {
    say(`The utility stopped: ${error.message}`);
    console.error(error);
}

// Leaving the page while the module is taking a configuration would leave it
// half stored.
// Nor are edits neither stored nor saved to be lost without a word.
window.addEventListener('beforeunload', (event) => {
    // An edit the core has not taken yet counts as one not stored.
    const session = run?.session;
    if (session?.busy || session?.unsaved || session?.queuedActions.length > 0) {
        event.preventDefault();
        event.returnValue = '';
    }
});

if (!('serial' in navigator)) say(withoutSerial());
else {
    // An adapter plugged in again is offered again.
    navigator.serial.addEventListener('connect', () => offerKnownPorts());
    navigator.serial.addEventListener('disconnect', () => offerKnownPorts());
}
offerKnownPorts();
offerChoices(true);

// Works offline once visited, and can be installed as an app.
if ('serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
}
