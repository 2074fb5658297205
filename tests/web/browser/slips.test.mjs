// Slips that leave the page looking right: the data monitor's lines against
// the bytes the module sent, bytes written around a change of bit rate, what
// a message box lets through while it is open (clicks, shortcuts), when the
// port is let go, when the session has caught up with the page, and an edit
// made just before the run ends.
//   node --test tests/web/browser/slips.test.mjs      (after scripts/web.sh)
import assert from 'node:assert/strict';
import {
    answerMessage,
    byName,
    finish,
    mainWindowReady,
    openPage,
    press,
    settled,
    sharedBrowser,
    startedPage,
    test,
} from './harness.mjs';

const browser = sharedBrowser();

const dialog = (name) => `dialog[data-window="${name}"]`;
const startShown = (page) =>
    page.waitForFunction(() => {
        const connect = document.getElementById('connect');
        return !document.getElementById('start').hidden && !connect.disabled;
    });

// A store the main window refuses: its message box is open.
async function refusedStore(page) {
    const q4t = await byName(page, 'Q4T Device Number:', 'textbox');
    await q4t.click({ clickCount: 3 });
    await page.keyboard.type('999');
    await press(page, 'Store Configuration');
    await page.waitForSelector('dialog.message');
}

// The monitor's line for a byte, with "Expect a Header Byte" checked and
// no keys expected: its bits, its value and, for 254, the header's marker.
function monitorLine(byte) {
    const value = ` ${byte}`;
    const bits = `${byte.toString(2).padStart(8, '0')}>    `;
    const padded = value.padEnd(value.length < 4 ? 8 - value.length : 4);
    return bits + padded + (byte === 254 ? '   <HEADER DETECTED' : '');
}

test('the data monitor shows the bytes received, newest first, before and after it is full', async () => {
    // The read finds no module, and the monitor opens with nothing to show.
    const page = await openPage(browser, { args: ['--silent'] });
    await press(page, 'Connect to a module');
    await answerMessage(page);
    await byName(page, 'Examine Data Received from Remote Device.', 'dialog');
    const received = () =>
        page.evaluate(() => window.serialStandIn.log.filter((entry) => !entry.out).map((entry) => entry.byte));
    assert.deepEqual(await received(), []);
    const capacity = 5000;
    // A module running behind the adapter: a header and one input bank a
    // packet, a thousand packets a second, until it falls silent after
    // `bytes` in all.
    for (const bytes of [1500, capacity + 1000]) {
        await page.evaluate(() =>
            window.serialStandIn.swap(['--running', '--traffic', 'header', '--packet-rate', '1000']),
        );
        await page.waitForFunction(
            (n) => window.serialStandIn.log.filter((entry) => !entry.out).length >= n,
            { timeout: 20000 },
            bytes,
        );
        await page.evaluate(() => window.serialStandIn.swap(['--silent']));
        // Silent now: what came is all that comes, and the monitor shows it
        // once it has taken every byte (or the wait gives up and the lines
        // below say what is wrong).
        const expected = (await received()).reverse().slice(0, capacity).map(monitorLine);
        await page
            .waitForFunction(
                (selector, text) => document.querySelector(selector).value === text,
                { timeout: 20000 },
                `${dialog('RS232Packets')} textarea`,
                expected.join('\n'),
            )
            .catch(() => {});
        const shown = await page.$eval(`${dialog('RS232Packets')} textarea`, (text) => text.value);
        const lines = shown.split('\n');
        const wrong = lines.findIndex((line, i) => line !== expected[i]);
        const what = `after ${bytes} bytes line ${wrong} is "${lines[wrong]}"`;
        assert.equal(wrong, -1, `${what}, not "${expected[wrong] ?? ''}"`);
        assert.equal(lines.length, expected.length, `after ${bytes} bytes`);
    }
    await finish(page);
});

