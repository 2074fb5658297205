// Stand-ins for what a person would do outside the page, installed before
// it loads: the browser's Web Serial API (navigator.serial) with a module on
// it, and the file pickers.
//
// The serial stand-in It offers one USB adapter with a module behind it:
// the emulated module of vindle.js in an instance of its own, started with
// vindle-emulator's arguments. It keeps to the standard interface and its
// rules (an open port cannot be opened again, a locked stream cannot be
// closed) so that a page that breaks them fails here too.
//
// window.serialStandIn lets a test see and steer it:
//   log            every byte, {t (performance.now()), out (written by the
//                  page) or not, byte}
//   opens          the options of every open()
//   cancelChooser  the chooser is cancelled
//   requests       the options of every requestPort()
//   granted        the origin was given the port before (getPorts() offers
//                  it while it is plugged in); a chosen port is granted
//   plugIn()       the adapter is plugged in again (navigator.serial hears
//                  "connect")
//   openError      open() rejects with this message
//   unplugAfter(n) the adapter is pulled out once n more bytes are written
//   unplug()       the adapter is pulled out now
//   swap(args)     another module (vindle-emulator's arguments) takes the
//                  place of the one behind the adapter
//   configuration() what the module holds
//   sending()      the module has bytes still to send
//   lateWrites     bytes the page tried to write after the unplugging
//   closeDelay     close() takes this many milliseconds, as some adapters'
//                  drivers do; the port stays open meanwhile
//   closes         performance.now() of every close() that has finished
// window.fileStandIn: `toOpen` ({name, text} or {name, bytes}) is the file the next Open
// picks (null: the picker is cancelled); `saved` gets each saved {name, text},
// `contents` each file's text by name;
// `full` makes every save fail as on a full disk.
/* exported installStandIns */
function installStandIns(args) {
    'use strict';
    const files = { toOpen: null, saved: [], contents: {}, full: false };
    window.showOpenFilePicker = async () => {
        if (files.toOpen === null) throw new DOMException('The user aborted a request.', 'AbortError');
        const { name, text, bytes } = files.toOpen;
        const file = new File([bytes ? Uint8Array.from(bytes) : text], name);
        return [{ getFile: async () => file }];
    };
    // A file holds what its last closed writable wrote; a writable that
    // keeps the file's data starts from it, as the browser's does.
    window.showSaveFilePicker = async (options) => {
        const name = options.suggestedName;
        return {
            name,
            getFile: async () => new File([files.contents[name] ?? ''], name),
            createWritable: async ({ keepExistingData = false } = {}) => {
                let text = keepExistingData ? (files.contents[name] ?? '') : '';
                let at = 0;
                return {
                    seek: async (position) => {
                        at = position;
                    },
                    write: async (chunk) => {
                        text = text.slice(0, at) + chunk + text.slice(at + chunk.length);
                        at += chunk.length;
                    },
                    close: async () => {
                        if (files.full) throw new DOMException('The disk is full.', 'QuotaExceededError');
                        files.contents[name] = text;
                        files.saved.push({ name, text });
                    },
                };
            },
        };
    };
    window.fileStandIn = files;

    const standIn = {
        log: [],
        opens: [],
        cancelChooser: false,
        requests: [],
        granted: false,
        openError: null,
        unplugged: false,
        lateWrites: 0,
        closeDelay: 0,
        closes: [],
        emulated: null,
        configuration: () => Array.from(standIn.emulated.configuration()),
        sending: () => standIn.emulated.nextDueIn() !== null,
        written: () => standIn.log.filter((entry) => entry.out).map((entry) => entry.byte),
        unplugAfter: (count) => {
            standIn.writesLeft = count;
        },
        writesLeft: null,
    };

    const turns = new MessageChannel();
    const lost = () => new DOMException('The device has been lost.', 'NetworkError');

    class StandInPort extends EventTarget {
        constructor() {
            super();
            this.readable = null;
            this.writable = null;
            this.timer = null;
        }

        getInfo() {
            return { usbVendorId: 0x0403, usbProductId: 0x6001 };
        }

        async open(options) {
            if (standIn.unplugged) throw new DOMException('The device has been lost.', 'NetworkError');
            if (this.readable || this.writable)
                throw new DOMException('The port is already open.', 'InvalidStateError');
            if (!options || !Number.isInteger(options.baudRate) || options.baudRate <= 0)
                throw new TypeError('A positive baudRate is required.');
            if (standIn.openError) throw new DOMException(standIn.openError, 'NetworkError');
            standIn.opens.push({ ...options });
            if (!standIn.emulated) {
                // eslint-disable-next-line no-undef
                const module = await createVindleModule();
                standIn.module = module;
                standIn.emulated = new module.EmulatedModule(args);
            }
            this.readable = new ReadableStream({
                start: (controller) => {
                    this.incoming = controller;
                },
                cancel: () => this.stopPolling(),
            });
            this.writable = new WritableStream({
                write: (chunk) => this.received(chunk),
            });
            this.poll();
        }

        async close() {
            if (!this.readable && !this.writable)
                throw new DOMException('The port is already closed.', 'InvalidStateError');
            if (this.readable?.locked || this.writable?.locked)
                throw new TypeError('Cannot close a port whose streams are locked.');
            this.stopPolling();
            await this.readable?.cancel().catch(() => {});
            if (standIn.closeDelay > 0) await new Promise((resolve) => setTimeout(resolve, standIn.closeDelay));
            this.readable = null;
            this.writable = null;
            standIn.closes.push(performance.now());
        }

        // Bytes from the page reach the module as they are written.
        received(chunk) {
            if (standIn.unplugged) {
                standIn.lateWrites += chunk.length;
                throw lost();
            }
            for (const byte of chunk) {
                standIn.log.push({ t: performance.now(), out: true, byte });
                standIn.emulated.receive(byte);
                if (standIn.writesLeft !== null && --standIn.writesLeft <= 0) {
                    standIn.writesLeft = null;
                    standIn.unplug();
                    return;
                }
            }
            this.poll();
        }

        // The module's bytes go out when they are due.
        poll() {
            this.stopPolling();
            if (!this.incoming || standIn.unplugged) return;
            const due = Array.from(standIn.emulated.takeDue());
            if (due.length > 0) {
                const t = performance.now();
                for (const byte of due) standIn.log.push({ t, out: false, byte });
                this.incoming.enqueue(Uint8Array.from(due));
            }
            const next = standIn.emulated.nextDueIn();
            if (next === null) return;
            // A timer comes 4 ms late once timers nest: a byte due sooner is
            // looked for at every turn of the event loop.
            if (next >= 4) this.timer = setTimeout(() => this.poll(), next);
            else {
                this.timer = {};
                const timer = this.timer;
                turns.port1.onmessage = () => timer === this.timer && this.poll();
                turns.port2.postMessage(null);
            }
        }

        stopPolling() {
            clearTimeout(this.timer);
            this.timer = null;
        }

        unplug() {
            this.stopPolling();
            try {
                this.incoming?.error(lost());
            } catch {
                // already closed
            }
            this.incoming = null;
            this.readable = null;
            this.writable = null;
            this.dispatchEvent(new Event('disconnect'));
            serial.dispatchEvent(new Event('disconnect'));
            this.drainUnplugged();
        }

        // What the module sends while the adapter is out goes nowhere.
        drainUnplugged() {
            standIn.emulated.takeDue();
            const next = standIn.emulated.nextDueIn();
            if (standIn.unplugged && next !== null)
                this.timer = setTimeout(() => this.drainUnplugged(), Math.max(next, 1));
        }
    }

    class StandInSerial extends EventTarget {
        async requestPort(options = {}) {
            standIn.requests.push(options);
            if (standIn.cancelChooser) throw new DOMException('No port selected by the user.', 'NotFoundError');
            // The chooser lists the adapter only when a filter lets it through.
            const offered =
                !options.filters?.length ||
                options.filters.some((filter) => filter.usbVendorId === port.getInfo().usbVendorId);
            if (!offered) throw new DOMException('No port selected by the user.', 'NotFoundError');
            standIn.granted = true;
            return port;
        }

        async getPorts() {
            return standIn.granted && !standIn.unplugged ? [port] : [];
        }
    }

    const port = new StandInPort();
    const serial = new StandInSerial();
    standIn.unplug = () => {
        standIn.unplugged = true;
        port.unplug();
    };
    standIn.plugIn = () => {
        standIn.unplugged = false;
        port.stopPolling();
        serial.dispatchEvent(new Event('connect'));
    };
    standIn.swap = (moduleArgs) => {
        standIn.emulated.delete();
        standIn.emulated = new standIn.module.EmulatedModule(moduleArgs);
        // A module that sends unasked (running) starts at once.
        port.poll();
    };
    Object.defineProperty(Navigator.prototype, 'serial', { get: () => serial, configurable: true });
    window.serialStandIn = standIn;
}
