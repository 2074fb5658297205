// A whole run through the page's interface alone, against the emulated
// module in the same WebAssembly module: start-up, two changes, a store, and
// a module that does not answer. Run by scripts/web-check.sh:
//   node --no-experimental-fetch tests/web/run.test.mjs build-web
import assert from 'node:assert/strict';
import { readFile, readdir, stat } from 'node:fs/promises';
import { createRequire } from 'node:module';
import path from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';

const build = path.resolve(process.argv[2] ?? 'build-web');
const createVindleModule = createRequire(import.meta.url)(path.join(build, 'web/vindle.js'));
const { VindleSession } = await import(pathToFileURL(path.join(build, 'web/vindle-session.mjs')));
const { namedPort } = await import('../../src/web/lines.mjs');
const { kCallbacks } = await import('../../src/web/boundary.mjs');

// A session on an emulated module started with `args`; every message box is
// answered at once and kept.
async function sessionOn(args) {
    const module = await createVindleModule();
    const emulated = new module.EmulatedModule(args);
    const session = new VindleSession(module, {
        send: (byte) => emulated.receive(byte),
        poll: () => emulated.takeDue(),
        nextArrivalIn: () => emulated.nextDueIn(),
    });
    session.shown = [];
    session.on('message', ({ id, text }) => {
        session.shown.push(text);
        session.answer(id);
    });
    session.finished = session.start();
    return { session, emulated };
}

function until(condition, what) {
    return new Promise((resolve, reject) => {
        const deadline = Date.now() + 20000;
        const check = () => {
            if (condition()) resolve();
            else if (Date.now() > deadline) reject(new Error(`no ${what}`));
            else setTimeout(check, 5);
        };
        check();
    });
}

const idle = (session) => session.windows.get('Main')?.visible && session.windows.get('Main').enabled && !session.busy;

// What a file saved now holds, and what the emulated module holds at that
// moment. The module is read inside the core's call: while the core is
// suspended nothing in its WebAssembly module may be called.
function saved(session, emulated) {
    return new Promise((resolve) => {
        const listener = (text) => {
            session.off('configurationSaved', listener);
            const file = JSON.parse(text);
            const values = Array.from({ length: 51 }, (_, i) => file.locations[i].value);
            resolve({ file, values, held: emulated.configuration() });
        };
        session.on('configurationSaved', listener);
        session.saveConfiguration();
    });
}

test('start-up, two changes and a store, through the page interface', async () => {
    const { session, emulated } = await sessionOn(['--set', '1=40', '--set', '5=9']);
    await until(() => idle(session), 'main window after start-up');
    assert.equal(session.control('Main', 'Debounce').value, 40);
    assert.equal(session.control('Main', 'Q4T').text, '9');
    const before = await saved(session, emulated);
    assert.deepEqual(before.values, before.held);

    // A change the slider refuses, and what is no action at all, leave
    // everything alone.
    const debounce = session.control('Main', 'Debounce');
    session.setValue('Main', debounce.id, 300);
    session.setText('Main', debounce.id, '5');
    session.act(42);
    session.act({ action: 'press', window: 'Nowhere', control: 0 });
    session.setValue('Main', debounce.id, 120);
    session.setText('Main', session.control('Main', 'Q4T').id, '77');
    await until(
        () => session.control('Main', 'Debounce').value === 120 && session.control('Main', 'Q4T').text === '77',
        'changes',
    );

    const progress = [];
    session.on('control', (window, control) => {
        if (window.name === 'Working' && control.kind === 'progressBar') progress.push(control.value);
    });
    session.press('Main', session.control('Main', 'StoreSettings').id);
    await until(() => progress.length > 0 && idle(session), 'store');
    assert.deepEqual(session.shown, []);
    const after = await saved(session, emulated);
    assert.deepEqual(after.values, after.held);
    assert.deepEqual(after.held.map((value, i) => (value === before.held[i] ? null : [i, value])).filter(Boolean), [
        [1, 120],
        [5, 77],
    ]);

    // The module's identity, in the frame the button shows.
    session.press('Main', session.control('Main', 'GetVersion').id);
    const identity = () => [0, 1, 2, 3].map((i) => session.control('Main', 'VDAT2', i).caption);
    await until(() => identity()[3] !== '--' && idle(session), 'identity');
    assert.deepEqual(identity(), ['17', '4', '26', '1']);
    assert.ok(session.control('Main', 'VersionFrame').visible);

    // A file goes into the windows as text and sends nothing; a broken one is
    // refused with a message.
    after.file.locations[1].value = 200;
    session.openConfiguration(JSON.stringify(after.file));
    session.openConfiguration('{');
    await until(() => session.shown.length === 1, 'message about the broken file');
    assert.equal(session.control('Main', 'Debounce').value, 200);
    assert.deepEqual((await saved(session, emulated)).held, after.held);

    session.close('Main');
    await session.finished;
    assert.ok(session.hasEnded);
});

test('a module that does not answer: the hand-over to the data monitor', async () => {
    const { session } = await sessionOn(['--running', '--packet-rate', '50']);
    await until(() => session.windows.get('RS232Packets')?.visible, 'data monitor');
    assert.equal(session.shown.length, 1);
    assert.equal(session.windows.get('Main').visible, false);
    const display = () => session.windows.get('RS232Packets').controls.find((c) => c.kind === 'lineDisplay');
    await until(() => display().lines.length >= 3, 'packets in the monitor');

    session.close('RS232Packets');
    await session.finished;
    assert.ok(session.hasEnded);
});

test('ports of one kind are told apart by the order they were granted in', () => {
    const port = (info) => ({ getInfo: () => info });
    const ftdi = { usbVendorId: 0x0403, usbProductId: 0x6001 };
    const ports = [port(ftdi), port({ usbVendorId: 0x067b, usbProductId: 0x2303 }), port(ftdi), port({}), port({})];
    assert.deepEqual(
        ports.map((each) => namedPort(each, ports)),
        ['USB 0403:6001', 'USB 067B:2303', 'USB 0403:6001 (2)', 'you chose', 'you chose (2)'],
    );
});

test('the boundary names every call the core makes on the page, and the session answers each', async () => {
    const web = new URL('../../src/web/', import.meta.url);
    const called = new Set();
    for (const name of await readdir(web)) {
        if (!/\.(cpp|h)$/.test(name)) continue;
        const source = await readFile(new URL(name, web), 'utf8');
        for (const [, callback] of source.matchAll(/page_\.call<[^>]*>\(\s*"(\w+)"/g)) called.add(callback);
        for (const [, callback] of source.matchAll(/Module\["vindlePage"\]\.(\w+)\(/g)) called.add(callback);
    }
    const declared = Object.values(kCallbacks).flat();
    assert.deepEqual([...called].sort(), [...declared].sort());
    for (const callback of declared)
        assert.equal(typeof VindleSession.prototype[callback], 'function', `the session has no ${callback}()`);
});

test("the page's module keeps within the megabyte the page is promised to load in", async () => {
    const { size } = await stat(path.join(build, 'web/vindle.wasm'));
    assert.ok(size <= 1_000_000, `vindle.wasm is ${size} bytes`);
});
