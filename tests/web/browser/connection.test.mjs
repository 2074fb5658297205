// The page's connection: the ports given before, the connection line,
// Disconnect, an adapter pulled out, edits not yet stored or saved, the page
// without a secure context, the demo's label, and what Open says of a file.
//   node --test tests/web/browser/connection.test.mjs      (after scripts/web.sh)
import assert from 'node:assert/strict';
import {
    answerMessage,
    byName,
    finish,
    mainWindowReady,
    openPage,
    press,
    savedValues,
    sharedBrowser,
    startBrowser,
    startedPage,
    test,
} from './harness.mjs';

const browser = sharedBrowser();

const kAgain = 'Connect to USB 0403:6001 again';
const kDebounce = 'Select a Debounce Time for Digital Inputs (Default is 25)';
const standIn = (page, name) => page.evaluate((key) => window.serialStandIn[key], name);
const connectionLine = (page) =>
    page.$eval('#connection-line', (line) => (line.checkVisibility() ? line.textContent : null));
const startShown = (page) =>
    page.waitForFunction(
        () => !document.getElementById('start').hidden && !document.getElementById('connect').disabled,
    );

test('a port given before is offered again; the chooser lists USB serial adapters unless asked for any', async () => {
    const page = await startedPage(browser);
    assert.equal(await connectionLine(page), 'Connected to USB 0403:6001 at 38400 bit/s');
    const [first] = await standIn(page, 'requests');
    assert.ok(first.filters.some((filter) => filter.usbVendorId === 0x0403));
    await press(page, 'Close');
    await press(page, kAgain);
    await mainWindowReady(page);
    assert.equal((await standIn(page, 'requests')).length, 1, 'no chooser for a port given before');
    await press(page, 'Close');
    await press(page, 'Another serial port…');
    await mainWindowReady(page);
    assert.deepEqual((await standIn(page, 'requests')).at(-1), {});
    await press(page, 'Close');
    await startShown(page);

    // A returning visit: the origin holds the port from an earlier one.
    await page.evaluateOnNewDocument(() => (window.serialStandIn.granted = true));
    await page.reload();
    await press(page, kAgain);
    await mainWindowReady(page);
    assert.deepEqual(await standIn(page, 'requests'), []);
    await finish(page);
});

test('the connection line follows the bit rate, and the demo is labelled as one', async () => {
    const page = await startedPage(browser);
    await press(page, 'Test Configuration');
    await (await byName(page, '19,200', 'radio')).click();
    await page.waitForFunction(() => document.getElementById('connection-line').textContent.includes('19200'));
    assert.equal(await connectionLine(page), 'Connected to USB 0403:6001 at 19200 bit/s');
    await press(page, 'Disconnect');
    await startShown(page);
    assert.equal(await connectionLine(page), null);

    await press(page, 'Try without a module');
    await mainWindowReady(page);
    assert.equal(await connectionLine(page), 'Demo: an emulated module');
    await press(page, 'End the Demo');
    await startShown(page);
    await finish(page);
});

test('Disconnect during a store waits until the store is over, then lets the port go', async () => {
    // A module at 1200 bit/s takes a while to acknowledge 51 locations.
    const page = await startedPage(browser, { args: ['--baud', '1200'] });
    // A file opened, whose last location differs from the module's, and a
    // typed edit, which the store takes: nothing is left to ask about.
    const { file } = await savedValues(page);
    file.locations[50].value = 1 - file.locations[50].value;
    await page.evaluate((text) => (window.fileStandIn.toOpen = { name: 'next.json', text }), JSON.stringify(file));
    await press(page, 'Open Configuration…');
    await mainWindowReady(page);
    await (await byName(page, kDebounce, 'slider')).focus();
    await page.keyboard.press('ArrowRight');
    const shown = Array.from({ length: 51 }, (_, i) => file.locations[i].value + (i === 1 ? 1 : 0));
    await press(page, 'Store Configuration');
    await page.waitForFunction(() => window.serialStandIn.written().join().includes('253,254'));
    await press(page, 'Disconnect');
    const said = await page.$eval('#connection-said', (element) => element.textContent);
    assert.equal(said, 'Disconnecting once the module has finished…');
    // Pressed again it does nothing more; the focus stays on it.
    await press(page, 'Disconnect');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'disconnect');
    await startShown(page);
    // The module holds what the windows showed, to the last location.
    assert.deepEqual(await page.evaluate(() => window.serialStandIn.configuration()), shown);
    assert.equal(shown[50], file.locations[50].value);
    assert.equal(await page.$('dialog.message'), null, 'no question after the store took the edit');
    // The focus is on the start's first choice, not lost to the page.
    assert.equal(await page.evaluate(() => document.activeElement.textContent), kAgain);
    await finish(page);
});

test('an adapter pulled out during the read is said once, with no data monitor, and the start comes back', async () => {
    const page = await openPage(browser, { args: ['--baud', '1200'] });
    await press(page, 'Connect to a module');
    await page.waitForFunction(() => window.serialStandIn.log.some((entry) => !entry.out));
    await page.evaluate(() => window.serialStandIn.unplug());
    const said = await answerMessage(page);
    assert.match(said, /^The serial port USB 0403:6001 stopped working: The device has been lost\./);
    assert.doesNotMatch(said, /only in part/);
    // The run is over: nothing more can be said or shown.
    await startShown(page);
    assert.equal(await page.$('dialog.message'), null, 'a second message');
    assert.equal(await page.$('dialog[data-window="RS232Packets"]'), null);
    // Plugged in again once the module has finished the reply it was
    // sending, it is offered again.
    await page.waitForFunction(() => !window.serialStandIn.sending());
    await page.evaluate(() => window.serialStandIn.plugIn());
    await press(page, kAgain);
    await mainWindowReady(page);
    await finish(page);
});

