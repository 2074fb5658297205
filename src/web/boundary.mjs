// @ts-check
// The boundary between the page and the core in its WebAssembly module, in
// one place: what the page queues for the core (the actions), what the core
// calls on the page (the callbacks of the object vindle-session.mjs makes),
// and what a mirrored window and control hold (see WindowMirror.h). The
// types are for editors and readers; the values here are the names the core
// reads.

/**
 * A rectangle in twips, as the window's design places it.
 * @typedef {{left: number, top: number, width: number, height: number}} Twips
 */

/**
 * One control as the core describes it.
 * @typedef {object} ControlState
 * @property {number} id its place in the window's controls
 * @property {'frame'|'optionGroup'|'option'|'checkBox'|'slider'|'textBox'|'label'|'button'|'progressBar'|'lineDisplay'} kind
 * @property {string} name
 * @property {number|null} index its place in a control array
 * @property {string} caption
 * @property {string} accessibleName
 * @property {string} description what explains it once focused
 * @property {Twips|null} layout
 * @property {number|null} parent the enclosing frame's id
 * @property {number} [group] an option's group id
 * @property {number|null} namedBy the label that names it
 * @property {boolean} enabled
 * @property {boolean} visible
 * @property {boolean} effectivelyEnabled
 * @property {boolean} effectivelyVisible
 * @property {boolean} inFooter
 * @property {string} shortcut the keys that reach it anywhere in its window, or ''
 * @property {boolean|number|null} [selected] an option's flag, a group's index
 * @property {number} [value]
 * @property {number} [minimum]
 * @property {number} [maximum]
 * @property {string} [text]
 * @property {boolean} [takesEnter] a text box's Enter is an action
 * @property {boolean} [wrapsWords]
 * @property {number} [capacity] a line display's most lines
 * @property {number} [linesAdded]
 * @property {string[]} [lines] newest first
 * @property {boolean} [replaced] the lines are all the display keeps, written anew
 * @property {{index: number, count: number}|null} [marked] lines marked for the person
 */

/**
 * One window as the core describes it.
 * @typedef {object} WindowState
 * @property {string} name
 * @property {string} title
 * @property {boolean} visible
 * @property {boolean} enabled
 * @property {boolean} closable
 * @property {boolean} closesOnEscape
 * @property {boolean} closeEndsProgram
 * @property {Twips|null} clientArea
 * @property {number|null} footerTop
 * @property {number} twipsPerPixel
 * @property {number} wideningStep
 * @property {number} mostWideningSteps
 * @property {ControlState[]} controls
 * @property {number[]} readingOrder
 * @property {number[]} tabStops
 */

/**
 * What the page queues for the core; the core takes it inside its next wait.
 * @typedef {{action: 'click'|'toggle'|'value'|'drag'|'text'|'press'|'enter'|'mouseOver', window: string, control: number|null, value?: unknown}
 *   | {action: 'close', window: string}
 *   | {action: 'answer', message: number}
 *   | {action: 'openConfiguration', name: string, size: number, text: Uint8Array|string}
 *   | {action: 'saveConfiguration'}
 *   | {action: 'configurationWritten'}
 *   | {action: 'linesSaved', name: string}
 *   | {action: 'captureChosen', name: string}
 *   | {action: 'captureFailed', reason: string}
 *   | {action: 'portStopped', port: string, reason: string}
 *   | {action: 'end'}
 *   | {action: 'stop'}
 *   | {action: 'serial', serial: string}
 *   | {action: 'portBack'}} PageAction
 */

/**
 * The file a bench stores, and what it asks of the page before each module.
 * @typedef {object} BenchFile
 * @property {string} name
 * @property {Uint8Array} text the file's bytes
 * @property {string|null} sha256 of those bytes
 * @property {string} port what the bench calls the port
 * @property {string} log the station log's lines whose serial numbers count as logged
 * @property {() => boolean} checking true: the next module is compared, not stored
 * @property {() => {station: string, operator: string, askSerial: boolean}} record
 */

/**
 * What the core calls on the page's session, by name: a run of the windows
 * (PageRun.h, WindowMirror.h), the bench (PageBench.h), and both (the port,
 * the pump, the clock and the store's note).
 */
export const kCallbacks = Object.freeze({
    run: [
        'windowOpened',
        'windowChanged',
        'controlChanged',
        'tabStopsChanged',
        'announce',
        'exchangeRunning',
        'showMessage',
        'configurationSaved',
        'saveLines',
        'chooseCapture',
        'captureAppend',
        'captureEnd',
        'editsUnsaved',
        'ended',
    ],
    bench: [
        'benchFile',
        'benchChecking',
        'benchRecord',
        'benchState',
        'benchProgress',
        'benchWaits',
        'benchSerial',
        'benchModule',
        'benchEnded',
        'isoNow',
    ],
    both: ['send', 'setBitRate', 'takeReceived', 'takeAction', 'wait', 'storeJournal'],
});
