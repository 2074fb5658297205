// The station log's lines, kept in the origin's storage as each is written,
// so that closing or reloading the tab loses none: lines not yet saved to a
// file are offered again on the next visit. Where the browser gives no
// storage (a private window's policy, say) the lines live in the page alone.

const kDatabase = 'vindle-station-log';
const kLines = 'lines';

function done(request) {
    return new Promise((resolve, reject) => {
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
}

function committed(transaction) {
    return new Promise((resolve, reject) => {
        transaction.oncomplete = () => resolve();
        transaction.onerror = () => reject(transaction.error);
        transaction.onabort = () => reject(transaction.error);
    });
}

export class StationLogStore {
    // The store of this origin, with the lines not yet saved; one kept in
    // memory when there is none.
    static async open() {
        try {
            const opening = indexedDB.open(kDatabase, 1);
            opening.onupgradeneeded = () => opening.result.createObjectStore(kLines);
            const log = new StationLogStore(await done(opening));
            const store = log.database.transaction(kLines).objectStore(kLines);
            const [keys, values] = await Promise.all([done(store.getAllKeys()), done(store.getAll())]);
            keys.forEach((key, i) => log.unsaved.set(key, values[i]));
            return log;
        } catch {
            return new StationLogStore(null);
        }
    }

    constructor(database) {
        this.database = database;
        // Lines not saved to a file: key to line, in the order written.
        this.unsaved = new Map();
        this.written = 0;
        this.stored = Promise.resolve();
    }

    // Keeps a line: in the page at once, in storage soon after. Returns its
    // key, which orders the lines as they were written.
    append(line) {
        const key = `${String(Date.now()).padStart(15, '0')}-${String(++this.written).padStart(6, '0')}`;
        this.unsaved.set(key, line);
        this.stored = this.write((store) => store.put(line, key));
        return key;
    }

    // The lines of `keys` are in a file now, or given up: they are let go.
    letGo(keys) {
        for (const key of keys) this.unsaved.delete(key);
        this.stored = this.write((store) => keys.forEach((key) => store.delete(key)));
        return this.stored;
    }

    // Settles once storage holds what was appended and let go so far.
    async write(change) {
        await this.stored;
        if (this.database === null) return;
        try {
            const transaction = this.database.transaction(kLines, 'readwrite');
            change(transaction.objectStore(kLines));
            await committed(transaction);
        } catch {
            // Storage full or taken away: the page still holds the lines.
        }
    }
}

// The lines as a station log file: each line ends in a newline, the last too.
export function logText(lines) {
    return lines.map((line) => `${line}\n`).join('');
}

// The name a saved log is offered under: the day's date, as this computer
// tells it.
export function logFileName(now = new Date()) {
    const day = [now.getFullYear(), now.getMonth() + 1, now.getDate()].map((n) => String(n).padStart(2, '0')).join('-');
    return `vindle-station-log-${day}.jsonl`;
}
