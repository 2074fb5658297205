// The page in headless chromium, driven by what a person sees and a screen
// reader announces, with a module on the serial stand-in.
//   node --test tests/web/browser/      (after scripts/web.sh)
import assert from 'node:assert/strict';
import { serveSite } from '../../../scripts/serve-site.mjs';
import {
    answerMessage,
    byName,
    finish,
    mainWindowReady,
    openPage,
    press,
    savedValues,
    settled,
    siteDir,
    sharedBrowser,
    startedPage,
    test,
} from './harness.mjs';

const browser = sharedBrowser();

const kDebounce = 'Select a Debounce Time for Digital Inputs (Default is 25)';
const kQ4T = 'Q4T Device Number:';

// Bytes the page has written to the module so far.
const written = (page) => page.evaluate(() => window.serialStandIn.written().length);
const held = (page) => page.evaluate(() => window.serialStandIn.configuration());
const valueOf = async (page, name, role) => (await byName(page, name, role)).evaluate((e) => e.value);

// No byte has gone out since, now that the core has taken everything and
// waits for the person.
async function quietAfter(page, count) {
    await settled(page);
    assert.equal(await written(page), count, 'bytes were sent after the failure');
}

test('start-up fills the windows with what the module holds', async () => {
    for (const start of [
        { button: 'Try without a module', debounce: '25', q4t: '0' },
        { button: 'Connect to a module', args: ['--set', '1=40', '--set', '5=9'], debounce: '40', q4t: '9' },
    ]) {
        const page = await startedPage(browser, { args: start.args }, start.button);
        assert.equal(await valueOf(page, kDebounce, 'slider'), start.debounce, start.button);
        assert.equal(await valueOf(page, kQ4T, 'textbox'), start.q4t, start.button);
        // Closing the main window ends the run and lets go of the port; the
        // next run opens it again.
        await press(page, 'Close');
        await press(page, start.button);
        await mainWindowReady(page);
        await finish(page);
    }
});

test('a start that fails says why, and the page still offers the demo', async () => {
    for (const start of [
        { browser: 'without Web Serial', hideSerial: true, said: /it has no Web Serial/ },
        { browser: 'chooser cancelled', standIn: { cancelChooser: true }, said: /^$/ },
        {
            browser: 'port open elsewhere',
            standIn: { openError: 'Failed to open serial port.' },
            said: /^The serial port USB 0403:6001 could not be opened: Failed to open serial port\.$/,
        },
    ]) {
        const page = await openPage(browser, { hideSerial: start.hideSerial });
        await page.evaluate((flags) => Object.assign(window.serialStandIn, flags), start.standIn ?? {});
        await press(page, 'Connect to a module');
        // The start offers its choices again once the attempt is over.
        await page.waitForFunction(() => !document.getElementById('connect').disabled);
        const said = await page.$eval('[role="status"]', (status) => status.textContent);
        assert.match(said, start.said, start.browser);
        await press(page, 'Try without a module');
        await mainWindowReady(page);
        await finish(page);
    }
});

test('changes by keyboard alone are stored as the page shows them', async () => {
    const page = await startedPage(browser);
    await (await byName(page, kDebounce, 'slider')).focus();
    for (let i = 0; i < 5; ++i) await page.keyboard.press('ArrowRight');
    await (await byName(page, kQ4T, 'textbox')).focus();
    await page.keyboard.press('Backspace');
    await page.keyboard.type('77');
    await (await byName(page, 'Normally Closed', 'radio')).focus();
    await page.keyboard.press('Space');
    // The keyboard's focus shows the help the pointer would.
    await (await byName(page, 'Store Configuration', 'button')).focus();
    await page.waitForFunction(() => document.body.textContent.includes('This button stores the above settings'));
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => window.serialStandIn.written().join().includes('253,254'));
    await mainWindowReady(page);

    // The keyboard's focus is back where it was.
    await page.waitForFunction(() => document.activeElement.getAttribute('aria-label') === 'Store Configuration');
    const shown = { debounce: await valueOf(page, kDebounce, 'slider'), q4t: await valueOf(page, kQ4T, 'textbox') };
    assert.deepEqual(shown, { debounce: '30', q4t: '77' });
    const { values } = await savedValues(page);
    assert.deepEqual(values, await held(page));
    assert.equal(values[1], 30);
    assert.equal(values[5], 77);
    await finish(page);
});