test('bytes still being written when the bit rate changes go out first, none lost', async () => {
    const page = await openPage(browser, { args: ['--silent'] });
    const result = await page.evaluate(async () => {
        const { WebSerialLine } = await import('./lines.mjs');
        const line = new WebSerialLine(await navigator.serial.requestPort());
        await line.open();
        for (let byte = 1; byte <= 20; ++byte) line.send(byte);
        line.setBitRate(19200);
        for (let byte = 21; byte <= 40; ++byte) line.send(byte);
        await line.close();
        return { written: window.serialStandIn.written(), rates: window.serialStandIn.opens.map((o) => o.baudRate) };
    });
    assert.deepEqual(
        result.written,
        Array.from({ length: 40 }, (_, i) => i + 1),
    );
    assert.deepEqual(result.rates, [38400, 19200]);
    await finish(page);
});

test('Escape answers a message box as OK or the last answer does, and the windows go on', async () => {
    const cases = [
        // [what opens the box, what shows the page goes on]
        ['a refused store', refusedStore, async (page) => refusedStore(page).then(() => answerMessage(page))],
        [
            'unsaved edits asked about as the main window closes',
            async (page) => {
                await (await byName(page, 'Q4T Device Number:', 'textbox')).type('1');
                await page.$eval(`${dialog('Main')} .close`, (button) => button.click());
                await page.waitForSelector('dialog.message');
            },
            async (page) => press(page, 'Store Configuration'),
        ],
    ];
    for (const [name, open, goOn] of cases) {
        const page = await startedPage(browser, {}, 'Try without a module');
        await open(page);
        await page.keyboard.press('Escape');
        await page.waitForFunction(() => !document.querySelector('dialog.message'), { timeout: 2000 });
        await mainWindowReady(page);
        await goOn(page);
        await mainWindowReady(page);
        assert.equal(await page.$('dialog.message'), null, name);
        await finish(page);
    }
});

test('a click queued behind a message box is not taken; an adapter pulled out while one is open is said', async () => {
    const page = await startedPage(browser);
    // A refused store and a click queued behind it, before the core takes
    // either: the click was for a window that now waits for the answer.
    await (await byName(page, 'Q4T Device Number:', 'textbox')).click({ clickCount: 3 });
    await page.keyboard.type('999');
    const motion = await page.$(`${dialog('Main')} [data-name="MotionInputs"] input`);
    await page.$eval(
        'aria/Store Configuration[role="button"]',
        (store, box) => {
            store.click();
            box.click();
        },
        motion,
    );
    await page.waitForSelector('dialog.message');
    const motionShown = () => page.$eval(dialog('MotionTimes'), (d) => d.open).catch(() => false);
    await settled(page);
    assert.equal(await motionShown(), false, 'the click behind the message was taken while it was open');
    await answerMessage(page);
    await settled(page);
    assert.equal(await motionShown(), false, 'the click behind the message was taken after it');
    assert.equal(await motion.evaluate((box) => box.checked), false);

    await refusedStore(page);
    await page.evaluate(() => window.serialStandIn.unplug());
    await page.waitForFunction(() =>
        [...document.querySelectorAll('dialog.message p')].some((p) => / stopped working: /.test(p.textContent)),
    );
    await page.waitForFunction(() => document.querySelectorAll('dialog.message').length === 1);
    const said = await answerMessage(page);
    assert.match(said, /^The serial port USB 0403:6001 stopped working: The device has been lost\./);
    await startShown(page);
    await finish(page);
});

test('the port is let go before the start comes back: after a slow close, and after a store cut short', async () => {
    // A module at 1200 bit/s that refuses the store at location 7 and goes
    // on taking bytes as values until its store time-out.
    const page = await startedPage(browser, { args: ['--baud', '1200', '--wrong-echo', '7'] });
    // An adapter whose driver takes half a second to close.
    await page.evaluate(() => (window.serialStandIn.closeDelay = 500));
    await press(page, 'Disconnect');
    await startShown(page);
    await press(page, 'Connect to a module');
    await page.waitForFunction(
        (main) => document.querySelector(main)?.open || document.getElementById('status').textContent,
        {},
        dialog('Main'),
    );
    assert.equal(await page.$eval('#status', (status) => status.textContent), '');
    await mainWindowReady(page);

    // A store cut short by its refusal: the module takes bytes as values
    // until its store time-out, so the port is kept until then, however soon
    // Disconnect comes.
    await page.evaluate(() => (window.serialStandIn.closeDelay = 0));
    await press(page, 'Store Configuration');
    await answerMessage(page);
    await press(page, 'Disconnect');
    await startShown(page);
    const { cut, closed, noted } = await page.evaluate(() => ({
        cut: window.serialStandIn.log.filter((entry) => entry.out).at(-1).t,
        closed: window.serialStandIn.closes.at(-1),
        noted: localStorage.getItem('vindle-store:USB 0403:6001'),
    }));
    assert.ok(closed - cut >= 1000, `the port was let go ${closed - cut} ms after the store was cut`);
    assert.equal(noted, null, 'the store is still noted as under way');
    await finish(page);
});

