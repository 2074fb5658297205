// The lines a page's session talks over (see vindle-session.mjs for what a
// line is): a module emulated in the page, and a serial port of the browser's
// Web Serial API.

// The module emulated in `module` (vindle.js), started with vindle-emulator's
// arguments. Its bytes are polled by the core, on the page's clock.
export function emulatedLine(module, args = []) {
    const emulated = new module.EmulatedModule(args);
    return {
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
    const hex = (id) => (id ?? 0).toString(16).toUpperCase().padStart(4, '0');
    return `USB ${hex(info.usbVendorId)}:${hex(info.usbProductId)}`;
}

// What a person calls the port among `ports`, those the origin was granted:
// a second adapter of the same kind is told apart by the order it was
// granted in, "USB 0403:6001 (2)".
export function namedPort(port, ports) {
    const name = portName(port);
    const alike = ports.filter((other) => portName(other) === name);
    const at = alike.indexOf(port);
    return at > 0 ? `${name} (${at + 1})` : name;
}

// A Web Serial port as the session's line. A written byte goes to the port
// at once; bytes written while the port is still taking the last ones go
// together after them. Received bytes go to `onReceived`. A change of bit
// rate closes the port and opens it again at the new rate (Web Serial cannot
// change the rate of an open port); bytes written meanwhile wait for it. When
// the port stops working (unplugged, a read error that ends its stream, a
// failed write or reopening) `onStopped` hears the browser's reason once,
// and from then on nothing is sent.
export class WebSerialLine {
    constructor(port, { onReceived, onStopped } = {}) {
        this.port = port;
        this.onReceived = onReceived ?? (() => {});
        this.onStopped = onStopped ?? (() => {});
        this.bitRate = kModuleBitRate;
        this.writer = null;
        // Bytes not yet handed to the port, and the write it is busy with.
        this.pending = [];
        this.writing = null;
        // The reopenings at a new rate, one after the other.
        this.reopening = null;
        this.reader = null;
        this.reading = null;
        this.generation = 0;
        this.stopped = false;
        this.closing = false;
        // Where a store under way is noted: per adapter, as the page names
        // it (the page may name it apart from another of its kind).
        this.journalKey = `vindle-store:${portName(port)}`;
        this.lost = (event) => {
            if (event.target === this.port) this.stop('The device has been lost.');
        };
    }

    // Opens the port for the module; rejects with the browser's error.
    async open() {
        await this.openAtRate();
        // Fired at the port, and bubbling to navigator.serial.
        this.port.addEventListener?.('disconnect', this.lost);
        navigator.serial?.addEventListener('disconnect', this.lost);
    }

    send(byte) {
        if (this.stopped || this.closing) return;
        this.pending.push(byte);
        if (!this.writing && !this.reopening) this.flush();
    }

    setBitRate(bits) {
        if (bits === this.bitRate || this.stopped || this.closing) return;
        this.bitRate = bits;
        // What was written before goes out at the old rate, the rest at the new.
        const before = this.pending.splice(0);
        const previous = this.reopening ?? Promise.resolve();
        const reopening = previous.then(() => this.reopen(before));
        this.reopening = reopening;
        reopening.finally(() => {
            if (this.reopening !== reopening) return;
            this.reopening = null;
            this.flush();
        });
    }

    // Lets go of the port: what was written is sent first.
    async close() {
        if (this.closing) return;
        this.closing = true;
        this.port.removeEventListener?.('disconnect', this.lost);
        navigator.serial?.removeEventListener('disconnect', this.lost);
        await this.reopening;
        await this.drain();
        await this.letGo();
    }

    // -------------------------------------------------------------------------

    flush() {
        if (this.pending.length === 0 || this.stopped || this.writer === null) return;
        const bytes = Uint8Array.from(this.pending.splice(0));
        this.writing = this.writer.write(bytes).then(
            () => {
                this.writing = null;
                if (!this.reopening) this.flush();
            },
            (error) => {
                this.writing = null;
                this.stop(reasonOf(error));
            },
        );
    }

    async drain() {
        while (this.writing) await this.writing;
    }

    async reopen(before) {
        try {
            await this.drain();
            if (before.length > 0 && !this.stopped) await this.writer.write(Uint8Array.from(before));
            if (this.stopped) return;
            await this.letGo();
            await this.openAtRate();
        } catch (error) {
            this.stop(reasonOf(error));
        }
    }

    async openAtRate() {
        await this.port.open({ baudRate: this.bitRate, ...kFraming });
        this.writer = this.port.writable.getWriter();
        this.startReading();
    }

    async letGo() {
        this.writer?.releaseLock();
        this.writer = null;
        await this.stopReading();
        await this.port.close().catch(() => {});
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
        this.pending = [];
        this.onStopped(reason);
    }
}

function reasonOf(error) {
    return error?.message || String(error);
}