test('edits neither stored nor saved are asked about before the main window closes or the page goes', async () => {
    const page = await startedPage(browser);
    // Read only: nothing to ask about.
    await press(page, 'Close');
    await startShown(page);
    // What has taken the edit (debounce, location 1) once it is done.
    const takers = {
        'Save Configuration As…': () => window.fileStandIn.saved.length > 0,
        'Store Configuration': () =>
            window.serialStandIn.configuration()[1] === 26 &&
            !document.querySelector('dialog[data-window="Working"]')?.open,
    };
    for (const kept of [null, ...Object.keys(takers)]) {
        await press(page, kAgain);
        await mainWindowReady(page);
        await (await byName(page, kDebounce, 'slider')).focus();
        await page.keyboard.press('ArrowRight');
        if (kept) {
            await press(page, kept);
            await page.waitForFunction(takers[kept]);
            await mainWindowReady(page);
            await press(page, 'Close');
            await startShown(page);
            continue;
        }
        await press(page, 'Close');
        await press(page, 'Cancel');
        await mainWindowReady(page);
        const asked = new Promise((resolve) => page.once('dialog', resolve));
        await page.close({ runBeforeUnload: true });
        const dialog = await asked;
        assert.equal(dialog.type(), 'beforeunload');
        await dialog.dismiss();
        await press(page, 'Close');
        await press(page, 'Close Without Storing');
        await startShown(page);
    }
    // Disconnect through the question: the focus goes to the start's first
    // choice, not to the page.
    await press(page, kAgain);
    await mainWindowReady(page);
    await (await byName(page, kDebounce, 'slider')).focus();
    await page.keyboard.press('ArrowRight');
    await press(page, 'Disconnect');
    await (await page.waitForSelector('dialog.message ::-p-aria(Disconnect[role="button"])')).click();
    await page.waitForFunction(() => document.getElementById('start').contains(document.activeElement));
    assert.equal(await page.evaluate(() => document.activeElement.textContent), kAgain);
    await finish(page);
});

test('without a secure context the page says that it needs HTTPS', async () => {
    // Plain http on a host other than this computer's loopback names.
    const insecure = await startBrowser({ args: ['--host-resolver-rules=MAP vindle.test 127.0.0.1'] });
    try {
        const origin = insecure.origin.replace('localhost', 'vindle.test');
        // Chromium offers no navigator.serial there.
        const page = await openPage(insecure, { origin, hideSerial: true });
        assert.equal(await page.evaluate(() => window.isSecureContext), false);
        await press(page, 'Connect to a module');
        const said = await page.$eval('#status', (status) => status.textContent);
        assert.match(said, /only over HTTPS/);
        // The browser's own note that the origin is not trustworthy.
        page.errors = page.errors.filter((error) => !/origin was untrustworthy/.test(error));
        await finish(page);
    } finally {
        await insecure.close();
    }
});

test('the bench demo is labelled as one', async () => {
    const page = await startedPage(browser, {}, 'Try without a module');
    await press(page, 'Save Configuration As…');
    await page.waitForFunction(() => window.fileStandIn.saved.length > 0);
    await press(page, 'Close');
    await startShown(page);
    await page.evaluate(() => (window.fileStandIn.toOpen = window.fileStandIn.saved[0]));
    await press(page, 'Try many modules without one');
    await byName(page, 'Stop', 'button');
    assert.equal(
        await page.$eval('#bench-demo-label', (label) => label.checkVisibility() && label.textContent),
        'Demo: emulated modules, no serial port',
    );
    await finish(page);
});

test('Open says what is wrong with a file in plain words, and when it is from another kind of module', async () => {
    const page = await startedPage(browser, {}, 'Try without a module');
    await press(page, 'Save Configuration As…');
    await page.waitForFunction(() => window.fileStandIn.saved.length > 0);
    const saved = await page.evaluate(() => window.fileStandIn.saved[0].text);
    const other = JSON.parse(saved);
    other.module.device_id_1 += 1;
    for (const { file, bytes, said } of [
        {
            file: `${saved}\0${saved}`,
            said: /^The file is not valid JSON: it holds a NUL byte at line \d+, column 1\.$/,
        },
        {
            file: saved.slice(0, 200),
            said: /^The file is not valid JSON: it ends in the middle of its text, at line \d+, column \d+\.$/,
        },
        {
            file: JSON.stringify(other),
            said: /^This file was saved from another kind of Vindle Module \(Device ID #1: \d+\)/,
        },
        // The file's bytes as they are, decoded as the command line decodes
        // them: UTF-8 only.
        {
            bytes: [0xff, 0xfe, ...Buffer.from(saved, 'utf16le')],
            said: /^The file is not valid JSON: /,
        },
        {
            bytes: [...Buffer.from(JSON.stringify({ ...other, comment: 'Zürich' }), 'latin1')],
            said: /^The file is not valid JSON: /,
        },
    ]) {
        await page.evaluate(
            (text, bytes) => (window.fileStandIn.toOpen = { name: 'other.json', text, bytes }),
            file,
            bytes,
        );
        await press(page, 'Open Configuration…');
        assert.match(await answerMessage(page), said);
    }
    await finish(page);
});
