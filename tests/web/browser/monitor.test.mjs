// The data monitor's own tools on the page: its lines with their times and
// in hex, Pause and Resume, Find (Ctrl+F, Enter), Save Lines… and a capture
// that holds every byte the port delivered.
//   node --test tests/web/browser/monitor.test.mjs      (after scripts/web.sh)
import assert from 'node:assert/strict';
import { answerMessage, byName, finish, openPage, press, sharedBrowser, test } from './harness.mjs';

const browser = sharedBrowser();
const lines = '[data-window="RS232Packets"] textarea';
const shownLines = (page) => page.$eval(lines, (text) => text.value.split('\n'));
const received = (page) =>
    page.evaluate(() => window.serialStandIn.log.filter((entry) => !entry.out).map((entry) => entry.byte));
const said = (page, pattern) =>
    page.waitForFunction(
        (source) =>
            new RegExp(source).test(
                document.querySelector('#desk > .visually-hidden[role="status"]')?.textContent ?? '',
            ),
        { timeout: 10000 },
        pattern.source,
    );
const labelled = (page, name) =>
    page.$$eval(
        '[data-window="RS232Packets"] [data-control]',
        (all, text) => (all.find((element) => element.textContent === text) ? text : null),
        name,
    );

test('the monitor shows times and hex, pauses without loss, finds bytes, saves its lines and captures every byte', async () => {
    const page = await openPage(browser, { args: ['--silent'] });
    await press(page, 'Connect to a module');
    await answerMessage(page);
    await byName(page, 'Examine Data Received from Remote Device.', 'dialog');
    await page.evaluate(() => window.serialStandIn.swap(['--running', '--traffic', 'header', '--packet-rate', '200']));
    await page.waitForFunction((selector) => document.querySelector(selector).value.split('\n').length > 40, {}, lines);

    // Hex, then times: every line shown changes, the old ones too.
    await (await byName(page, 'Its Bytes in Hex', 'checkbox')).click();
    await page.waitForFunction(
        (selector) => /^[01]{8}> {5}[0-9A-F]{2}/.test(document.querySelector(selector).value),
        {},
        lines,
    );
    await (await byName(page, 'The Time It Came', 'checkbox')).click();
    await page.waitForFunction(
        (selector) => /^\d\d:\d\d:\d\d\.\d{3} {2}[01]{8}/.test(document.querySelector(selector).value),
        {},
        lines,
    );
    assert.ok((await shownLines(page)).every((line) => /^\d\d:\d\d:\d\d\.\d{3} {2}[01]{8}> {5}[0-9A-F]{2}/.test(line)));

    // Pause holds the lines still, counts what comes, and Resume shows it.
    await press(page, 'Pause');
    await said(page, /^Paused/);
    const paused = await shownLines(page);
    await page.waitForFunction(() =>
        /^[1-9][\d,]* lines while paused$/.test(
            [...document.querySelectorAll('[data-window="RS232Packets"] [data-control]')]
                .map((e) => e.textContent)
                .find((t) => /while paused/.test(t)) ?? '',
        ),
    );
    assert.deepEqual(await shownLines(page), paused);
    await press(page, 'Resume');
    await said(page, /^Resumed with the [\d,]+ lines that came while paused$/);
    const resumed = await shownLines(page);
    assert.deepEqual(resumed.slice(resumed.length - paused.length), paused.slice(0, paused.length));

    // Ctrl+F goes to Find from anywhere in the window; Enter finds.
    await (await byName(page, 'Pause', 'button')).focus();
    await page.keyboard.down('Control');
    await page.keyboard.press('f');
    await page.keyboard.up('Control');
    assert.equal(await page.evaluate(() => document.activeElement.getAttribute('aria-label')), 'Find Bytes:');
    await page.keyboard.type('FE');
    await page.keyboard.press('Enter');
    await said(page, /^Line [\d,]+ of [\d,]+$/);
    const selected = await page.$eval(lines, (text) => text.value.slice(text.selectionStart, text.selectionEnd));
    assert.match(selected, /> {5}FE {5}<HEADER DETECTED$/);
    assert.ok(await labelled(page, 'Find Bytes:'));

    // A capture: every byte from its start, one JSON line per read.
    const before = (await received(page)).length;
    await press(page, 'Capture to File…');
    await said(page, /^Capturing every byte received to vindle-capture\.jsonl$/);
    await page.waitForFunction((n) => window.serialStandIn.log.filter((e) => !e.out).length > n + 600, {}, before);
    await page.evaluate(() => window.serialStandIn.swap(['--silent']));
    await new Promise((resolve) => setTimeout(resolve, 500));
    await press(page, 'Stop Capture');
    await said(page, /^Captured [\d,]+ bytes to vindle-capture\.jsonl$/);
    await page.waitForFunction(() => window.fileStandIn.contents['vindle-capture.jsonl']?.endsWith('}\n'));
    const capture = await page.evaluate(() => window.fileStandIn.contents['vindle-capture.jsonl']);
    const reads = capture
        .trimEnd()
        .split('\n')
        .map((line) => JSON.parse(line));
    assert.ok(
        reads.every((read) => /^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z$/.test(read.time) && read.bytes.length > 0),
    );
    const captured = reads.flatMap((read) => read.bytes);
    const all = await received(page);
    // What the capture holds is what the port delivered from its start to
    // its end, every byte once, in order.
    const from = all.length - captured.length;
    assert.ok(
        from >= before && captured.length > 300,
        `the capture holds bytes ${from} to ${all.length}, pressed at ${before}`,
    );
    const tail = all.slice(from);
    const wrong = captured.findIndex((byte, i) => byte !== tail[i]);
    assert.equal(
        wrong,
        -1,
        `byte ${wrong} of ${captured.length}: ${JSON.stringify(captured.slice(Math.max(wrong - 4, 0), wrong + 8))} vs ${JSON.stringify(tail.slice(Math.max(wrong - 4, 0), wrong + 8))}; reads ${JSON.stringify(reads.slice(0, 3))}, from ${from}, before ${before}`,
    );

    // Save Lines…: every line kept, oldest first, each with its time in UTC.
    await press(page, 'Save Lines…');
    await said(page, /^Saved [\d,]+ lines to vindle-monitor-lines\.txt$/);
    const saved = await page.evaluate(() => window.fileStandIn.contents['vindle-monitor-lines.txt']);
    const savedLines = saved.trimEnd().split('\n');
    assert.equal(savedLines.length, (await shownLines(page)).length);
    assert.ok(
        savedLines.every((line) => /^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z {2}[01]{8}> {5}[0-9A-F]{2}/.test(line)),
    );
    await finish(page);
});

test('a browser without the File System Access API says that it cannot capture', async () => {
    const page = await openPage(browser, { args: ['--silent'] });
    await page.evaluate(() => delete window.showSaveFilePicker);
    await press(page, 'Connect to a module');
    await answerMessage(page);
    await press(page, 'Capture to File…');
    assert.match(await answerMessage(page), /^Capture to File… needs a browser that can write to a file while it runs/);
    await finish(page);
});
