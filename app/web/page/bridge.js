// The bridge to the game's module: loads it with the handlers the program calls back
// (Module.page), and calls into it. A module that fails in the middle of a message cannot go
// on: the error goes to the console and the page is told, as after a failed paint.

import {pageHandlers} from "./constants.js";

let game = null;   // the module, once it runs
let over = false;  // the session has ended
let failed = () => {};

export function sessionOver() {
    return over;
}

export function endSession() {
    over = true;
}

// Loads the module and starts the program in it, with the larger pictures art resolves to
// (see art.js; null for the game's own), fetched while the module loads, once ready has
// settled too (what the program asks of the page as it starts). storeOpen says whether the
// page's store can be read as the program starts; the first frame does not wait for it.
// Resolves once it runs, to whether the store could be read as it started (otherwise the
// page calls _kz_take_up_stored once the store is open); rejects when the browser cannot run
// it or it cannot be loaded, and when page is not the handlers the program calls (see
// missingOrExtraHandlers). onFailure is called after any call into the module has failed.
export function loadGame(
    page, onFailure, art = Promise.resolve(null), ready = Promise.resolve(),
    storeOpen = () => true) {
    failed = onFailure;
    const wrong = missingOrExtraHandlers(page);
    if (wrong.length > 0) {
        return Promise.reject(
            new Error("the page's handlers differ from the program's: " + wrong.join(", ")));
    }
    const create = window.createKestraneModule;
    if (typeof WebAssembly !== "object" || typeof create !== "function") {
        return Promise.reject(new Error("this browser cannot run the game's module"));
    }
    // A factory that throws rejects too.
    return Promise.all([Promise.resolve().then(() => create({page})), art, ready])
        .then(([module, set]) => {
            game = module;
            const stored = storeOpen();
            start(set, stored);
            return stored;
        });
}

// The names of the handlers the program calls that page does not give as functions, and of
// those it gives that the program does not call: none for the page the program expects.
export function missingOrExtraHandlers(page) {
    const missing = Object.keys(pageHandlers).filter((name) => typeof page[name] !== "function");
    const extra = Object.keys(page).filter(
        (name) => !Object.prototype.hasOwnProperty.call(pageHandlers, name));
    return [...missing, ...extra];
}

// Starts the program with a set of pictures, or its own with none; one that waits for the
// store is told so by one more argument.
function start(set, stored) {
    const waiting = stored ? [] : [1];
    if (!set || !callWithSet("_kz_start", set, waiting)) {
        call("_kz_start", 1, 0, 0, 0, ...waiting);
    }
}

// Hands the running program a larger set of pictures (see art.js) to keep; _kz_use_scale then
// has it draw from the set.
export function useArt(set) {
    callWithSet("_kz_use_art", set);
}

// Calls an entry with a set of pictures (and the arguments after them): its pixels go into
// the module's heap for the call, which copies what it keeps. False when the heap has no room
// for them.
function callWithSet(entry, set, more = []) {
    const pointer = call("_malloc", set.pixels.length);
    if (!pointer) {
        return false;
    }
    game.HEAPU8.set(set.pixels, pointer);
    try {
        call(entry, set.scale, pointer, set.width, set.height, ...more);
    } finally {
        call("_free", pointer);
    }
    return true;
}

// Calls an entry point of the module with its arguments and returns its result; nothing
// happens before the module runs or after the session has ended.
export function call(entry, ...args) {
    if (!game || over) {
        return undefined;
    }
    try {
        return game[entry](...args);
    } catch (error) {
        console.error(`The game failed in ${entry}:`, error);
        failed();
        return undefined;
    }
}

// Calls an entry point with bytes (an ArrayBuffer, or null for none): they go into the
// module's heap for the call, which copies what it keeps; none is a null pointer and a length
// of 0.
export function callWithBytes(entry, bytes) {
    if (!game || over) {
        return undefined;
    }
    const length = bytes ? bytes.byteLength : 0;
    const pointer = length > 0 ? call("_malloc", length) : 0;
    if (length > 0 && !pointer) {
        return call(entry, 0, 0);
    }
    if (pointer) {
        game.HEAPU8.set(new Uint8Array(bytes), pointer);
    }
    try {
        return call(entry, pointer, pointer ? length : 0);
    } finally {
        if (pointer) {
            call("_free", pointer);
        }
    }
}

// Calls an entry point that takes one text: the text goes into the module's heap as UTF-8 for
// the call and is freed after it.
export function callWithText(entry, text) {
    if (!game || over) {
        return undefined;
    }
    const size = game.lengthBytesUTF8(text) + 1;
    const pointer = call("_malloc", size);
    if (!pointer) {
        return undefined;
    }
    game.stringToUTF8(text, pointer, size);
    try {
        return call(entry, pointer);
    } finally {
        call("_free", pointer);
    }
}
