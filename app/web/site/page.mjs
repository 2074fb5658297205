// The utility's page: the start, a run on a port of Web Serial or on the
// module emulated in the page, its windows, and the configuration files.

import { VindleSession } from './vindle-session.mjs';
import { WindowRenderer, messageBox } from './WindowRenderer.mjs';
import { WebSerialLine, emulatedLine, kModuleBitRate, namedPort } from './lines.mjs';
import { StationLogStore, logFileName, logText } from './station-log.mjs';
import { CaptureFile, canCapture } from './capture-file.mjs';

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
    said: document.getElementById('connection-said'),
};
const benchButton = document.getElementById('bench-start');
const benchAnyButton = document.getElementById('bench-any');
const benchDemoButton = document.getElementById('bench-demo');
const byId = (id) => document.getElementById(id);
const bench = Object.fromEntries(
    [
        ['view', 'bench'],
        ['file', 'bench-file'],
        ['port', 'bench-port'],
        ['state', 'bench-state'],
        ['progress', 'bench-progress'],
        ['stopping', 'bench-stopping'],
        ['portSaid', 'bench-port-said'],
        ['ended', 'bench-ended'],
        ['tally', 'bench-tally'],
        ['modules', 'bench-modules'],
        ['said', 'bench-said'],
        ['save', 'bench-save'],
        ['saveSaid', 'bench-save-said'],
        ['stop', 'bench-stop'],
        ['close', 'bench-close'],
        ['check', 'bench-check'],
        ['demo', 'bench-demo-label'],
        ['station', 'bench-station'],
        ['operator', 'bench-operator'],
        ['askSerial', 'bench-ask-serial'],
        ['serialForm', 'bench-serial-form'],
        ['serialLabel', 'bench-serial-label'],
        ['serial', 'bench-serial'],
        ['serialSaid', 'bench-serial-said'],
    ].map(([key, id]) => [key, byId(id)]),
);
const logOffer = {
    view: byId('log-offer'),
    text: byId('log-offer-text'),
    save: byId('log-offer-save'),
    discard: byId('log-offer-discard'),
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
        'This browser cannot reach serial ports: it has no Web Serial. A browser that has it (most ' +
        'browsers of the Chromium kind on a computer, and Firefox from version 151) can. ' +
        'You can still try the utility without a module.'
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
        await offerUnsavedLog();
        focusStart();
    }
}

// The start's first choice takes the focus the windows or the bench had.
function focusStart() {
    if (start.hidden || start.contains(document.activeElement)) return;
    const first = knownPorts.querySelector('button:not(:disabled)') ?? connectButton;
    if (first.disabled) return;
    first.focus();
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
    watchMonitorFiles(session, renderer, fileFailed);
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
    connection.end.removeAttribute('aria-disabled');
    connection.said.textContent = '';
    // The run ends as closing the main window ends it. A store is never cut
    // short: it is waited for first (and the core, too, ends the run only
    // once a store is over). The button keeps the focus meanwhile.
    let leaving = false;
    connection.end.onclick = async () => {
        if (leaving) return;
        leaving = true;
        connection.end.setAttribute('aria-disabled', 'true');
        if (session.windows.get('Working')?.visible || session.messages.size > 0)
            connection.said.textContent = line.emulated
                ? 'The demo ends once the module has finished…'
                : 'Disconnecting once the module has finished…';
        await session.free();
        connection.said.textContent = '';
        if (await leaveAsked(connection.end.textContent)) {
            session.end();
            return;
        }
        leaving = false;
        connection.end.removeAttribute('aria-disabled');
    };
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
    const buttons = [connectButton, connectAnyButton, demoButton, benchButton, benchAnyButton, benchDemoButton];
    for (const button of [...buttons, ...knownPorts.querySelectorAll('button')]) button.disabled = !offered;
}

// The ports this origin was given before, each offered again by its name.
async function offerKnownPorts() {
    const ports = await grantedPorts();
    knownPorts.replaceChildren(
        ...ports.map((port) => {
            const button = document.createElement('button');
            button.type = 'button';
            const name = namedPort(port, ports);
            button.textContent = name.startsWith('you chose')
                ? `Connect to the port ${name} again`
                : `Connect to ${name} again`;
            button.disabled = run !== null;
            button.addEventListener('click', () => startRun(() => openLine(port)).catch(failed));
            return button;
        }),
    );
    knownPorts.hidden = ports.length === 0;
}

