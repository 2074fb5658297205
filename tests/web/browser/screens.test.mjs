// The page on other screens: made smaller after it started, zoomed, with a
// larger default font, in the dark colour scheme. Every window stays where a
// person can reach it, its text follows the font, and each text and focus
// ring can be told from what is behind it.
//   node --test tests/web/browser/screens.test.mjs      (after scripts/web.sh)
import assert from 'node:assert/strict';
import { byName, finish, mainWindowReady, openPage, press, showScreen, sharedBrowser, test } from './harness.mjs';

const browser = sharedBrowser({ scrollBars: true });

const kLarge = { width: 1920, height: 1080 };
const kLaptop = { width: 1366, height: 768 };

// Each screen: the one the page starts on, and the one it is on after.
const kScreens = [
    { name: '1920×1080 made 1280×720', start: kLarge, screen: { width: 1280, height: 720 } },
    { name: '1920×1080 made 800×600', start: kLarge, screen: { width: 800, height: 600 } },
    { name: '1920×1080 zoomed to 200 %', start: kLarge, screen: { width: 960, height: 540, zoom: 2 } },
    { name: '1366×768 zoomed to 200 %', start: kLaptop, screen: { width: 683, height: 384, zoom: 2 } },
    { name: 'a default font of 24 px', start: { ...kLaptop, font: 24 }, screen: { ...kLaptop, font: 24 } },
    { name: 'the dark scheme', start: { ...kLaptop, dark: true }, screen: { ...kLaptop, dark: true } },
];

// What can be read on the page now: for every text, its size and its
// contrast with what is behind it; for every focus ring, its contrast; and
// whether the page itself scrolls sideways.
function readable() {
    // Colours as [r, g, b, alpha]; one drawn over another.
    const rgba = (text) => [...text.match(/[\d.]+/g).map(Number), 1].slice(0, 4);
    const over = (top, below) => [0, 1, 2].map((i) => top[i] * top[3] + below[i] * (1 - top[3])).concat(1);
    const behind = (element) => {
        const layers = [];
        for (let e = element; e && layers.at(-1)?.[3] !== 1; e = e.parentElement)
            layers.push(rgba(getComputedStyle(e).backgroundColor));
        return layers.reduceRight((below, layer) => over(layer, below), [255, 255, 255, 1]);
    };
    const linear = (c) => (c / 255 <= 0.04045 ? c / 255 / 12.92 : ((c / 255 + 0.055) / 1.055) ** 2.4);
    const luminance = ([r, g, b]) => 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
    const contrast = (colour, background) => {
        const [x, y] = [luminance(over(colour, background)), luminance(background)].sort((p, q) => q - p);
        return (x + 0.05) / (y + 0.05);
    };
    const texts = [...document.querySelectorAll('body *')].filter(
        (e) =>
            e.checkVisibility() &&
            !e.closest('.visually-hidden') &&
            ([...e.childNodes].some((n) => n.nodeType === Node.TEXT_NODE && n.textContent.trim()) ||
                (e.matches('input[type=text], textarea') && e.value)),
    );
    const name = (e) => {
        const window = e.closest('dialog')?.dataset.window ?? '';
        return `${window} ${e.tagName} "${(e.value || e.textContent).slice(0, 30)}"`;
    };
    // A ring is drawn around its control, on what is behind the control.
    const rings = [...document.querySelectorAll('dialog[open] :is(button, input)')].flatMap((e) => {
        e.focus();
        if (document.activeElement !== e || !e.matches(':focus-visible')) return [];
        return [{ name: name(e), contrast: contrast(rgba(getComputedStyle(e).outlineColor), behind(e.parentElement)) }];
    });
    return {
        texts: texts.map((e) => ({
            name: name(e),
            size: parseFloat(getComputedStyle(e).fontSize),
            contrast: contrast(rgba(getComputedStyle(e).color), behind(e)),
        })),
        rings,
        sideways: document.documentElement.scrollWidth > innerWidth,
        // How light the page and its windows are.
        light: [document.body, ...document.querySelectorAll('dialog[open]')].map((e) => luminance(behind(e))),
    };
}

async function assertReadable(page, { font = 16, dark = false }, what) {
    // A key pressed first: the focus rings are those the keyboard shows.
    await page.keyboard.press('Shift');
    const { texts, rings, sideways, light } = await page.evaluate(readable);
    assert.equal(sideways, false, `${what}: the page scrolls sideways`);
    for (const l of light) assert.ok(dark ? l < 0.05 : l > 0.5, `${what}: a luminance of ${l.toFixed(2)}`);
    for (const text of texts) {
        assert.ok(text.size >= (font * 3) / 4 - 0.01, `${what}: ${text.name} is ${text.size} px`);
        assert.ok(text.contrast >= 4.5, `${what}: ${text.name} has a contrast of ${text.contrast.toFixed(2)}`);
    }
    for (const ring of rings)
        assert.ok(ring.contrast >= 3, `${what}: the focus ring of ${ring.name}: ${ring.contrast.toFixed(2)}`);
    return texts;
}