test('the session settles only once the core has taken every action queued, also when it waits with some left', async () => {
    const page = await openPage(browser);
    const left = await page.evaluate(async () => {
        const { VindleSession } = await import('./vindle-session.mjs');
        // A core that takes one action a turn and yields between turns, as a
        // long exchange does with the page's actions still queued.
        const module = {
            ccall() {
                return new Promise((ended) => {
                    const page = module.vindlePage;
                    const turn = () => {
                        const action = page.takeAction();
                        if (action?.action === 'end') {
                            page.ended();
                            ended();
                        } else page.wait(action ? 0 : Infinity, turn);
                    };
                    turn();
                });
            },
        };
        const session = new VindleSession(module, { send() {} });
        const run = session.start();
        for (let i = 0; i < 3; ++i) session.mouseOver('Main');
        await session.settled();
        const queued = session.queuedActions.length;
        session.end();
        await run;
        return queued;
    });
    assert.equal(left, 0);
    await finish(page);
});

test('an edit typed just before the run is ended is asked about', async () => {
    // What ends the run: the corner's button, or the main window's close button.
    for (const end of ['#disconnect', 'dialog[data-window="Main"] .close']) {
        const page = await startedPage(browser, {}, 'Try without a module');
        // Typed, and the run ended, before the core has a turn.
        await page.$eval(
            'aria/Q4T Device Number:[role="textbox"]',
            (box, selector) => {
                box.value = '12';
                box.dispatchEvent(new Event('input', { bubbles: true }));
                document.querySelector(selector).click();
            },
            end,
        );
        const box = await page.waitForSelector('aria/[role="alertdialog"]', { timeout: 5000 });
        assert.match(await box.evaluate((e) => e.querySelector('p').textContent), /neither stored in the Vindle/, end);
        await page.keyboard.press('Escape');
        await mainWindowReady(page);
        await finish(page);
    }
});

test('the shortcuts do nothing while a message box waits for an answer', async () => {
    // Each box, and how it is opened.
    const boxes = [
        ['a refused store', refusedStore],
        [
            'the question before the run ends',
            async (page) => {
                await (await byName(page, 'Q4T Device Number:', 'textbox')).type('1');
                await press(page, 'End the Demo');
                await page.waitForSelector('dialog.message');
            },
        ],
    ];
    const page = await startedPage(browser, {}, 'Try without a module');
    // Each file chooser counts the times it is asked for.
    await page.evaluate(() => {
        window.chosen = { open: 0, save: 0 };
        for (const [picker, kind] of [
            ['showOpenFilePicker', 'open'],
            ['showSaveFilePicker', 'save'],
        ]) {
            const pick = window[picker];
            window[picker] = (...args) => {
                ++window.chosen[kind];
                return pick(...args);
            };
        }
    });
    const shortcut = async (key) => {
        await page.keyboard.down('Control');
        await page.keyboard.press(key);
        await page.keyboard.up('Control');
    };
    for (const [name, open] of boxes) {
        await open(page);
        await shortcut('o');
        await shortcut('s');
        // Once the core has taken what the keys asked for, if anything.
        await settled(page);
        assert.deepEqual(await page.evaluate(() => window.chosen), { open: 0, save: 0 }, name);
        await page.keyboard.press('Escape');
        await mainWindowReady(page);
    }
    // Without a box they work (on a number the main window can keep).
    const q4t = await byName(page, 'Q4T Device Number:', 'textbox');
    await q4t.click({ clickCount: 3 });
    await page.keyboard.type('9');
    await shortcut('o');
    await shortcut('s');
    await page.waitForFunction(() => window.chosen.open === 1 && window.chosen.save === 1);
    await finish(page);
});