test('a control is announced by the caption it shows, also once the caption changes', async () => {
    const page = await startedPage(browser, { args: ['--set', '10=1'] });
    // A run of blanks is announced as one.
    const slider = await byName(page, 'Lower Limit = 75 1.47 Volts', 'slider');
    await slider.focus();
    await page.keyboard.press('ArrowRight');
    const renamed = await byName(page, 'Lower Limit = 76 1.49 Volts', 'slider');
    assert.equal(await renamed.evaluate((e) => e.value), '76');
    await finish(page);
});

test('a refused store sends nothing after the refusal', async () => {
    for (const refusal of [
        // The module echoes location 5 wrongly.
        { args: ['--replace', 'store:5:99'], expected: /^Storage Error/ },
        // A text that is no byte is refused before it is sent.
        { text: '300', expected: /Q4T|300|255/ },
    ]) {
        const page = await startedPage(browser, { args: refusal.args });
        if (refusal.text) {
            const box = await byName(page, kQ4T, 'textbox');
            await box.click({ clickCount: 3 });
            await page.keyboard.type(refusal.text);
        }
        const before = await held(page);
        await press(page, 'Store Configuration');
        const text = await answerMessage(page);
        assert.match(text, refusal.expected);
        await quietAfter(page, await written(page));
        if (refusal.text) assert.deepEqual((await held(page))[5], before[5]);
        // A read within the module's store time-out waits for it to give the
        // store up: its command is not taken for the values of 6 and 7.
        await press(page, 'Read Configuration');
        await mainWindowReady(page);
        assert.deepEqual((await held(page)).slice(6), before.slice(6));
        await finish(page);
    }
});

test('a silent module: six passes, the message, then the data monitor frames its packets', async () => {
    const page = await openPage(browser, { args: ['--running', '--packet-rate', '50'] });
    await press(page, 'Connect to a module');
    await answerMessage(page);
    const bytes = await page.evaluate(() => window.serialStandIn.written());
    const reads = bytes.filter((byte, i) => byte === 252 && bytes[i - 1] === 253).length;
    assert.equal(reads, 6);

    await byName(page, 'Examine Data Received from Remote Device.', 'dialog');
    const lines = () => page.evaluate(() => document.querySelector('textarea').value.split('\n'));
    await page.waitForFunction(() => document.querySelector('textarea').value.includes('HEADER DETECTED'));
    await (await byName(page, 'The Vindle Module is Sending Keys', 'checkbox')).click();
    await page.waitForFunction(() => /KEY/i.test(document.querySelector('textarea').value));

    // A new bit rate opens the port again; the lines shown stay.
    const shown = (await lines()).length;
    await (await byName(page, '19,200', 'radio')).click();
    await page.waitForFunction(() => window.serialStandIn.opens.at(-1).baudRate === 19200);
    await page.waitForFunction((n) => document.querySelector('textarea').value.split('\n').length > n, {}, shown);
    await finish(page);
});

test('the adapter pulled out during a store: the message, and nothing sent after it', async () => {
    const page = await startedPage(browser);
    const count = await written(page);
    await page.evaluate(() => window.serialStandIn.unplugAfter(40));
    await press(page, 'Store Configuration');
    const messages = [await answerMessage(page)];
    assert.match(messages[0], /^The serial port USB 0403:6001 stopped working: The device has been lost\./);
    assert.match(messages[0], /only in part/);
    assert.equal(await written(page), count + 40);
    await quietAfter(page, count + 40);
    assert.equal(await page.evaluate(() => window.serialStandIn.lateWrites), 0);
    await finish(page);
});

test('leaving the page during a store is asked about first', async () => {
    // A module at 1200 bit/s takes a while to acknowledge 51 locations.
    // Store is pressed as soon as the main window takes input: the line is
    // free by then, also after the slow identity of the start-up's read.
    const page = await startedPage(browser, { args: ['--baud', '1200'] });
    await press(page, 'Store Configuration');
    await page.waitForFunction(() => window.serialStandIn.written().join().includes('253,254'));
    const asked = new Promise((resolve) => page.once('dialog', resolve));
    await page.close({ runBeforeUnload: true });
    const dialog = await asked;
    assert.equal(dialog.type(), 'beforeunload');
    await dialog.dismiss();
    await mainWindowReady(page);
    await finish(page);
});

