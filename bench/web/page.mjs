// The page in headless chromium, after scripts/web.sh:
//   node bench/web/page.mjs [runs]
// - from the page's load to the filled windows of the demo, on a first visit
//   (nothing cached) and on a later one (the service worker's cache), split
//   into the load (to the start buttons) and the start (the click on "Try
//   without a module" to the filled main window);
// - the turnaround per stored location through the page's serial path (Web
//   Serial, on the stand-in with the emulated module at 38400 bit/s), on the
//   stand-in's timestamps: from a location's acknowledgement going out of the
//   module to the next value reaching it;
// - the bytes the host sends on a first visit, the service worker's copies
//   included.
import os from 'node:os';
import { mainWindowReady, openPage, press, startBrowser } from '../../tests/web/browser/harness.mjs';

const runs = Number(process.argv[2] ?? 5);
let served = { files: 0, bytes: 0 };
const browser = await startBrowser({
    onServed: (file, bytes) => {
        served.files += 1;
        served.bytes += bytes;
    },
});

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const fixed = (ms) => `${ms.toFixed(1)} ms`;

// The page's own clock: its origin is the start of the navigation.
async function startDemo(page) {
    const ready = await page.evaluate(
        () =>
            new Promise((resolve) => {
                const demo = document.getElementById('demo');
                const check = () => (demo.disabled ? requestAnimationFrame(check) : resolve(performance.now()));
                check();
            }),
    );
    const clicked = await page.evaluate(() => {
        document.getElementById('demo').click();
        return performance.now();
    });
    await mainWindowReady(page);
    const filled = await page.evaluate(() => performance.now());
    return { load: ready, start: filled - clicked, total: ready + filled - clicked };
}

async function loads() {
    const first = [];
    const later = [];
    const transfers = [];
    for (let run = 0; run < runs; ++run) {
        served = { files: 0, bytes: 0 };
        const page = await openPage(browser);
        first.push(await startDemo(page));
        // The service worker has cached the site once it controls the page.
        await page.waitForFunction(() => navigator.serviceWorker.controller !== null);
        await new Promise((resolve) => setTimeout(resolve, 500));
        transfers.push({ ...served });
        await page.reload();
        later.push(await startDemo(page));
        await page.browserContext().close();
    }
    return { first, later, transfers };
}

async function storeTurnaround() {
    const gaps = [];
    for (let run = 0; run < runs; ++run) {
        const page = await openPage(browser);
        await press(page, 'Connect to a module');
        await mainWindowReady(page);
        const from = await page.evaluate(() => window.serialStandIn.log.length);
        await press(page, 'Store Configuration');
        await page.waitForFunction(() => window.serialStandIn.written().join().includes('253,254'));
        await mainWindowReady(page);
        const log = await page.evaluate((n) => window.serialStandIn.log.slice(n), from);
        // From the store command on: each acknowledgement in, then the next value out.
        const command = log.findIndex((entry, i) => entry.out && entry.byte === 254 && log[i - 1]?.byte === 253);
        for (let i = command; i + 1 < log.length; ++i) {
            if (!log[i].out && log[i + 1].out) gaps.push(log[i + 1].t - log[i].t);
        }
        await page.browserContext().close();
    }
    return gaps;
}

try {
    const { first, later, transfers } = await loads();
    const gaps = await storeTurnaround();
    const sorted = [...gaps].sort((a, b) => a - b);
    console.log(
        `chromium headless, ${os.cpus().length} × ${os.cpus()[0].model}, load ${os.loadavg()[0].toFixed(2)}, ${runs} runs`,
    );
    for (const [name, visits] of [
        ['first visit', first],
        ['later visit', later],
    ]) {
        console.log(
            `${name}: load to filled windows ${fixed(median(visits.map((v) => v.total)))} median, ` +
                `${fixed(Math.max(...visits.map((v) => v.total)))} worst; load ${fixed(median(visits.map((v) => v.load)))}, ` +
                `start ${fixed(median(visits.map((v) => v.start)))}`,
        );
    }
    const us = (ms) => `${(ms * 1000).toFixed(0)} µs`;
    const mean = gaps.reduce((a, b) => a + b, 0) / gaps.length;
    console.log(
        `store turnaround per location: ${us(mean)} mean, ${us(median(gaps))} median, ` +
            `${us(sorted[Math.floor(sorted.length * 0.99)])} 99th percentile, ${us(sorted.at(-1))} worst ` +
            `(${gaps.length} locations)`,
    );
    console.log(`first visit: ${transfers[0].files} files, ${transfers[0].bytes} bytes from the host`);
} finally {
    await browser.close();
}
