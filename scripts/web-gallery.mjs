// Photographs the page in headless chromium at 1366×768 and 1920×1080, with a
// module on the serial stand-in: the main window filled, a secondary window
// open, a message box, the data monitor with keys, and the demo's bench of
// many modules after two of them (docs/web-*.png). Then the same on other
// screens: made smaller after the start, zoomed to 200 %, with a default font
// of 24 px, and in the dark colour scheme.
// The bench is also shown on a port during a store and after a module was
// refused, zoomed and dark too.
//   scripts/web.sh && node scripts/web-gallery.mjs [VIEW...]
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import {
    answerMessage,
    byName,
    mainWindowReady,
    openPage,
    press,
    savedDefaults,
    showScreen,
    startBrowser,
} from '../tests/web/browser/harness.mjs';

const docs = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '../docs');

// Each view: the module's settings, and what a person does before the picture.
const kViews = {
    main: {
        args: ['--set', '1=40', '--set', '5=12', '--set', '12=1'],
        show: (page) => mainWindowReady(page),
    },
    start: {
        args: [],
        start: () => {},
        show: (page) => page.waitForFunction(() => !document.getElementById('demo').disabled),
    },
    limiter: {
        args: ['--set', '10=1'],
        show: async (page) => {
            await mainWindowReady(page);
            // In front, as a click on its title bar brings it.
            const title = await byName(page, 'Analog Limiter Configuration', 'heading');
            await title.click({ offset: { x: 4, y: 4 } });
        },
    },
    working: {
        args: ['--byte-delay', '25'],
        show: async (page) => {
            await mainWindowReady(page);
            await press(page, 'Store Configuration');
            await page.waitForFunction(() =>
                document.body.textContent.includes('Storing Configuration into Controller...'),
            );
        },
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
            await (await byName(page, 'The Time It Came', 'checkbox')).click();
            await (await byName(page, 'Its Bytes in Hex', 'checkbox')).click();
            await new Promise((resolve) => setTimeout(resolve, 1500));
            // A header found, with the lines held still to read it.
            await press(page, 'Pause');
            const find = await byName(page, 'Find Bytes:', 'textbox');
            await find.type('FE');
            await page.keyboard.press('Enter');
            await page.keyboard.press('Enter');
            await new Promise((resolve) => setTimeout(resolve, 1000));
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
    // The bench on a real (stand-in) port, with the station's record: a
    // store under way, and a module of another kind refused.
    'bench-storing': {
        args: ['--byte-delay', '25'],
        start: (page) => benchOnLobby(page),
        show: (page) =>
            page.waitForFunction(() => /^Location [1-9]/.test(document.getElementById('bench-progress').textContent)),
    },
    'bench-refused': {
        args: ['--device-id1', '18'],
        start: (page) => benchOnLobby(page),
        show: (page) =>
            page.waitForFunction(() =>
                /^Done with this module/.test(document.getElementById('bench-state').textContent),
            ),
    },
};

// The bench on the demo's file with another debounce time, at a station.
async function benchOnLobby(page) {
    const lobby = await savedDefaults(page);
    lobby.locations[1].value = 40;
    await page.evaluate((text) => {
        localStorage.setItem('vindle-bench-station', 'Bench 4');
        localStorage.setItem('vindle-bench-operator', 'R. Ames');
        window.fileStandIn.toOpen = { name: 'lobby.json', text };
    }, JSON.stringify(lobby));
    await press(page, 'Set up many modules');
}

const kLaptop = { width: 1366, height: 768 };
const kLarge = { width: 1920, height: 1080 };
const kFirst = ['main', 'secondary', 'message', 'monitor', 'bench'];
// Each screen: the one the page starts on, the one it is on for the picture
// (a browser window made smaller, or zoomed in, after the start), and the
// views photographed there.
const kScreens = [
    { name: '1366x768', start: kLaptop, views: [...kFirst, 'bench-storing', 'bench-refused'] },
    { name: '1920x1080', start: kLarge, views: kFirst },
    { name: '1920x1080-made-800x600', start: kLarge, screen: { width: 800, height: 600 }, views: ['main', 'limiter'] },
    {
        name: '1366x768-zoom200',
        start: kLaptop,
        screen: { width: 683, height: 384, zoom: 2 },
        views: ['main', 'limiter', 'message', 'monitor', 'bench-storing', 'bench-refused'],
    },
    {
        name: '1366x768-font24',
        start: { ...kLaptop, font: 24 },
        views: ['start', 'main', 'limiter', 'secondary', 'monitor'],
    },
    {
        name: '1366x768-dark',
        start: { ...kLaptop, dark: true },
        views: ['start', 'main', 'limiter', 'working', 'message', 'monitor', 'bench', 'bench-storing', 'bench-refused'],
    },
    {
        name: '1366x768-zoom200-dark',
        start: { ...kLaptop, dark: true },
        screen: { width: 683, height: 384, zoom: 2, dark: true },
        views: ['monitor', 'bench-storing', 'bench-refused'],
    },
];
// Only the views named on the command line, when any are.
const kOnly = process.argv.slice(2);

// The scroll bars show, as in a browser on a desktop.
const browser = await startBrowser({ scrollBars: true });
try {
    for (const { name: screenName, start, screen = start, views } of kScreens) {
        for (const name of views.filter((view) => kOnly.length === 0 || kOnly.includes(view))) {
            const view = kViews[name];
            const page = await openPage(browser, { args: view.args, width: start.width, height: start.height });
            await showScreen(page, start);
            await (view.start ?? ((p) => press(p, 'Connect to a module')))(page);
            await view.show(page);
            await showScreen(page, screen);
            // The pointer rests outside the windows.
            await page.mouse.move(screen.width - 2, screen.height - 2);
            const file = path.join(docs, `web-${name}-${screenName}.png`);
            await page.screenshot({ path: file });
            console.log(file);
            await page.browserContext().close();
        }
    }
} finally {
    await browser.close();
}