test('a store under way is noted in the origin for the next run, which waits out one left behind', async () => {
    const key = 'vindle-store:USB 0403:6001';
    const noted = (page) => page.evaluate((k) => localStorage.getItem(k) !== null, key);
    const page = await startedPage(browser, { args: ['--baud', '1200'] });
    assert.equal(await noted(page), false);
    await press(page, 'Store Configuration');
    await page.waitForFunction(() => window.serialStandIn.written().join().includes('253,254'));
    assert.equal(await noted(page), true);
    await mainWindowReady(page);
    assert.equal(await noted(page), false);

    // A run that died in the middle of a store left its note: the next
    // sends nothing until the module's store time-out has passed.
    await press(page, 'Close');
    await page.evaluate((k) => localStorage.setItem(k, 'left behind'), key);
    const opened = await page.evaluate(() => performance.now());
    const count = await written(page);
    await press(page, 'Connect to a module');
    await mainWindowReady(page);
    const first = await page.evaluate((n) => window.serialStandIn.log.filter((e) => e.out)[n].t, count);
    assert.ok(first - opened >= 1000, `the first byte went out after ${first - opened} ms`);
    assert.equal(await noted(page), false);
    await finish(page);
});

test('a file opened then saved holds what was opened, and the module is not touched', async () => {
    const page = await startedPage(browser);
    const { file } = await savedValues(page);
    file.locations[1].value = 200;
    file.locations[5].value = 12;
    const count = await written(page);
    await page.evaluate((text) => {
        window.fileStandIn.toOpen = { name: 'vindle-a.json', text };
    }, JSON.stringify(file));
    await press(page, 'Open Configuration…');
    await page.waitForFunction(
        (name) => document.querySelector(`[aria-label="${name}"]`)?.value === '200',
        {},
        kDebounce,
    );
    const again = await savedValues(page);
    assert.deepEqual(again.file.locations, file.locations);
    assert.equal(await written(page), count);

    // A broken file and one too large to be a configuration are refused.
    for (const [text, said] of [
        ['{', /./],
        [' '.repeat(1100000), /^Cannot read big\.json: it is larger than 1048576 bytes$/],
    ]) {
        await page.evaluate(
            (toOpen) => {
                window.fileStandIn.toOpen = toOpen;
            },
            { name: 'big.json', text },
        );
        await press(page, 'Open Configuration…');
        assert.match(await answerMessage(page), said);
    }
    assert.equal(await valueOf(page, kDebounce, 'slider'), '200');

    // A save that fails is said.
    await page.evaluate(() => {
        window.fileStandIn.full = true;
    });
    await press(page, 'Save Configuration As…');
    assert.equal(await answerMessage(page), 'The file could not be used: The disk is full.');
    await finish(page);
});

test('at 1366×768 the footer buttons are in view without scrolling', async () => {
    for (const window of [
        {
            args: [],
            title: 'Varnel: Vindle Scanner Setup Utility FW001 www.varnel.example',
            buttons: ['Read Configuration', 'Store Configuration', 'Read Firmware Version'],
        },
        {
            args: ['--set', '10=1'],
            title: 'Analog Limiter Configuration',
            buttons: [
                'Manually Refresh All Current A/D Input Values (this lets you read current values to help you determine proper limits)',
            ],
        },
    ]) {
        const page = await startedPage(browser, { args: window.args });
        // The window in front, as a click on its title bar brings it.
        await (await byName(page, window.title, 'heading')).click({ offset: { x: 4, y: 4 } });
        for (const name of window.buttons) {
            const button = await byName(page, name, 'button');
            const seen = await button.evaluate((element) => {
                const box = element.getBoundingClientRect();
                const x = box.left + box.width / 2;
                const y = box.top + box.height / 2;
                return (
                    box.bottom <= innerHeight &&
                    box.right <= innerWidth &&
                    element.contains(document.elementFromPoint(x, y))
                );
            });
            assert.ok(seen, `${name} is out of view or covered`);
        }
        await finish(page);
    }
});

test('once visited the page opens without its host, and it can be installed as an app', async () => {
    const host = await serveSite(siteDir, 0);
    const page = await openPage(browser, { origin: `http://localhost:${host.address().port}/` });
    await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
    const cdp = await page.createCDPSession();
    // Each test's context is a private one, where nothing is installed.
    const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
    assert.deepEqual(
        installabilityErrors.filter((e) => e.errorId !== 'in-incognito'),
        [],
    );

    host.closeAllConnections();
    await new Promise((resolve) => host.close(resolve));
    await page.reload();
    await press(page, 'Try without a module');
    await mainWindowReady(page);
    await finish(page);
});
