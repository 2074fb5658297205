// Photographs the page in headless chromium at 1366×768 and 1920×1080, with a
// module on the serial stand-in: the main window filled, a secondary window
// open, a message box, the data monitor with keys, and the demo's bench of
// many modules after two of them (docs/web-*.png).
//   scripts/web.sh && node scripts/web-gallery.mjs
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { answerMessage, byName, mainWindowReady, openPage, press, startBrowser } from '../tests/web/browser/harness.mjs';

const docs = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../docs');

// Each view: the module's settings, and what a person does before the picture.
const kViews = {
    main: {
        args: ['--set', '1=40', '--set', '5=12', '--set', '12=1'],
        show: (page) => mainWindowReady(page),
    },
    secondary: {
        // Motion detectors in mode 0 open their window at start-up.
        args: ['--set', '40=1', '--set', '50=1'],
        show: async (page) => {
            await mainWindowReady(page);
            await byName(page, 'Motion Detector Response Configuration', 'dialog');
        },
    },
    message: {
        args: [],
        show: async (page) => {
            await mainWindowReady(page);
            const box = await byName(page, 'Q4T Device Number:', 'textbox');
            await box.click({ clickCount: 3 });
            await page.keyboard.type('300');
            await press(page, 'Store Configuration');
            await page.waitForSelector('aria/[role="alertdialog"]');
        },
    },
    monitor: {
        args: ['--running', '--packet-rate', '20'],
        show: async (page) => {
            await answerMessage(page);
            await (await byName(page, 'The Vindle Module is Sending Keys', 'checkbox')).click();
            await new Promise((resolve) => setTimeout(resolve, 1500));
        },
    },
    bench: {
        args: [],
        start: async (page) => {
            // The demo's own file, saved from its windows.
            await press(page, 'Try without a module');
            await mainWindowReady(page);
            await press(page, 'Save Configuration As…');
            await page.waitForFunction(() => window.fileStandIn.saved.length === 1);
            await press(page, 'Close');
            await page.waitForFunction(() => !document.getElementById('bench-demo').disabled);
            await page.evaluate(() => {
                window.fileStandIn.toOpen = { name: 'lobby.json', text: window.fileStandIn.saved[0].text };
            });
            await press(page, 'Try many modules without one');
        },
        show: (page) =>
            page.waitForFunction(() => document.querySelectorAll('#bench-modules li').length === 2, {
                timeout: 60000,
            }),
    },
};

const browser = await startBrowser();
try {
    for (const [width, height] of [
        [1366, 768],
        [1920, 1080],
    ]) {
        for (const [name, view] of Object.entries(kViews)) {
            const page = await openPage(browser, { args: view.args, width, height });
            await (view.start ?? ((p) => press(p, 'Connect to a module')))(page);
            await view.show(page);
            // The pointer rests outside the windows.
            await page.mouse.move(width - 2, height - 2);
            const file = path.join(docs, `web-${name}-${width}x${height}.png`);
            await page.screenshot({ path: file });
            console.log(file);
            await page.browserContext().close();
        }
    }
} finally {
    await browser.close();
}
