// The bench of many modules on the page, as a station runs it all day:
// module after module, slow ones and swapped ones, an adapter pulled out and
// plugged in again, the record of each unit and a log that outlives the tab.
//   node --test tests/web/browser/bench.test.mjs      (after scripts/web.sh)
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { byName, finish, openPage, press, savedDefaults, sharedBrowser, test } from './harness.mjs';

const browser = sharedBrowser();

const lines = (page) => page.$$eval('#bench-modules li', (items) => items.map((item) => item.textContent));
const textOf = (page, id) => page.$eval(`#${id}`, (element) => element.textContent);
const held = (page) => page.evaluate(() => window.serialStandIn.configuration());
const focused = (page) => page.evaluate(() => document.activeElement.id || document.activeElement.textContent);
const until = (page, id, pattern) =>
    page.waitForFunction(
        (key, source) => new RegExp(source).test(document.getElementById(key).textContent),
        {},
        id,
        pattern.source,
    );
const modulesDone = (page, count) =>
    page.waitForFunction((n) => document.querySelectorAll('#bench-modules li').length === n, {}, count);
const swap = (page, args) => page.evaluate((a) => window.serialStandIn.swap(a), args);
const kUnplug = /^Done with this module: unplug it\./;

// The demo's file with another debounce time (location 1: 40), and its values.
async function lobbyFile(page) {
    const lobby = await savedDefaults(page);
    lobby.locations[1].value = 40;
    return { lobby, values: Array.from({ length: 51 }, (_, i) => lobby.locations[i].value) };
}

// The bench on `file` ({name, text} or {name, bytes}), started with `button`.
async function benchOn(page, file, button = 'Set up many modules') {
    await page.evaluate((f) => (window.fileStandIn.toOpen = f), file);
    await press(page, button);
    await page.waitForFunction(() => !document.getElementById('bench').hidden);
}

// The saved log's text, its lines as objects.
async function savedLog(page, count) {
    await page.waitForFunction((n) => window.fileStandIn.saved.length === n, {}, count);
    const saved = await page.evaluate(() => window.fileStandIn.saved.at(-1));
    return {
        ...saved,
        entries: saved.text
            .split('\n')
            .filter(Boolean)
            .map((line) => JSON.parse(line)),
    };
}

