// The utility's page: the start, a run on a port of Web Serial or on the
// module emulated in the page, its windows, and the configuration files.

import { VindleSession } from './vindle-session.mjs';
import { WindowRenderer } from './WindowRenderer.mjs';
import { WebSerialLine, emulatedLine, portName } from './lines.mjs';

const start = document.getElementById('start');
const desk = document.getElementById('desk');
const status = document.getElementById('status');
const connectButton = document.getElementById('connect');
const demoButton = document.getElementById('demo');

const kBrowsersWithSerial =
    'This browser cannot reach serial ports. Google Chrome, Microsoft Edge and Opera can, on a ' +
    'computer (version 89 or later). You can still try the utility without a module.';

let run = null;

// The module is compiled once, while the page is read; each run instantiates it.
const compiled = WebAssembly.compileStreaming(fetch('vindle.wasm'));

function newModule() {
    return createVindleModule({
        instantiateWasm(imports, receive) {
            compiled
                .then((module) => WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module)))
                .catch(failed);
            return {};
        },
    });
}

// One run of the utility at a time: its WebAssembly module, its line, its
// windows. The start's buttons wait for it to end.
async function startRun(makeLine) {
    if (run !== null) return;
    run = {};
    offerChoices(false);
    say('');
    try {
        const module = await newModule();
        const line = await makeLine(module);
        if (line !== null) await runOn(module, line);
    } finally {
        run = null;
        offerChoices(true);
    }
}

async function runOn(module, line) {
    const session = new VindleSession(module, line);
    run.session = session;
    line.onReceived = (bytes) => session.receive(bytes);
    line.onStopped = (reason) => session.portStopped(line.name, reason);
    const renderer = new WindowRenderer(session, desk);
    // A file that cannot be read or written is said; the windows keep what they hold.
    const fileFailed = (error) => renderer.tell(document.title, `The file could not be used: ${error.message}`);
    session.on('configurationSaved', (text) => saveFile(text).catch(fileFailed));
    session.on('window', (window) => {
        if (window.name === 'Main')
            renderer.addCommands('Main', 'File', [
                { label: 'Open Configuration…', shortcut: 'Ctrl+O', run: () => openFile(session).catch(fileFailed) },
                { label: 'Save Configuration As…', shortcut: 'Ctrl+S', run: () => session.saveConfiguration() },
            ]);
    });
    // Once the run has ended the start comes back; it takes another run when
    // the port has been let go.
    const ended = () => {
        renderer.clear();
        desk.hidden = true;
        start.hidden = false;
    };
    session.on('ended', ended);
    start.hidden = true;
    desk.hidden = false;
    try {
        await session.start();
    } finally {
        ended();
        await line.close?.();
        connectButton.focus();
    }
}

function offerChoices(offered) {
    connectButton.disabled = !offered;
    demoButton.disabled = !offered;
}

// A port the person chooses, open for the module; null when they chose none.
async function chosenPort() {
    let port;
    try {
        port = await navigator.serial.requestPort();
    } catch (error) {
        // The chooser was cancelled: back to the start.
        if (error.name !== 'NotFoundError') say(`No port could be chosen: ${error.message}`);
        return null;
    }
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
    let file;
    if (window.showOpenFilePicker) {
        try {
            const [handle] = await window.showOpenFilePicker({ types: kFileTypes });
            file = await handle.getFile();
        } catch (error) {
            if (error.name === 'AbortError') return;
            throw error;
        }
    } else {
        file = await pickWithInput();
        if (!file) return;
    }
    // The core refuses a file too large to be a configuration by its size;
    // no more of it than that is read.
    const read = file.slice(0, session.module.largestConfigurationFile + 1);
    session.openConfiguration(await read.text(), file.name, file.size);
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

async function saveFile(text) {
    const name = 'vindle-configuration.json';
    if (window.showSaveFilePicker) {
        let handle;
        try {
            handle = await window.showSaveFilePicker({ suggestedName: name, types: kFileTypes });
        } catch (error) {
            if (error.name === 'AbortError') return;
            throw error;
        }
        const writable = await handle.createWritable();
        await writable.write(text);
        await writable.close();
        return;
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([text], { type: 'application/json' }));
    link.download = name;
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

// The start ------------------------------------------------------------------

connectButton.addEventListener('click', () => {
    if (!('serial' in navigator)) {
        say(kBrowsersWithSerial);
        return;
    }
    startRun(() => chosenPort()).catch(failed);
});
demoButton.addEventListener('click', () => startRun(async (module) => emulatedLine(module)).catch(failed));

function failed(error) {
    say(`The utility stopped: ${error.message}`);
    console.error(error);
}

// Leaving the page while the module is taking a configuration would leave it
// half stored.
window.addEventListener('beforeunload', (event) => {
    if (run?.session?.busy) {
        event.preventDefault();
        event.returnValue = '';
    }
});

if (!('serial' in navigator)) say(kBrowsersWithSerial);
offerChoices(true);

// Works offline once visited, and can be installed as an app.
if ('serviceWorker' in navigator && window.isSecureContext) {
    navigator.serviceWorker.register('service-worker.js').catch(() => {});
}
