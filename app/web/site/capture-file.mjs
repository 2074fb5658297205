// @ts-check
// A capture's file on the page: whole lines appended to a file the person
// chose (File System Access: Chrome and Edge). What comes is gathered and
// written once a second. Each write opens the file again with what it
// holds, puts the new lines at its end and closes it: only then does the
// file take them, all at once, so it never ends in part of a line.

export const kCaptureInterval = 1000;

/** The browser can write a capture: it has the save picker. */
export function canCapture() {
    return typeof window !== 'undefined' && typeof window.showSaveFilePicker === 'function';
}

export class CaptureFile {
    /**
     * @param {FileSystemFileHandle} handle
     * @param {(reason: string) => void} failed hears once why a write failed
     */
    constructor(handle, failed) {
        this.handle = handle;
        this.name = handle.name;
        this.failed = failed;
        this.waiting = '';
        this.size = null;
        this.writing = Promise.resolve();
        this.broken = false;
        this.closed = false;
        this.timer = setInterval(() => this.flush(), kCaptureInterval);
    }

    /** @param {string} lines whole lines, each ended */
    append(lines) {
        if (!this.broken && !this.closed) this.waiting += lines;
    }

    /** Writes what waits; settles once it is in the file (or has failed). */
    flush() {
        if (this.waiting === '' || this.broken) return this.writing;
        const lines = this.waiting;
        this.waiting = '';
        this.writing = this.writing.then(() => this.write(lines));
        return this.writing;
    }

    async write(lines) {
        if (this.broken) return;
        try {
            this.size ??= (await this.handle.getFile()).size;
            const writable = await this.handle.createWritable({ keepExistingData: true });
            await writable.seek(this.size);
            await writable.write(lines);
            await writable.close();
            this.size += new TextEncoder().encode(lines).length;
        } catch (error) {
            this.broken = true;
            this.stop();
            this.failed(error?.message ?? String(error));
        }
    }

    /** The capture is over: what waits is written, and nothing after it. */
    close() {
        this.stop();
        this.closed = true;
        return this.flush();
    }

    stop() {
        clearInterval(this.timer);
    }
}
