// Start-up of the page's WebAssembly module under Node: from the start of
// the module's instantiation to the filled main window (the read from the
// emulated module in the same module over), and the sizes of vindle.wasm and
// vindle.js. After scripts/web-check.sh:
//   node --no-experimental-fetch bench/web/startup.mjs build-web [runs]
import { statSync } from 'node:fs';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { performance } from 'node:perf_hooks';
import { pathToFileURL } from 'node:url';

const build = path.resolve(process.argv[2] ?? 'build-web');
const runs = Number(process.argv[3] ?? 10);
const createVindleModule = createRequire(import.meta.url)(path.join(build, 'web/vindle.js'));
const { VindleSession } = await import(pathToFileURL(path.join(build, 'web/vindle-session.mjs')));

async function startUp() {
    const began = performance.now();
    const module = await createVindleModule();
    const instantiated = performance.now();
    const emulated = new module.EmulatedModule([]);
    const session = new VindleSession(module, {
        send: (byte) => emulated.receive(byte),
        poll: () => emulated.takeDue(),
        nextArrivalIn: () => emulated.nextDueIn(),
    });
    const finished = session.start();
    await new Promise((resolve) => {
        const check = () => {
            const main = session.windows.get('Main');
            if (main?.visible && main.enabled && !session.busy) resolve();
            else setTimeout(check, 0);
        };
        check();
    });
    const filled = performance.now();
    session.end();
    await finished;
    return { instantiate: instantiated - began, filled: filled - began };
}

const kib = (file) => (statSync(path.join(build, 'web', file)).size / 1024).toFixed(1);
console.log(
    `${os.cpus()[0].model}, ${os.cpus().length} cores, Node ${process.version}, load ${os.loadavg()[0].toFixed(2)}`,
);
console.log(`vindle.wasm ${kib('vindle.wasm')} KiB, vindle.js ${kib('vindle.js')} KiB`);
const results = [];
for (let i = 0; i < runs; ++i) results.push(await startUp());
const mean = (key) => (results.reduce((sum, r) => sum + r[key], 0) / results.length).toFixed(1);
const worst = (key) => Math.max(...results.map((r) => r[key])).toFixed(1);
console.log(
    `${runs} start-ups: instantiation ${mean('instantiate')} ms mean (first ${results[0].instantiate.toFixed(1)}, worst ${worst('instantiate')}); ` +
        `instantiation to the filled main window ${mean('filled')} ms mean (first ${results[0].filled.toFixed(1)}, worst ${worst('filled')})`,
);