test('module after module: a tally, an adapter pulled out and plugged in again, Stop, and the focus kept', async () => {
    const page = await openPage(browser, { args: ['--device-id2', '1', '--set', '5=9'] });
    const { lobby, values } = await lobbyFile(page);
    const file = JSON.stringify(lobby);
    // The bench's own "Another serial port…" lists every port.
    await benchOn(page, { name: 'lobby.json', text: file }, 'Another serial port… for many modules');
    assert.deepEqual(await page.evaluate(() => window.serialStandIn.requests.at(-1)), {});
    // Nothing to save before a module is done.
    assert.equal(await page.$eval('#bench-save', (button) => button.disabled), true);
    await modulesDone(page, 1);
    assert.match((await lines(page))[0], /^Module 1, Device ID #1: 17, Device ID #2: 1, .*: stored and verified$/);
    assert.equal(await textOf(page, 'bench-said'), (await lines(page))[0]);
    assert.deepEqual(await held(page), values);
    await until(page, 'bench-state', kUnplug);

    // Pulled out while the bench waits: said, and it stays said; the bench
    // waits for the adapter, and goes on with the module behind it.
    await page.evaluate(() => window.serialStandIn.unplug());
    await until(page, 'bench-port-said', /stopped working: The device has been lost\..*Plug the adapter in again/);
    await swap(page, ['--device-id2', '2', '--wrong-echo', '7']);
    await page.evaluate(() => window.serialStandIn.plugIn());
    await modulesDone(page, 2);
    assert.match((await lines(page))[1], /Device ID #2: 2, .*: the module refused the store at location 7 /);
    assert.equal(await textOf(page, 'bench-tally'), '1 stored and verified, 1 failed');

    // The next one is checked against the file: nothing is written to it.
    await (await byName(page, 'Check modules against the file (nothing is written to them)', 'checkbox')).click();
    await until(page, 'bench-state', kUnplug);
    await swap(page, ['--silent']);
    await until(page, 'bench-state', /Waiting for a module/);
    await swap(page, ['--set', '1=40', '--set', '5=7']);
    await modulesDone(page, 3);
    assert.match((await lines(page))[2], /^Module 3, identity not read: differs from the file at location 5$/);
    assert.equal((await held(page))[5], 7);

    await press(page, 'Save Log…');
    const saved = await savedLog(page, 1);
    assert.match(saved.name, /^vindle-station-log-\d{4}-\d\d-\d\d\.jsonl$/);
    assert.ok(saved.text.endsWith('}\n'), 'the last line ends in a newline');
    assert.deepEqual(
        saved.entries.map((entry) => [entry.command, entry.module.device_id_2, entry.status]),
        [
            ['store', 1, 0],
            ['store', 2, 4],
            ['diff', null, 5],
        ],
    );
    const digest = createHash('sha256').update(file).digest('hex');
    assert.ok(saved.entries.every((entry) => entry.file === 'lobby.json' && entry.file_sha256 === digest));
    // Without the station's record its keys are absent, not empty.
    assert.ok(saved.entries.every((entry) => !('serial' in entry) && !('station' in entry)));
    await until(page, 'bench-save-said', /^The log was saved: 3 lines\.$/);

    // Stop keeps the focus (until Back to the start takes it) and says so
    // until the bench is over, and after.
    await page.focus('#bench-stop');
    await page.keyboard.press('Enter');
    assert.match(await focused(page), /^bench-(stop|close)$/);
    await byName(page, 'Back to the start', 'button');
    assert.equal(await textOf(page, 'bench-stopping'), 'Stopped as asked: no more modules are taken.');
    assert.match(await textOf(page, 'bench-ended'), /^2 modules stored and verified|^1 module stored/);
    assert.equal(await page.$eval('#bench-check', (box) => box.disabled), true);
    assert.equal(await focused(page), 'bench-close');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.getElementById('start').contains(document.activeElement));
    assert.equal(await focused(page), 'Connect to USB 0403:6001 again');
    await finish(page);
});

test('slow modules, a module swapped between two polls and one of another kind', async () => {
    // 20 ms before each reply byte, then 600 bit/s: both stored as the
    // windows store them.
    const page = await openPage(browser, { args: ['--byte-delay', '20'] });
    const { lobby, values } = await lobbyFile(page);
    await benchOn(page, { name: 'lobby.json', text: JSON.stringify(lobby) });
    await modulesDone(page, 1);
    assert.match((await lines(page))[0], /: stored and verified$/);
    // Swapped with no silence between: a module that holds other values than
    // the one just stored is the next one.
    await until(page, 'bench-state', kUnplug);
    await swap(page, ['--baud', '600', '--set', '1=3']);
    await modulesDone(page, 2);
    assert.match((await lines(page))[1], /: stored and verified$/);
    assert.deepEqual(await held(page), values);
    // Another kind of module is refused and left as it was.
    await until(page, 'bench-state', kUnplug);
    await swap(page, ['--device-id1', '18', '--set', '1=3']);
    await modulesDone(page, 3);
    assert.match(
        (await lines(page))[2],
        /^Module 3, Device ID #1: 18, .*: not stored: the file was saved from another kind of module \(Device ID #1: 17\)$/,
    );
    assert.equal((await held(page))[1], 3);
    await press(page, 'Stop');
    await byName(page, 'Back to the start', 'button');
    await finish(page);
});

test('the record of each unit: station, operator, a scanned serial number, a retry, and what it held before', async () => {
    const page = await openPage(browser, { args: ['--set', '5=9'] });
    const { lobby } = await lobbyFile(page);
    // Saved by an editor that writes a byte-order mark: the digest is the
    // file's, bytes and all.
    const bytes = [0xef, 0xbb, 0xbf, ...Buffer.from(JSON.stringify(lobby))];
    // The box ticked on an earlier day is ticked again.
    await page.evaluate(() => localStorage.setItem('vindle-bench-ask-serial', 'true'));
    await benchOn(page, { name: 'lobby.json', bytes });
    assert.equal(await page.$eval('#bench-ask-serial', (box) => box.checked), true);
    // The first module's question comes first: a scanner types into the
    // focused field and presses Enter.
    await page.waitForFunction(() => !document.getElementById('bench-serial-form').hidden);
    await page.type('#bench-station', 'Bench 4');
    await page.type('#bench-operator', 'R. Ames');
    await page.focus('#bench-serial');
    assert.equal(await textOf(page, 'bench-serial-label'), 'Serial number of module 1');
    await page.keyboard.type('SN-0001\n');
    await modulesDone(page, 1);
    // The next unit, scanned twice by mistake: refused, then taken as a retry.
    await until(page, 'bench-state', kUnplug);
    await swap(page, ['--set', '1=3']);
    await page.waitForFunction(() => !document.getElementById('bench-serial-form').hidden);
    await page.keyboard.type('SN-0001\n');
    await until(page, 'bench-serial-said', /SN-0001 is already in the log/);
    assert.equal(await focused(page), 'bench-serial');
    await page.keyboard.press('Enter');
    await modulesDone(page, 2);
    // A save that fails says why and stays said.
    await page.evaluate(() => (window.fileStandIn.full = true));
    await press(page, 'Save Log…');
    await until(page, 'bench-save-said', /^The log could not be saved: The disk is full\.$/);
    await page.evaluate(() => (window.fileStandIn.full = false));
    await press(page, 'Save Log…');
    const { entries } = await savedLog(page, 1);
    assert.deepEqual(
        entries.map((entry) => [entry.station, entry.operator, entry.serial, entry.attempt]),
        [
            ['Bench 4', 'R. Ames', 'SN-0001', undefined],
            ['Bench 4', 'R. Ames', 'SN-0001', 2],
        ],
    );
    // Each line is that unit's backup: the values it held before the store.
    assert.equal(entries[0].before.length, 51);
    assert.equal(entries[0].before[5], 9);
    assert.equal(entries[1].before[1], 3);
    const digest = createHash('sha256').update(Buffer.from(bytes)).digest('hex');
    assert.ok(entries.every((entry) => entry.file_sha256 === digest));
    await press(page, 'Stop');
    await byName(page, 'Back to the start', 'button');
    await finish(page);
});

test('the log outlives the tab: leaving asks, and the next visit offers the lines not saved', async () => {
    const page = await openPage(browser);
    const { lobby } = await lobbyFile(page);
    await benchOn(page, { name: 'lobby.json', text: JSON.stringify(lobby) });
    await modulesDone(page, 1);
    await press(page, 'Stop');
    await press(page, 'Back to the start');
    await until(page, 'log-offer-text', /^One station log line was not saved to a file\.$/);
    // Leaving with it asks first; the next visit offers it, and saves it.
    const asked = [];
    page.on('dialog', (dialog) => {
        asked.push(dialog.type());
        dialog.accept();
    });
    await page.reload();
    assert.deepEqual(asked, ['beforeunload']);
    await until(page, 'log-offer-text', /^One station log line was not saved to a file\.$/);
    await press(page, 'Save Them…');
    const { entries, text } = await savedLog(page, 1);
    assert.equal(entries.length, 1);
    assert.ok(text.endsWith('\n'));
    await page.waitForFunction(() => document.getElementById('log-offer').hidden);
    await page.reload();
    await page.waitForFunction(() => !document.getElementById('bench-start').disabled);
    assert.equal(await page.$eval('#log-offer', (offer) => offer.hidden), true);
    assert.deepEqual(asked, ['beforeunload'], 'asked again with every line saved');
    await finish(page);
});

test('the bench waits out a store that an earlier run left unfinished before its first poll', async () => {
    const page = await openPage(browser);
    const { lobby } = await lobbyFile(page);
    await page.evaluate(() => localStorage.setItem('vindle-store:USB 0403:6001', 'left behind'));
    const count = await page.evaluate(() => window.serialStandIn.written().length);
    const opened = await page.evaluate(() => performance.now());
    await benchOn(page, { name: 'lobby.json', text: JSON.stringify(lobby) });
    await modulesDone(page, 1);
    const first = await page.evaluate((n) => window.serialStandIn.log.filter((e) => e.out)[n].t, count);
    assert.ok(first - opened >= 1000, `the first poll went out ${first - opened} ms after Set up many modules`);
    await press(page, 'Stop');
    await byName(page, 'Back to the start', 'button');
    await finish(page);
});

test('a file the bench cannot store is refused before any port is asked for, by its bytes', async () => {
    const page = await openPage(browser);
    const { lobby } = await lobbyFile(page);
    const text = JSON.stringify(lobby);
    const latin1 = JSON.stringify({ ...lobby, comment: 'Zürich' });
    for (const [name, file] of [
        [
            'broken.json',
            { text: JSON.stringify({ format: 'vindle-configuration', version: 1, module: {}, locations: {} }) },
        ],
        ['utf16.json', { bytes: [0xff, 0xfe, ...Buffer.from(text, 'utf16le')] }],
        ['latin1.json', { bytes: [...Buffer.from(latin1, 'latin1')] }],
    ]) {
        await page.evaluate(() => (document.getElementById('status').textContent = ''));
        await page.evaluate((f) => (window.fileStandIn.toOpen = f), { name, ...file });
        await press(page, 'Set up many modules');
        await page.waitForFunction((n) => document.getElementById('status').textContent.startsWith(n), {}, name);
    }
    assert.equal(await page.evaluate(() => window.serialStandIn.requests.length), 0);
    await finish(page);
});
