// Where the keyboard's focus is, and that it can be seen: a window opens at
// its first control, and on a small or zoomed screen, or with a large font,
// each control Tab reaches is scrolled wholly into view, ring and all.
//   node --test tests/web/browser/focus.test.mjs      (after scripts/web.sh)
import assert from 'node:assert/strict';
import { finish, mainWindowReady, openPage, press, settled, sharedBrowser, showScreen, test } from './harness.mjs';

const browser = sharedBrowser({ scrollBars: true });

const dialog = (name) => `dialog[data-window="${name}"]`;
const focused = (page) =>
    page.evaluate(() => ({
        window: document.activeElement.closest('dialog')?.dataset.window ?? null,
        name: document.activeElement.getAttribute('aria-label'),
    }));

test('a window opens at its first control in reading order, and Enter at once ends nothing', async () => {
    // [the module's settings, what opens the window, the window, its first control]
    const cases = [
        [[], null, 'Main', 'How Many Input Banks are Connected to this Vindle?'],
        [
            [],
            (page) => page.click(`${dialog('Main')} [data-name="MotionInputs"] input`),
            'MotionTimes',
            'Relays are Individually Activated by Associated Motion Detectors Only',
        ],
        [
            [],
            (page) => page.click(`${dialog('Main')} [data-name="Mode(1)"] input`),
            'Limiter',
            'Activate Relay Inside Limits',
        ],
    ];
    for (const [args, open, windowName, first] of cases) {
        const page = await openPage(browser, { args });
        await press(page, 'Connect to a module');
        await mainWindowReady(page);
        await open?.(page);
        await page.waitForSelector(`${dialog(windowName)}[open]`);
        await settled(page);
        assert.deepEqual(await focused(page), { window: windowName, name: first });
        await page.keyboard.press('Enter');
        await settled(page);
        assert.ok(await page.$eval(dialog(windowName), (d) => d.open), `Enter closed ${windowName}`);
        await finish(page);
    }
});

// Whether the element with the focus can be seen whole, with its ring: on
// the page, inside the part of its window that shows (above a pinned
// footer, unless it is in it), and under no other window. What is larger
// than that part need only start in it.
function focusSeen() {
    const element = document.activeElement;
    const ring = 3;
    const box = element.getBoundingClientRect();
    // The part of the window that scrolls, or for the window's own commands
    // (its title bar, its command bar) the window.
    const holder = element.closest('.body') ?? element.closest('dialog');
    const footer = holder.querySelector('.footer');
    const shown = holder.getBoundingClientRect();
    const pinned = footer && getComputedStyle(footer).position === 'sticky' && !footer.contains(element);
    const [left, top] = [shown.left + holder.clientLeft, shown.top + holder.clientTop];
    const area = {
        left: Math.max(left, 0),
        top: Math.max(top, 0),
        right: Math.min(left + holder.clientWidth, innerWidth),
        bottom: Math.min(top + holder.clientHeight - (pinned ? footer.offsetHeight : 0), innerHeight),
    };
    const fits = (from, to, start, end) => from >= start && (to <= end || to - from > end - start);
    const whole =
        fits(box.left - ring, box.right + ring, area.left, area.right) &&
        fits(box.top - ring, box.bottom + ring, area.top, area.bottom);
    // Its middle and the middles of its sides (an option is round).
    const [x, y] = [
        (box.left + Math.min(box.right, area.right)) / 2,
        (box.top + Math.min(box.bottom, area.bottom)) / 2,
    ];
    const points = [
        [x, y],
        [box.left + 1, y],
        [Math.min(box.right, area.right) - 1, y],
        [x, box.top + 1],
        [x, Math.min(box.bottom, area.bottom) - 1],
    ];
    const covered = points.some(([a, b]) => !element.contains(document.elementFromPoint(a, b)));
    return { name: element.getAttribute('aria-label') ?? element.textContent, whole, covered };
}

test('on a small screen and with a large font every control Tab reaches is wholly in view', async () => {
    for (const [what, screen] of [
        ['a default font of 24 px', { width: 1366, height: 768, font: 24 }],
        ['1366×768 zoomed to 200 %', { width: 683, height: 384, zoom: 2 }],
    ]) {
        // The limiter opens beside the main window.
        const page = await openPage(browser, { args: ['--set', '10=1'], ...screen });
        await showScreen(page, screen);
        await press(page, 'Connect to a module');
        await mainWindowReady(page);
        await settled(page);
        for (const windowName of ['Limiter', 'Main']) {
            // From the window's first stop round to it again.
            await page.$eval(`${dialog(windowName)} .close`, (close) => close.focus());
            const first = await page.evaluateHandle(() => document.activeElement);
            for (let i = 0; i < 100; ++i) {
                await page.keyboard.press('Tab');
                const seen = await page.evaluate(focusSeen);
                assert.deepEqual(seen, { name: seen.name, whole: true, covered: false }, `${what}, ${windowName}`);
                if (await first.evaluate((e) => e === document.activeElement)) break;
            }
        }
        await finish(page);
    }
});