function grantedPorts() {
    return 'serial' in navigator ? navigator.serial.getPorts().catch(() => []) : Promise.resolve([]);
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
    line.name = namedPort(port, await grantedPorts());
    line.journalKey = `vindle-store:${line.name}`;
    // Once the port stops working: the same adapter plugged in again, open,
    // or null when it cannot be opened.
    line.comesBack = () =>
        new Promise((resolve) => {
            const connected = async () => {
                const ports = await grantedPorts();
                const same =
                    ports.find((other) => other === port) ??
                    ports.find((other) => namedPort(other, ports) === line.name);
                if (!same) return;
                navigator.serial.removeEventListener('connect', connected);
                resolve(await openLine(same));
            };
            navigator.serial.addEventListener('connect', connected);
        });
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
    // The bytes as they are: the core decodes them as the command line does.
    session.openConfiguration(new Uint8Array(await read.arrayBuffer()), file.name, file.size);
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

const kLinesTypes = [{ description: 'Text files', accept: { 'text/plain': ['.txt'] } }];
const kCaptureTypes = [{ description: 'Captures', accept: { 'application/x-ndjson': ['.jsonl'] } }];
const kNoCapture =
    'Capture to File… needs a browser that can write to a file while it runs (the File System Access API of ' +
    'Chrome and Edge), and this one cannot. Save Lines… still saves the lines kept.';

// The data monitor's files: Save Lines… as a text file, and the capture,
// appended to a file the person chose while the monitor runs.
function watchMonitorFiles(session, renderer, fileFailed) {
    session.on('saveLines', (text) =>
        saveFile(text, 'vindle-monitor-lines.txt', kLinesTypes)
            .then((name) => name && session.linesSaved(name))
            .catch(fileFailed),
    );
    let capture = null;
    const endCapture = () => {
        capture?.close();
        capture = null;
    };
    session.on('chooseCapture', async () => {
        if (!canCapture()) {
            renderer.tell(document.title, kNoCapture);
            return;
        }
        let handle;
        try {
            handle = await window.showSaveFilePicker({ suggestedName: 'vindle-capture.jsonl', types: kCaptureTypes });
        } catch (error) {
            if (error.name !== 'AbortError') fileFailed(error);
            return;
        }
        endCapture();
        capture = new CaptureFile(handle, (reason) => session.captureFailed(reason));
        session.captureChosen(handle.name);
    });
    session.on('captureAppend', (text) => capture?.append(text));
    session.on('captureEnd', endCapture);
    session.on('ended', endCapture);
}

// The file's name once it is written; null when the person chose none.
async function saveFile(text, name = 'vindle-configuration.json', types = kFileTypes) {
    if (window.showSaveFilePicker) {
        let handle;
        try {
            handle = await window.showSaveFilePicker({ suggestedName: name, types });
        } catch (error) {
            if (error.name === 'AbortError') return null;
            throw error;
        }
        const writable = await handle.createWritable();
        await writable.write(text);
        await writable.close();
        return handle.name ?? name;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(
        new Blob([text], { type: types[0].accept ? Object.keys(types[0].accept)[0] : 'text/plain' }),
    );
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
    return name;
}

// The bench of many modules ----------------------------------------------------

// The station log: every line kept in the origin's storage as it is written.
const stationLog = StationLogStore.open();

// The file is chosen and checked as a store checks it before any port; then
// the port; then module after module until Stop.
async function startBench(makeLine) {
    if (run !== null) return;
    const chosen = await chooseFile();
    if (!chosen) return;
    const module = await newModule();
    // The file's bytes as they are: the core decodes and refuses them as the
    // command line does, and their digest is that of the file.
    const bytes = new Uint8Array(await chosen.slice(0, module.largestConfigurationFile + 1).arrayBuffer());
    const refusal =
        chosen.size > module.largestConfigurationFile
            ? `Cannot read ${chosen.name}: it is larger than ${module.largestConfigurationFile} bytes`
            : module.storeFileRefusal(chosen.name, bytes);
    if (refusal) {
        say(refusal);
        return;
    }
    // The serial numbers of the log's lines not yet saved are taken as in
    // the log already.
    const log = logText([...(await stationLog).unsaved.values()]);
    const file = { name: chosen.name, text: bytes, sha256: await sha256(bytes), log };
    await startRun(makeLine, (_, line) => runBench(module, line, file), module);
}

async function sha256(bytes) {
    if (!crypto.subtle) return null;
    const digest = await crypto.subtle.digest('SHA-256', bytes);
    return Array.from(new Uint8Array(digest), (byte) => byte.toString(16).padStart(2, '0')).join('');
}

// What the station's fields and the serial number box held last time.
const kRemembered = {
    station: 'vindle-bench-station',
    operator: 'vindle-bench-operator',
    askSerial: 'vindle-bench-ask-serial',
};
function remember(key, value) {
    try {
        localStorage.setItem(kRemembered[key], value);
    } catch {
        // Storage refused: the fields start empty next time.
    }
}
function remembered(key) {
    try {
        return localStorage.getItem(kRemembered[key]) ?? '';
    } catch {
        return '';
    }
}

async function runBench(module, line, file) {
    const session = new VindleSession(module, line);
    run.session = session;
    const log = await stationLog;
    // This bench's lines: their keys in the log's storage.
    const lines = [];
    const said = (element, text) => (element.textContent = text);
    bench.file.textContent = file.name;
    bench.port.textContent = line.name;
    bench.demo.hidden = !line.emulated;
    for (const element of [bench.state, bench.progress, bench.stopping, bench.portSaid, bench.ended, bench.said])
        said(element, '');
    said(bench.saveSaid, '');
    bench.tally.textContent = '0 stored and verified, 0 failed';
    bench.modules.replaceChildren();
    bench.stop.hidden = false;
    bench.stop.removeAttribute('aria-disabled');
    bench.close.hidden = true;
    bench.save.disabled = true;
    bench.check.disabled = false;
    bench.station.value = remembered('station');
    bench.operator.value = remembered('operator');
    bench.askSerial.checked = remembered('askSerial') === 'true';
    bench.station.onchange = () => remember('station', bench.station.value);
    bench.operator.onchange = () => remember('operator', bench.operator.value);
    bench.askSerial.onchange = () => remember('askSerial', String(bench.askSerial.checked));
    bench.serialForm.hidden = true;

    session.on('benchState', (text) => {
        said(bench.state, text);
        said(bench.progress, '');
    });
    session.on('benchWaits', (what) => line.benchWaits?.(what));
    session.on('benchProgress', (kind, reached) => {
        // Said once as it begins; how far it has come is shown, not said.
        if (reached === null) said(bench.state, `${kind}…`);
        said(bench.progress, reached ?? '');
    });
    // The serial number of the next module: typed, or scanned by a reader
    // that types it and presses Enter.
    session.on('benchSerial', ({ number, refusal }) => {
        bench.serialLabel.textContent = `Serial number of module ${number}`;
        // The question is what the bench waits for now.
        said(bench.state, '');
        said(bench.serialSaid, refusal);
        bench.serialForm.hidden = false;
        if (!refusal) bench.serial.value = '';
        bench.serial.focus();
        bench.serial.select();
    });
    bench.serialForm.onsubmit = (event) => {
        event.preventDefault();
        const serial = bench.serial.value.trim();
        if (!serial) return;
        bench.serialForm.hidden = true;
        said(bench.serialSaid, '');
        session.act({ action: 'serial', serial });
        bench.stop.focus();
    };
    session.on('benchModule', ({ line: text, status, log: entry, tally }) => {
        const item = document.createElement('li');
        item.textContent = text;
        item.classList.toggle('failed', status !== 0);
        bench.modules.append(item);
        item.scrollIntoView({ block: 'nearest' });
        bench.tally.textContent = tally;
        said(bench.said, text);
        said(bench.progress, '');
        bench.save.disabled = false;
        lines.push({ key: log.append(entry), entry });
    });
    session.on('benchEnded', ({ summary }) => {
        said(bench.state, '');
        said(bench.progress, '');
        said(bench.ended, summary);
    });
    line.onReceived = (bytes) => session.receive(bytes);
    // An adapter pulled out fails the module it was storing; the bench waits
    // for the same adapter to come back, and goes on with it.
    const portStopped = (reason) => {
        session.portStopped(line.name, reason);
        said(
            bench.portSaid,
            `The serial port ${line.name} stopped working: ${reason} ` +
                'Plug the adapter in again: the bench goes on with it (or press Stop).',
        );
        line.comesBack?.().then((back) => {
            if (!back || session.hasEnded) return;
            back.onReceived = line.onReceived;
            back.onStopped = portStopped;
            session.line = back;
            line = back;
            said(bench.portSaid, `The serial port ${line.name} is back.`);
            session.act({ action: 'portBack' });
        });
    };
    line.onStopped = portStopped;
    bench.save.onclick = () => saveLog(lines);
    bench.stop.onclick = () => {
        if (bench.stop.getAttribute('aria-disabled')) return;
        // The button keeps the focus, so that it is not lost to the page.
        bench.stop.setAttribute('aria-disabled', 'true');
        said(bench.stopping, 'Stopping after this module…');
        bench.serialForm.hidden = true;
        session.stop();
    };
    start.hidden = true;
    bench.view.hidden = false;
    bench.stop.focus();
    try {
        await session.startBench({
            ...file,
            port: line.name,
            checking: () => bench.check.checked,
            record: () => ({
                station: bench.station.value.trim(),
                operator: bench.operator.value.trim(),
                askSerial: bench.askSerial.checked,
            }),
        });
    } finally {
        await line.close?.();
        bench.stop.hidden = true;
        bench.check.disabled = true;
        bench.serialForm.hidden = true;
        if (bench.stopping.textContent) said(bench.stopping, 'Stopped as asked: no more modules are taken.');
        bench.close.hidden = false;
        bench.close.focus();
    }
    // The tally and the log stay until the person goes back to the start.
    await new Promise((resolve) => (bench.close.onclick = resolve));
    bench.view.hidden = true;
    start.hidden = false;
    offerChoices(true);
    focusStart();
}

// Saves log lines ({key, entry}) to a file the person chooses; once they
// are in it they are let go from the origin's storage. A save that fails
// says why in `sayIn` and keeps them.
async function saveLog(lines, sayIn = bench.saveSaid) {
    const log = await stationLog;
    try {
        if (!(await saveFile(logText(lines.map(({ entry }) => entry)), logFileName(), kLogTypes))) return false;
    } catch (error) {
        sayIn.textContent = `The log could not be saved: ${error.message}`;
        return false;
    }
    await log.letGo(lines.map(({ key }) => key));
    sayIn.textContent = `The log was saved: ${lines.length} ${lines.length === 1 ? 'line' : 'lines'}.`;
    return true;
}

// Lines not saved when the page was last left are offered on the start.
async function offerUnsavedLog() {
    const log = await stationLog;
    const lines = [...log.unsaved].map(([key, entry]) => ({ key, entry }));
    const keys = lines.map(({ key }) => key);
    logOffer.view.hidden = keys.length === 0 || run !== null;
    if (keys.length === 0) return;
    logOffer.text.textContent =
        keys.length === 1
            ? 'One station log line was not saved to a file.'
            : `${keys.length} station log lines were not saved to a file.`;
    logOffer.save.onclick = async () => {
        if (await saveLog(lines, status)) offerUnsavedLog();
    };
    logOffer.discard.onclick = async () => {
        const discard = `Discard ${keys.length === 1 ? 'It' : 'Them'}`;
        const answer = await messageBox({
            title: document.title,
            text: `${logOffer.text.textContent} Once discarded, they are gone.`,
            answers: [discard, 'Cancel'],
        });
        if (answer !== discard) return;
        await log.letGo(keys);
        offerUnsavedLog();
        connectButton.focus();
    };
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
        benchWaits(what) {
            if (what !== 'removal') return;
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
benchAnyButton.addEventListener('click', () => {
    if (!('serial' in navigator)) {
        say(withoutSerial());
        return;
    }
    startBench(() => chosenPort({ anyPort: true })).catch(failed);
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
    // Nor are station log lines that no file holds yet.
    const logUnsaved = loadedLog?.unsaved.size > 0;
    if (session?.busy || session?.unsaved || session?.queuedActions.length > 0 || logUnsaved) {
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
let loadedLog = null;
stationLog.then((log) => {
    loadedLog = log;
    if (run === null) offerUnsavedLog();
});

// Works offline once visited, and can be installed as an app.
if ('serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
}
