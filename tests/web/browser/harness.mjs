// What the browser tests and benchmarks share: Debian's chromium driven by
// puppeteer-core, the site served from build-web/site/, and pages with the
// stand-ins installed before they load.
import assert from 'node:assert/strict';
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import { after, before, test as nodeTest } from 'node:test';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';
import { serveSite } from '../../../scripts/serve-site.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
// VINDLE_SITE serves another copy of the site (a changed one, say).
export const siteDir = process.env.VINDLE_SITE ?? path.resolve(here, '../../../build-web/site');
const standIn = await readFile(path.join(here, 'stand-ins.js'), 'utf8');

// Without the background services' flags chromium keeps trying to reach
// Google's hosts, which this machine's network refuses.
const kChromiumFlags = [
    '--no-sandbox',
    '--disable-gpu',
    '--disable-quic',
    '--no-first-run',
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
    '--disable-features=Translate,MediaRouter',
    '--font-render-hinting=none',
];

// node:test's test() with a time-out of its own: a browser test that hangs
// fails alone and the others go on (each file's `after` closes the browser
// it leaves behind).
const kTestTimeout = 120000;
export function test(name, options, fn) {
    if (typeof options === 'function') return nodeTest(name, { timeout: kTestTimeout }, options);
    return nodeTest(name, { timeout: kTestTimeout, ...options }, fn);
}

// The browser a test file shares: started before its first test, closed
// after its last; `options` as startBrowser's.
export function sharedBrowser(options) {
    const shared = {};
    before(async () => Object.assign(shared, await startBrowser(options)));
    after(() => shared.close?.());
    return shared;
}

// `args` are more of chromium's flags. `scrollBars` shows the pages' scroll
// bars, which headless chromium hides, as a browser on a desktop shows them.
export async function startBrowser({ onServed, args = [], scrollBars = false } = {}) {
    const server = await serveSite(siteDir, 0, onServed);
    const browser = await puppeteer.launch({
        executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
        headless: true,
        args: [...kChromiumFlags, ...args],
        ignoreDefaultArgs: scrollBars ? ['--hide-scrollbars'] : false,
    });
    return {
        browser,
        origin: `http://localhost:${server.address().port}/`,
        async close() {
            await browser.close();
            server.close();
        },
    };
}

// A page in a context of its own (no cache, no service worker shared with
// another test), `width`×`height`, with the stand-ins, the serial one playing a module started
// with `args` (vindle-emulator's arguments); `hideSerial` makes it a browser
// without Web Serial. The page's errors, a breach of its security policy
// among them, and any request to another host are kept in page.errors.
// `origin` is another host of the site's.
export async function openPage(
    session,
    { args = [], width = 1366, height = 768, hideSerial = false, origin = session.origin } = {},
) {
    const context = await session.browser.createBrowserContext();
    const page = await context.newPage();
    page.errors = [];
    page.on('pageerror', (error) => page.errors.push(error.message));
    page.on('console', (message) => {
        if (message.type() === 'error') page.errors.push(message.text());
    });
    page.on('request', (request) => {
        if (!/^(data|blob):/.test(request.url()) && !request.url().startsWith(origin))
            page.errors.push(`a request to ${request.url()}`);
    });
    await page.setViewport({ width, height });
    await page.evaluateOnNewDocument(`${standIn}\ninstallStandIns(${JSON.stringify(args)});`);
    if (hideSerial) await page.evaluateOnNewDocument('delete Navigator.prototype.serial;');
    await page.goto(origin);
    return page;
}

// A page whose run has started with `button` and whose main window is ready.
export async function startedPage(session, options = {}, button = 'Connect to a module') {
    const page = await openPage(session, options);
    await press(page, button);
    await mainWindowReady(page);
    return page;
}

// Closes a page that had no error.
export async function finish(page) {
    assert.deepEqual(page.errors, []);
    await page.browserContext().close();
}

// The element a person finds by its accessible name and role.
export function byName(page, name, role) {
    return page.waitForSelector(`aria/${name}[role="${role}"]`);
}

export async function press(page, name) {
    await (await byName(page, name, 'button')).click();
}

// Waits until the main window is on the page and takes input.
export function mainWindowReady(page) {
    return page.waitForFunction(() => {
        const main = document.querySelector('dialog[data-window="Main"]');
        return main?.open && !main.inert && !document.querySelector('dialog.message');
    });
}

// Waits until the windows show what the core holds: it has taken every
// action the page queued, and their changes are drawn (or the run is over).
export function settled(page) {
    return page.waitForFunction(() => {
        const desk = document.getElementById('desk');
        return desk.hidden || !desk.hasAttribute('aria-busy');
    });
}

// The message box open now: its text; then it is answered with OK.
export async function answerMessage(page) {
    const box = await page.waitForSelector('aria/[role="alertdialog"]');
    const text = await box.evaluate((element) => element.querySelector('p').textContent);
    await (await box.waitForSelector('aria/OK[role="button"]')).click();
    await page.waitForFunction((element) => !element.isConnected, {}, box);
    return text;
}

// What a file saved now holds: the 51 values.
export async function savedValues(page) {
    const count = await page.evaluate(() => window.fileStandIn.saved.length);
    await press(page, 'Save Configuration As…');
    await page.waitForFunction((n) => window.fileStandIn.saved.length > n, {}, count);
    const { text } = await page.evaluate(() => window.fileStandIn.saved.at(-1));
    const file = JSON.parse(text);
    return { file, values: Array.from({ length: 51 }, (_, i) => file.locations[i].value) };
}

// The file the demo saves, of a module with factory defaults.
export async function savedDefaults(page) {
    await press(page, 'Try without a module');
    await mainWindowReady(page);
    const { file } = await savedValues(page);
    await page.evaluate(() => (window.fileStandIn.saved.length = 0));
    await press(page, 'Close');
    await page.waitForFunction(() => !document.getElementById('bench-start').disabled);
    return file;
}

// Shows the page as on another screen: `width`×`height` CSS pixels at `zoom`
// (the browser's zoom of 200 % on 1366×768 is 683×384 CSS pixels, two device
// pixels to one), with a default font of `font` pixels and the light or
// dark colour scheme. It returns once the page has heard of the change.
export async function showScreen(page, { width, height, zoom = 1, font = 16, dark = false }) {
    const cdp = await page.createCDPSession();
    await cdp.send('Page.setFontSizes', { fontSizes: { standard: font } });
    await cdp.detach();
    await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: dark ? 'dark' : 'light' }]);
    await page.setViewport({ width, height, deviceScaleFactor: zoom });
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
}
