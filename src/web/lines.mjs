// The lines a page's session talks over (see vindle-session.mjs for what a
// line is): a module emulated in the page, and a serial port of the browser's
// Web Serial API.

// The module emulated in `module` (vindle.js), started with vindle-emulator's
// arguments. Its bytes are polled by the core, on the page's clock.
export function emulatedLine(module, args = []) {
    const emulated = new module.EmulatedModule(args);
    return {
        emulated,
        send: (byte) => emulated.receive(byte),
        poll: () => emulated.takeDue(),
        nextArrivalIn: () => emulated.nextDueIn(),
        close: async () => emulated.delete(),
    };
}

// The module's line: 8 data bits, no parity, 1 stop bit, no flow control.
const kFraming = { dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' };
export const kModuleBitRate = 38400;

// What a person calls the port: the browser gives no device name, only the
// adapter's USB identity when it has one.
export function portName(port) {
    const info = port.getInfo?.() ?? {};
    if (info.usbVendorId === undefined) return 'you chose';
    const hex = (id) => (id ?? 0).toString(16).padStart(4, '0');
    return `USB ${hex(info.usbVendorId)}:${hex(info.usbProductId)}`;
}

// A Web Serial port as the session's line. Written bytes go out in order, in
// as few writes as the core's turns allow; received bytes go to
// `onReceived`. A change of bit rate closes the port and opens it again at
// the new rate (Web Serial cannot change the rate of an open port); bytes
// written meanwhile wait for it. When the port stops working (unplugged, a
// read error that ends its stream, a failed write or reopening) `onStopped`
// hears the browser's reason once, and from then on nothing is sent.
export class WebSerialLine {
    constructor(port, { onReceived, onStopped } = {}) {
        this.port = port;
        this.onReceived = onReceived ?? (() => {});
        this.onStopped = onStopped ?? (() => {});
        this.bitRate = kModuleBitRate;
        // The port's writes and reopenings, one after the other.
        this.tasks = Promise.resolve();
        // The bytes of the write queued last, while it has not started.
        this.batch = null;
        this.reader = null;
        this.reading = null;
        this.generation = 0;
        this.stopped = false;
        this.closing = false;
        this.lost = (event) => {
            if (event.target === this.port) this.stop('The device has been lost.');
        };
    }

    // Opens the port for the module; rejects with the browser's error.
    async open() {
        await this.port.open({ baudRate: this.bitRate, ...kFraming });
        // Fired at the port, and bubbling to navigator.serial.
        this.port.addEventListener?.('disconnect', this.lost);
        navigator.serial?.addEventListener('disconnect', this.lost);
        this.startReading();
    }

    send(byte) {
        if (this.stopped || this.closing) return;
        // Everything the core writes in one turn goes out in one write.
        if (this.batch === null) {
            const batch = (this.batch = []);
            this.enqueue(() => {
                if (this.batch === batch) this.batch = null;
                return this.write(batch);
            });
        }
        this.batch.push(byte);
    }

    setBitRate(bits) {
        if (bits === this.bitRate || this.stopped || this.closing) return;
        this.bitRate = bits;
        // What was written before goes out at the old rate, the rest at the new.
        this.batch = null;
        this.enqueue(() => this.reopen());
    }

    // Lets go of the port: what was written is sent first.
    async close() {
        if (this.closing) return;
        this.closing = true;
        this.port.removeEventListener?.('disconnect', this.lost);
        navigator.serial?.removeEventListener('disconnect', this.lost);
        await this.tasks;
        await this.stopReading();
        await this.port.close().catch(() => {});
    }

    // -------------------------------------------------------------------------

    enqueue(task) {
        this.tasks = this.tasks.then(task).catch((error) => this.stop(reasonOf(error)));
    }

    async write(bytes) {
        if (this.stopped) return;
        const writer = this.port.writable.getWriter();
        try {
            await writer.write(Uint8Array.from(bytes));
        } finally {
            writer.releaseLock();
        }
    }

    async reopen() {
        if (this.stopped) return;
        await this.stopReading();
        await this.port.close();
        await this.port.open({ baudRate: this.bitRate, ...kFraming });
        this.startReading();
    }

    startReading() {
        this.reading = this.readLoop(++this.generation);
    }

    async stopReading() {
        ++this.generation;
        await this.reader?.cancel().catch(() => {});
        await this.reading;
    }

    async readLoop(generation) {
        const current = () => this.generation === generation && !this.stopped;
        // A line error (framing, parity, overrun) ends one stream and the
        // port offers the next; a port without one is gone.
        while (this.port.readable && current()) {
            this.reader = this.port.readable.getReader();
            try {
                for (;;) {
                    const { value, done } = await this.reader.read();
                    if (done) break;
                    if (value?.length) this.onReceived(value);
                }
            } catch (error) {
                if (current() && !this.port.readable) this.stop(reasonOf(error));
            } finally {
                this.reader.releaseLock();
                this.reader = null;
            }
        }
        if (current() && !this.closing) this.stop('The port can no longer be read.');
    }

    stop(reason) {
        if (this.stopped || this.closing) return;
        this.stopped = true;
        this.batch = null;
        this.onStopped(reason);
    }
}

function reasonOf(error) {
    return error?.message || String(error);
}
