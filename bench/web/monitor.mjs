// The page's data monitor under the highest packet rate, in headless
// chromium, after scripts/web.sh:
//   node bench/web/monitor.mjs [seconds]      (default 60)
// The module behind the stand-in's adapter runs at 115200 bit/s and 1000
// packets a second (a header, three keys and one input bank); the monitor
// shows the lines with their times and captures every byte to a file. Over
// the run a key is typed into Find every three seconds: how long from the
// key press to the frame that shows it. At the end: whether the capture's
// bytes are exactly those the adapter delivered since its start.
import os from 'node:os';
import { answerMessage, byName, openPage, press, startBrowser } from '../../tests/web/browser/harness.mjs';

const seconds = Number(process.argv[2] ?? 60);
const session = await startBrowser();
try {
    const page = await openPage(session, { args: ['--silent'] });
    await press(page, 'Connect to a module');
    await answerMessage(page);
    await byName(page, 'Examine Data Received from Remote Device.', 'dialog');
    await (await byName(page, '115,200', 'radio')).click();
    await (await byName(page, 'The Vindle Module is Sending Keys', 'checkbox')).click();
    await (await byName(page, 'The Time It Came', 'checkbox')).click();
    await page.evaluate(() => window.serialStandIn.swap(['--running', '--baud', '115200', '--packet-rate', '1000']));
    await press(page, 'Capture to File…');
    await page.waitForFunction(() =>
        /^Capturing to /.test(
            [...document.querySelectorAll('[data-window="RS232Packets"] [data-control]')]
                .map((element) => element.textContent)
                .find((text) => text.startsWith('Capturing')) ?? '',
        ),
    );
    const before = await page.evaluate(() => window.serialStandIn.log.filter((entry) => !entry.out).length);
    // From each key's event to the frame after its input was taken.
    await page.evaluate(() => {
        window.keyDelays = [];
        const find = document.querySelector('[data-window="RS232Packets"] input[type="text"]');
        find.addEventListener('input', (event) => {
            const pressed = event.timeStamp;
            requestAnimationFrame(() => window.keyDelays.push(performance.now() - pressed));
        });
    });
    const find = await byName(page, 'Find Bytes:', 'textbox');
    const started = Date.now();
    while (Date.now() - started < seconds * 1000) {
        await new Promise((resolve) => setTimeout(resolve, 3000));
        await find.type('1');
    }
    await page.evaluate(() => window.serialStandIn.swap(['--silent']));
    await new Promise((resolve) => setTimeout(resolve, 1000));
    await press(page, 'Stop Capture');
    await page.waitForFunction(() => window.fileStandIn.contents['vindle-capture.jsonl']?.endsWith('}\n'));
    const result = await page.evaluate(() => {
        const all = window.serialStandIn.log.filter((entry) => !entry.out).map((entry) => entry.byte);
        const reads = window.fileStandIn.contents['vindle-capture.jsonl'].trimEnd().split('\n');
        const captured = reads.map((line) => JSON.parse(line)).flatMap((read) => read.bytes ?? []);
        const from = all.length - captured.length;
        return {
            received: all.length,
            captured: captured.length,
            from,
            exact: captured.every((byte, i) => byte === all[from + i]),
            keyDelays: window.keyDelays,
        };
    });
    const delays = [...result.keyDelays].sort((a, b) => a - b);
    const ms = (value) => `${value.toFixed(1)} ms`;
    console.log(`machine: ${os.cpus().length} cores, load ${os.loadavg()[0].toFixed(2)}`);
    console.log(`stream: ${seconds} s, ${result.received - before} bytes received while capturing`);
    console.log(
        `capture: ${result.captured} bytes from byte ${result.from} (pressed at ${before}); ` +
            `${result.exact ? 'every byte the adapter delivered, in order' : 'NOT the bytes delivered'}`,
    );
    console.log(
        `key press to its frame: median ${ms(delays[Math.floor(delays.length / 2)])}, ` +
            `worst ${ms(delays.at(-1))} of ${delays.length} keys`,
    );
    console.log(`page errors: ${page.errors.length === 0 ? 'none' : page.errors.join('; ')}`);
} finally {
    await session.close();
}
