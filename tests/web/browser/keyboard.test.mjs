// The page by keyboard alone, as a person who cannot point works it: where
// Tab goes, what Escape does, where the focus lands after each window and
// message, and what a screen reader hears of a control.
import assert from 'node:assert/strict';
import { existsSync, readFileSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import {
    answerMessage,
    byName,
    finish,
    mainWindowReady,
    press,
    settled,
    sharedBrowser,
    startedPage,
    test,
} from './harness.mjs';

const browser = sharedBrowser();

// What the desktop shows, enables and Tab visits, window by window, after
// each of a row of steps: written by the desktop's test (WindowBinderTest)
// into its build.
const kDesktopTabOrder = path.resolve(
    path.dirname(fileURLToPath(import.meta.url)),
    '../../../build/tests/qt/tab-order.json',
);

const dialog = (name) => `dialog[data-window="${name}"]`;

// The focused element as a screen reader names it; a window's own commands
// (its close button, its command bar) are not the window's controls.
const focusedName = (page) =>
    page.evaluate(() => {
        const at = document.activeElement;
        if (at.closest('.title-bar, .commands')) return null;
        return at.getAttribute('aria-label') || at.textContent.trim() || '(unnamed)';
    });

// Every control Tab reaches in the window, in order, once round.
async function tabRound(page, windowName) {
    await page.$eval(dialog(windowName), (d) => d.focus());
    const names = [];
    const seen = [];
    for (let i = 0; i < 80; ++i) {
        await page.keyboard.press('Tab');
        const element = await page.evaluateHandle(() => document.activeElement);
        const inside = await element.evaluate((e, w) => e.closest('dialog')?.dataset.window === w, windowName);
        assert.ok(inside, `Tab left ${windowName}`);
        if (await Promise.any(seen.map((s) => s.evaluate((a, b) => a === b, element))).catch(() => false)) break;
        seen.push(element);
        const name = await focusedName(page);
        if (name !== null) names.push(name);
    }
    return names;
}

test('every window shows, enables and Tabs through its controls as the desktop does, in every state of the options', async (t) => {
    if (!existsSync(kDesktopTabOrder)) {
        t.skip('the desktop tests have not run in build/');
        return;
    }
    const states = JSON.parse(readFileSync(kDesktopTabOrder, 'utf8'));
    const page = await startedPage(browser, {}, 'Try without a module');
    for (const state of states) {
        const after = state.control ? `${state.control}(${state.index ?? ''})` : 'the start';
        if (state.control) {
            const name = state.index === null ? state.control : `${state.control}(${state.index})`;
            await page.$eval(`${dialog(state.window)} [data-name="${name}"]`, (e) =>
                (e.querySelector('input') ?? e).click(),
            );
            await page.waitForFunction(
                (windows) => windows.every((w) => document.querySelector(`dialog[data-window="${w}"]`)?.open),
                {},
                Object.keys(state.windows),
            );
        }
        await settled(page);
        for (const [windowName, desktop] of Object.entries(state.windows)) {
            const shown = await page.$$eval(`${dialog(windowName)} [data-name]`, (elements) =>
                elements
                    .filter((e) => e.checkVisibility())
                    .map((e) => ({
                        name: e.dataset.name,
                        input: e.matches('label') ? e.querySelector('input') : e.closest('input, button, textarea'),
                    }))
                    .map(({ name, input }) => ({ name, usable: input !== null && !input.matches(':disabled') })),
            );
            assert.deepEqual(
                { shown: shown.map((c) => c.name), usable: shown.filter((c) => c.usable).map((c) => c.name) },
                { shown: desktop.shown, usable: desktop.usable },
                `${windowName} after ${after}`,
            );
            assert.deepEqual(await tabRound(page, windowName), desktop.tab, `${windowName} after ${after}`);
        }
    }
    await finish(page);
});

test('Escape closes a window as its close button does, where closing ends nothing, and the focus goes back', async () => {
    const page = await startedPage(browser, {}, 'Try without a module');
    const motion = `${dialog('Main')} [data-name="MotionInputs"] input`;
    const limiter = `${dialog('Main')} [data-name="Mode(1)"] input`;
    // [what opens it (and has the focus after), window, Escape closes it]
    for (const [opener, windowName, closes] of [
        [motion, 'MotionTimes', true],
        [limiter, 'Limiter', true],
        [limiter, 'Main', false],
    ]) {
        if (closes) await page.click(opener);
        await page.waitForSelector(`${dialog(windowName)}[open]`);
        await settled(page);
        await page.$eval(dialog(windowName), (d) => d.querySelector('[data-control] input').focus());
        await page.keyboard.press('Escape');
        await settled(page);
        assert.equal(await page.$eval(dialog(windowName), (d) => d.open), !closes, windowName);
        if (closes) assert.ok(await page.$eval(opener, (input) => input === document.activeElement), windowName);
        // The main window keeps the focus where it was.
        else {
            const kept = await page.$eval(
                dialog('Main'),
                (d) => d.querySelector('[data-control] input') === document.activeElement,
            );
            assert.ok(kept, windowName);
        }
    }
    await finish(page);
});

test('the focus never falls to the page: after a message, a reset, a store and the last window', async () => {
    const page = await startedPage(browser, {}, 'Try without a module');
    // Where the focus is once it has settled on a control of that name (or
    // after a while, wherever it is).
    const focused = async (name) => {
        await page
            .waitForFunction((n) => document.activeElement.getAttribute('aria-label') === n, { timeout: 5000 }, name)
            .catch(() => {});
        return page.evaluate(() => ({
            name: document.activeElement.getAttribute('aria-label') ?? document.activeElement.textContent,
            disabled: Boolean(document.activeElement.disabled),
        }));
    };
    // A refused store: its message, then the Store button again.
    const q4t = await byName(page, 'Q4T Device Number:', 'textbox');
    await q4t.click({ clickCount: 3 });
    await page.keyboard.type('999');
    await (await byName(page, 'Store Configuration', 'button')).focus();
    await page.keyboard.press('Enter');
    await answerMessage(page);
    assert.deepEqual(await focused('Store Configuration'), { name: 'Store Configuration', disabled: false });
    await q4t.click({ clickCount: 3 });
    await page.keyboard.type('9');

    // A reset, and a store: the button pressed keeps the focus; the Working
    // window has no close button to press while they run.
    for (const button of ['Clear to Factory Defaults', 'Store Configuration']) {
        await (await byName(page, button, 'button')).focus();
        // Once the main window has waited for the module, and taken input again.
        await page.$eval(dialog('Main'), (main) => {
            window.mainWaited = false;
            new MutationObserver(() => (window.mainWaited ||= main.inert)).observe(main, { attributes: true });
        });
        await page.keyboard.press('Enter');
        await page.waitForFunction(() => window.mainWaited);
        await mainWindowReady(page);
        assert.deepEqual(await focused(button), { name: button, disabled: false });
    }
    assert.equal(await page.$(`${dialog('Working')} .close`), null);

    // The last window closed: the start's first choice, usable.
    await page.$eval(`${dialog('Main')} .close`, (b) => b.click());
    await page.waitForFunction(() => !document.getElementById('start').hidden);
    await page.waitForFunction(() => !document.activeElement.disabled && document.activeElement.id === 'connect');
    await finish(page);
});

test('a focused control is described by its own help, the shortcuts work from every window, and what a button brought about is announced', async () => {
    const page = await startedPage(browser, {}, 'Try without a module');
    const description = (name) => page.$eval(`aria/${name}[role="button"]`, (e) => e.getAttribute('aria-description'));
    assert.equal(
        await description('Store Configuration'),
        'This button stores the above settings into the vindle module.',
    );
    assert.equal(await description('Clear to Factory Defaults'), null);
    // A slider is explained by the help of its frame.
    assert.match(
        await page.$eval(`${dialog('Main')} [data-name="Debounce"]`, (e) => e.getAttribute('aria-description')),
        /^Use a low debounce time/,
    );

    const announced = () => page.$eval('#desk [role="status"]', (e) => e.textContent).catch(() => '');
    for (const [button, words] of [
        ['Store Configuration', /^The configuration was stored into the Vindle Module and acknowledged\.$/],
        ['Read Configuration', /^The configuration was read from the Vindle Module\.$/],
        ['Read Firmware Version', /^Device Version Information: Device ID #1: \d+ /],
        ['Save Configuration As…', /^The configuration was saved\.$/],
    ]) {
        await page.$eval('#desk [role="status"]', (e) => (e.textContent = '')).catch(() => {});
        await press(page, button);
        await page.waitForFunction(() => document.querySelector('#desk [role="status"]')?.textContent, {
            timeout: 10000,
        });
        assert.match(await announced(), words, button);
        assert.equal(await page.$('dialog.message'), null, button);
    }

    // Ctrl+S from the limiter saves, not the browser.
    await page.click(`${dialog('Main')} [data-name="Mode(1)"] input`);
    await page.waitForSelector(`${dialog('Limiter')}[open]`);
    await page.$eval(`${dialog('Limiter')} [data-control] input`, (e) => e.focus());
    await page.keyboard.down('Control');
    await page.keyboard.press('s');
    await page.keyboard.up('Control');
    await page.waitForFunction(() => window.fileStandIn.saved.length === 2);
    await finish(page);
});

test('Shift+Tab from the first stop of a window goes round to its last, and Tab from there back to it', async () => {
    const page = await startedPage(browser, {}, 'Try without a module');
    await page.click(`${dialog('Main')} [data-name="Mode(1)"] input`);
    await page.waitForSelector(`${dialog('Limiter')}[open]`);
    await settled(page);
    for (const windowName of ['Main', 'Limiter']) {
        // The window itself, then its first stop.
        await page.$eval(dialog(windowName), (d) => d.focus());
        await page.keyboard.press('Tab');
        const first = await page.evaluateHandle(() => document.activeElement);
        await page.keyboard.down('Shift');
        await page.keyboard.press('Tab');
        await page.keyboard.up('Shift');
        const last = await page.evaluate(() => ({
            window: document.activeElement.closest('dialog')?.dataset.window,
            name: document.activeElement.getAttribute('aria-label'),
        }));
        assert.equal(last.window, windowName, `Shift+Tab left ${windowName}`);
        assert.ok(!(await first.evaluate((e) => e === document.activeElement)), `${windowName}: ${last.name}`);
        await page.keyboard.press('Tab');
        assert.ok(await first.evaluate((e) => e === document.activeElement), `${windowName}: after ${last.name}`);
    }
    await finish(page);
});

test('after a message box, or a window that closes, the focus goes to the window in front', async () => {
    const page = await startedPage(browser, {}, 'Try without a module');
    const click = (windowName, control) =>
        page.$eval(`${dialog(windowName)} [data-name="${control}"]`, (e) => (e.querySelector('input') ?? e).click());
    // A click on the page beside the windows: the focus is on none of them.
    const away = () => page.mouse.click(2, 2);
    await click('Main', 'MotionInputs');
    await page.waitForSelector(`${dialog('MotionTimes')}[open]`);
    await click('Main', 'RSDevice(5)');
    await settled(page);
    await away();
    await click('Main', 'MoreOptions');
    await page.waitForSelector(`${dialog('Advanced')}[open]`);
    await settled(page);
    // Back to front, by a press on each.
    const order = (...names) =>
        page.evaluate((all) => {
            for (const name of all)
                document
                    .querySelector(`dialog[data-window="${name}"]`)
                    .dispatchEvent(new PointerEvent('pointerdown', { bubbles: true }));
        }, names);
    // [what is done, the windows from the back to the front before, the
    // window in front after]
    const cases = [
        [
            'a message box answered',
            ['Advanced', 'MotionTimes', 'Main'],
            async () => {
                await page.evaluate(() => (window.fileStandIn.toOpen = { name: 'broken.json', text: '{' }));
                await page.keyboard.down('Control');
                await page.keyboard.press('o');
                await page.keyboard.up('Control');
                await answerMessage(page);
            },
            'Main',
        ],
        // Advanced was opened with the focus on none of the windows.
        [
            'a window closed',
            ['Main', 'MotionTimes', 'Advanced'],
            () => page.$eval(`${dialog('Advanced')} .close`, (close) => close.click()),
            'MotionTimes',
        ],
    ];
    for (const [what, windows, act, front] of cases) {
        await order(...windows);
        await away();
        await act();
        await settled(page);
        assert.equal(await page.evaluate(() => document.activeElement.closest('dialog')?.dataset.window), front, what);
    }
    await finish(page);
});