// Every open window can be brought to the front by a click on it, and then
// its title bar is on the page and each of its buttons there (the close
// button, the footer's) can be seen, scrolled to if need be.
async function assertReachable(page, what) {
    for (const dialog of await page.$$('dialog.window[open]')) {
        const title = await dialog.evaluate((d) => d.querySelector('h2').textContent);
        const spot = await dialog.evaluate((d) => {
            const box = d.getBoundingClientRect();
            for (let y = Math.max(box.top, 0) + 2; y < Math.min(box.bottom, innerHeight); y += 6) {
                for (let x = Math.max(box.left, 0) + 2; x < Math.min(box.right, innerWidth); x += 6) {
                    // Not on a control: a click there changes only which window is in front.
                    const at = document.elementFromPoint(x, y);
                    if (d.contains(at) && !at.closest('label, button, input, textarea')) return { x, y };
                }
            }
            return null;
        });
        assert.ok(spot, `${what}: ${title} is covered or off the page`);
        await page.mouse.click(spot.x, spot.y);
        const unseen = await dialog.evaluate((d) => {
            const bar = d.querySelector('.title-bar').getBoundingClientRect();
            const off = bar.left < 0 || bar.top < 0 || bar.right > innerWidth || bar.bottom > innerHeight;
            const out = off ? ['title bar'] : [];
            for (const button of d.querySelectorAll('.title-bar button, .footer button')) {
                if (!button.checkVisibility()) continue;
                button.scrollIntoView({ block: 'nearest', inline: 'nearest' });
                const box = button.getBoundingClientRect();
                const seen =
                    box.right <= innerWidth &&
                    box.bottom <= innerHeight &&
                    button.contains(document.elementFromPoint(box.left + box.width / 2, box.top + box.height / 2));
                if (!seen) out.push(button.getAttribute('aria-label') ?? button.textContent);
            }
            return out;
        });
        assert.deepEqual(unseen, [], `${what}: in ${title}`);
    }
}

// The page scrolls only as far as there is something to see, and a footer
// kept in view leaves most of its window to the part that scrolls above it.
async function assertRoom(page, what) {
    const { beyond, footers } = await page.evaluate(() => ({
        beyond:
            document.documentElement.scrollHeight -
            Math.max(
                innerHeight,
                ...[...document.querySelectorAll('body > :not([hidden])')].map((e) => e.getBoundingClientRect().bottom),
            ),
        footers: [...document.querySelectorAll('dialog.window[open] .footer')]
            .filter((footer) => getComputedStyle(footer).position === 'sticky')
            .map((footer) => ({
                window: footer.closest('dialog').dataset.window,
                share: footer.offsetHeight / footer.parentElement.clientHeight,
            })),
    }));
    assert.ok(beyond <= 1, `${what}: the page scrolls ${beyond} px past what it shows`);
    for (const { window, share } of footers)
        assert.ok(share <= 0.4, `${what}: the footer kept in view takes ${Math.round(share * 100)} % of ${window}`);
}

test('on every screen each window can be reached, and its text read at the size the person chose', async () => {
    for (const { name, start, screen } of kScreens) {
        // The limiter opens beside the main window.
        const page = await openPage(browser, { args: ['--set', '10=1'], width: start.width, height: start.height });
        await showScreen(page, start);
        await assertReadable(page, start, `${name}, the start`);
        await assertRoom(page, `${name}, the start`);
        await press(page, 'Connect to a module');
        await mainWindowReady(page);
        await byName(page, 'Analog Limiter Configuration', 'heading');
        const where = () =>
            page.$$eval('dialog.window[open]', (all) => all.map((d) => d.getBoundingClientRect().toJSON()));
        const before = await where();
        await showScreen(page, screen);
        await assertReachable(page, name);
        await assertRoom(page, name);
        await assertReadable(page, screen, name);
        // Back on the first screen, the windows are back where they were.
        await showScreen(page, start);
        assert.deepEqual(await where(), before, name);
        await finish(page);
    }
});

test('during a store the window that shows it and the disabled main window can be read, in both schemes', async () => {
    for (const dark of [false, true]) {
        const page = await openPage(browser, { args: ['--byte-delay', '25'] });
        await showScreen(page, { ...kLaptop, dark });
        await press(page, 'Connect to a module');
        await mainWindowReady(page);
        await press(page, 'Store Configuration');
        await page.waitForFunction(() =>
            [...document.querySelectorAll('dialog.window[open]')].some((d) =>
                d.textContent.includes('Storing Configuration into Controller...'),
            ),
        );
        const texts = await assertReadable(page, { dark }, dark ? 'dark' : 'light');
        assert.ok(texts.some((text) => text.name.includes('Storing Configuration')));
        await finish(page);
    }
});
