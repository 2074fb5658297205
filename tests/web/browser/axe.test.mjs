// axe-core's rules of WCAG 2.2 AA over every window of the page and over the
// bench, in the light colour scheme and the dark one. A violation fails the
// test unless kExceptions records it, with why it stands.
//   node --test tests/web/browser/axe.test.mjs      (after scripts/web.sh)
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import { createRequire } from 'node:module';
import {
    answerMessage,
    byName,
    finish,
    mainWindowReady,
    openPage,
    press,
    settled,
    sharedBrowser,
    test,
} from './harness.mjs';

const browser = sharedBrowser();
const axeSource = await readFile(createRequire(import.meta.url).resolve('axe-core/axe.min.js'), 'utf8');

// axe judges what is on the screen: on this one every window shows whole,
// none scrolls, and so every control is judged.
const kWholeWindows = { width: 1920, height: 1200 };

const kTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa'];

// Violations that stand, each {rule, where (a selector of the elements it
// may find), why}. None stands today.
const kExceptions = [];

const dialog = (name) => `dialog[data-window="${name}"]`;
const opened = async (page, name) => {
    await page.waitForSelector(`${dialog(name)}[open]`);
    await settled(page);
};
const click = (page, windowName, control) =>
    page.$eval(`${dialog(windowName)} [data-name="${control}"]`, (e) => (e.querySelector('input') ?? e).click());

// What axe finds on the page as it is now, less the exceptions: the rule,
// the element and what is wrong with it.
function violations(page) {
    return page.evaluate(
        async (tags, exceptions) => {
            const results = await window.axe.run(document, {
                runOnly: { type: 'tag', values: tags },
                resultTypes: ['violations'],
                elementRef: true,
            });
            return results.violations.flatMap((v) =>
                v.nodes
                    .filter((n) => !exceptions.some((e) => e.rule === v.id && n.element.matches(e.where)))
                    .map((n) => `${v.id}: ${n.target.join(' ')}: ${n.failureSummary}`),
            );
        },
        kTags,
        kExceptions,
    );
}

// Each state of the page in turn, from its start: what it is, and what a
// person does to bring it about. The file the demo saves is the bench's.
const kStates = [
    ['the start', (page) => page.waitForFunction(() => !document.getElementById('demo').disabled)],
    [
        'the main window',
        async (page) => {
            await press(page, 'Try without a module');
            await mainWindowReady(page);
            await press(page, 'Save Configuration As…');
            await page.waitForFunction(() => window.fileStandIn.saved.length === 1);
        },
    ],
    [
        'the motion detectors’ window',
        async (page) => {
            await click(page, 'Main', 'MotionInputs');
            await opened(page, 'MotionTimes');
        },
    ],
    [
        'the limiter',
        async (page) => {
            await click(page, 'Main', 'Mode(1)');
            await opened(page, 'Limiter');
        },
    ],
    [
        'the advanced options',
        async (page) => {
            await click(page, 'Main', 'RSDevice(5)');
            await settled(page);
            await click(page, 'Main', 'MoreOptions');
            await opened(page, 'Advanced');
        },
    ],
    [
        'a message box',
        async (page) => {
            // Typed into the main window, which other windows cover in part.
            const q4t = await byName(page, 'Q4T Device Number:', 'textbox');
            await q4t.evaluate((box) => box.select());
            await page.keyboard.type('999');
            await (await byName(page, 'Store Configuration', 'button')).evaluate((button) => button.click());
            await page.waitForSelector('dialog.message');
        },
    ],
    [
        'the question before the run ends',
        async (page) => {
            await answerMessage(page);
            await mainWindowReady(page);
            await press(page, 'End the Demo');
            await page.waitForSelector('dialog.message');
        },
    ],
    [
        'the Working window during a store',
        async (page) => {
            await press(page, 'End the Demo');
            await page.waitForFunction(() => !document.getElementById('connect').disabled);
            await press(page, 'Connect to a module');
            await mainWindowReady(page);
            await press(page, 'Store Configuration');
            await page.waitForFunction(() =>
                document.body.textContent.includes('Storing Configuration into Controller...'),
            );
        },
    ],
    [
        'the data monitor',
        async (page) => {
            await mainWindowReady(page);
            await press(page, 'Disconnect');
            await page.waitForFunction(() => !document.getElementById('connect').disabled);
            await page.evaluate(() => window.serialStandIn.swap(['--silent']));
            await press(page, 'Connect to a module');
            await answerMessage(page);
            await opened(page, 'RS232Packets');
        },
    ],
    [
        'the bench',
        async (page) => {
            await press(page, 'Disconnect');
            await page.waitForFunction(() => !document.getElementById('bench-demo').disabled);
            await page.evaluate(() => {
                window.fileStandIn.toOpen = { name: 'lobby.json', text: window.fileStandIn.saved[0].text };
            });
            await press(page, 'Try many modules without one');
            await page.waitForFunction(() => document.querySelectorAll('#bench-modules li').length === 1, {
                timeout: 30000,
            });
        },
    ],
    [
        'the bench asking for a serial number, one refused',
        async (page) => {
            await page.click('#bench-ask-serial');
            await page.waitForFunction(() => !document.getElementById('bench-serial-form').hidden, {
                timeout: 30000,
            });
            await page.type('#bench-serial', 'SN-1\n');
            await page.waitForFunction(() => document.querySelectorAll('#bench-modules li').length === 2, {
                timeout: 30000,
            });
            await page.waitForFunction(() => !document.getElementById('bench-serial-form').hidden, {
                timeout: 30000,
            });
            await page.type('#bench-serial', 'SN-1\n');
            await page.waitForFunction(() => document.getElementById('bench-serial-said').textContent);
        },
    ],
    [
        'the bench once it ended',
        async (page) => {
            await press(page, 'Stop');
            await byName(page, 'Back to the start', 'button');
        },
    ],
    [
        'the start offering log lines not saved',
        async (page) => {
            await press(page, 'Back to the start');
            await byName(page, 'Save Them…', 'button');
        },
    ],
];

test('axe finds no violation of WCAG 2.2 AA in any window or on the bench, light or dark', async () => {
    const found = [];
    for (const scheme of ['light', 'dark']) {
        const page = await openPage(browser, { args: ['--byte-delay', '25'], ...kWholeWindows });
        await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
        await page.evaluate(axeSource);
        for (const [what, bringAbout] of kStates) {
            await bringAbout(page);
            found.push(...(await violations(page)).map((v) => `${what}, ${scheme}: ${v}`));
        }
        await finish(page);
    }
    assert.deepEqual(found, []);
});
