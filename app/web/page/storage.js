// The settings, the records and the game in progress, and the lock that lets one tab alone
// keep the game.
//
// The settings are kept in local storage. The records and the game (the stored texts) are
// kept there too, where every version of the page reads and writes them, and in step in the
// page's IndexedDB store, whose writes are on the disk once they are done: the browser writes
// local storage to its disk late, and a browser killed soon after a change would come back
// without it. A text goes to local storage first, whose answer is the program's, with a serial
// number beside it (under the text's name and "Serial"), then to the store with the same
// number. As the page opens, the two copies of each text are compared and the later one is
// written over the other (latestCopy): what an earlier version, or a page without the store,
// wrote to local storage is taken over, and what local storage lost comes back from the store.
// Without a store, or with one that refuses, the page keeps to local storage and says once
// that progress may be lost.

import {storedTexts} from "./constants.js";

// Held by the tab that took up the kept game, for as long as that tab lives; the browser
// lets it go when the tab closes or is discarded.
const gameLockName = "kestrane-zivadorured-game";
let gameClaimed = true;

const databaseName = "kestrane-zivadorured";
const textStore = "texts";
// A store that has not opened by then is not waited for: the game is played with local
// storage alone rather than not at all.
const openingLimitMs = 5000;
// A cookie of the browser's session: a page of the game ran in it before, so local storage
// holds every write since the browser started, and one found empty was emptied.
const sessionCookie = "kestrane-zivadorured-session";

export const riskText =
    "Progress may be lost if the browser is closed suddenly: it does not let the page keep the game safely.";

let database = null;
// Says riskText, once; null once said or while no store was asked for.
let warn = null;
// The serial number of each stored text's latest write this page knows.
const serials = new Map();
// What the store brought back that local storage did not take (full, say), by name.
const restored = new Map();
// Settles once every write to the store asked for so far has been done or refused.
let durableWrites = Promise.resolve();

// The stored text, or null when nothing is stored or storage is closed to the page (the
// program then takes its defaults).
export function loadSetting(name) {
    try {
        return window.localStorage.getItem(name);
    } catch {
        return null;
    }
}

export function saveSetting(name, value) {
    try {
        window.localStorage.setItem(name, String(value));
    } catch {
        // Not kept; the next visit starts with what storage still holds.
    }
}

// The records' or the game's text, or null when none is stored or storage is closed to the
// page.
export function loadText(name) {
    return restored.has(name) ? restored.get(name) : loadSetting(name);
}

// False when the text could not be kept (storage closed or full); then the store is not
// written either, so the two keep the same text.
export function saveText(name, text) {
    const serial = Math.max(localSerial(name) || 0, serials.get(name) || 0) + 1;
    try {
        window.localStorage.setItem(name, text);
    } catch {
        return false;
    }
    restored.delete(name);
    serials.set(name, serial);
    saveSetting(serialName(name), serial);
    if (database && storedTexts.includes(name)) {
        writeDurably(name, text, serial);
    }
    return true;
}

// Where local storage keeps the serial number of a text's write.
export function serialName(name) {
    return `${name}Serial`;
}

function localSerial(name) {
    const text = loadSetting(serialName(name));
    const serial = Number(text);
    return text !== null && text !== "" && Number.isSafeInteger(serial) && serial >= 0 ? serial :
                                                                                         null;
}

// A short mark of a text: its length and FNV-1a hash, for knowing a text seen before.
export function digest(text) {
    let hash = 0x811c9dc5;
    for (let i = 0; i < text.length; ++i) {
        hash = Math.imul(hash ^ text.charCodeAt(i), 0x01000193);
    }
    return `${text.length}:${hash >>> 0}`;
}

// Which copy of a stored text holds its latest write: "local" (local storage) or "durable"
// (the store).
//   local, serial: local storage's text and the serial number beside it, null for none
//   durable: the store's {text, serial, taken}, or undefined for nothing stored; taken is
//     the digest of the text last taken over from local storage
//   sameSession: a page of the game ran before in this session of the browser
export function latestCopy({local, serial, durable, sameSession}) {
    if (!durable) {
        return "local";
    }
    if (serial !== null) {
        // Written by this version: local storage lost the writes numbered after its own, or
        // a version that writes no number wrote over it since.
        return serial < durable.serial ? "durable" : "local";
    }
    if (sameSession) {
        // Nothing of this session is lost: local storage was emptied, or an earlier version
        // wrote it.
        return "local";
    }
    if (local === null) {
        // The browser stopped before local storage reached the disk.
        return "durable";
    }
    // An earlier version's text: the one taken over already, with the writes after it lost,
    // or a new one.
    return digest(local) === durable.taken ? "durable" : "local";
}

// Opens the store and brings local storage and it into step; resolves to whether the store
// is open (false: local storage alone, and onRisk was told riskText). Never rejects. onRisk
// is told riskText at most once, now or when a later write is refused.
export function openStore(onRisk = () => {}) {
    warn = onRisk;
    const sameSession = seenThisSession();
    return new Promise((resolve) => {
        let settled = false;
        const finish = (opened) => {
            if (settled) {
                if (opened) {
                    opened.close();
                }
                return;
            }
            settled = true;
            clearTimeout(limit);
            database = opened;
            if (!opened) {
                sayRisk();
            }
            resolve(opened !== null);
        };
        const limit = setTimeout(() => finish(null), openingLimitMs);
        let request;
        try {
            request = window.indexedDB.open(databaseName, 1);
        } catch {
            finish(null);
            return;
        }
        request.onupgradeneeded = () => request.result.createObjectStore(textStore);
        request.onerror = (event) => {
            event.preventDefault();
            finish(null);
        };
        request.onsuccess = () => {
            const opened = request.result;
            const lost = () => {
                if (database === opened) {
                    database = null;
                    sayRisk();
                }
            };
            // A later version of the page asks for the store: it is its.
            opened.onversionchange = () => {
                opened.close();
                lost();
            };
            opened.onclose = lost;
            if (settled) {
                opened.close();
                return;
            }
            takeStored(opened, sameSession).then((inStep) => {
                if (!inStep) {
                    opened.close();
                }
                finish(inStep ? opened : null);
            });
        };
    });
}

// Resolves once every write to the store asked for so far is done or refused.
export function storeWritten() {
    return durableWrites;
}

// Reads the session's cookie, and sets it.
function seenThisSession() {
    try {
        const seen =
            document.cookie.split(";").some((part) => part.trim() === `${sessionCookie}=1`);
        document.cookie = `${sessionCookie}=1; path=/; SameSite=Strict`;
        return seen;
    } catch {
        return false;
    }
}

function sayRisk() {
    if (warn) {
        const say = warn;
        warn = null;
        say(riskText);
    }
}

// Compares each stored text with local storage's and writes the later one over the other,
// in one transaction; resolves to whether it was done.
function takeStored(opened, sameSession) {
    return new Promise((resolve) => {
        let transaction;
        try {
            transaction = opened.transaction(textStore, "readwrite", {durability: "strict"});
            const texts = transaction.objectStore(textStore);
            for (const name of storedTexts) {
                const request = texts.get(name);
                request.onsuccess = () => {
                    try {
                        bringInStep(texts, name, request.result, sameSession);
                    } catch {
                        transaction.abort();
                    }
                };
            }
        } catch {
            resolve(false);
            return;
        }
        transaction.oncomplete = () => resolve(true);
        transaction.onabort = () => resolve(false);
    });
}

// The store's copy of a text, or undefined for none or one that is no copy of this page's.
function usable(record) {
    return record && typeof record.text === "string" && Number.isSafeInteger(record.serial) ?
        record :
        undefined;
}

function bringInStep(texts, name, found, sameSession) {
    const durable = usable(found);
    const local = loadSetting(name);
    const serial = localSerial(name);
    if (latestCopy({local, serial, durable, sameSession}) === "durable") {
        serials.set(name, durable.serial);
        try {
            window.localStorage.setItem(name, durable.text);
        } catch {
            restored.set(name, durable.text);
        }
        saveSetting(serialName(name), durable.serial);
        return;
    }
    if (local === null) {
        if (found !== undefined) {
            texts.delete(name);
        }
        return;
    }
    if (durable && durable.text === local) {
        serials.set(name, Math.max(serial || 0, durable.serial));
        if (serial === null) {
            saveSetting(serialName(name), durable.serial);
        }
        return;
    }
    const next = Math.max(serial || 0, durable ? durable.serial : 0) + 1;
    texts.put({text: local, serial: next, taken: digest(local)}, name);
    serials.set(name, next);
    saveSetting(serialName(name), next);
}

// Writes a text to the store unless a later write of it is there already (another tab's).
// A write refused (storage full, say) leaves local storage's copy the only one, and the
// player is told once; the next write tries the store again.
function writeDurably(name, text, serial) {
    const written = new Promise((resolve) => {
        const refused = () => {
            sayRisk();
            resolve(false);
        };
        let transaction;
        try {
            transaction = database.transaction(textStore, "readwrite", {durability: "strict"});
            const texts = transaction.objectStore(textStore);
            const request = texts.get(name);
            request.onsuccess = () => {
                const older = usable(request.result);
                try {
                    if (!older || older.serial < serial) {
                        texts.put({text, serial, taken: older ? older.taken : null}, name);
                    }
                } catch {
                    transaction.abort();
                }
            };
        } catch {
            refused();
            return;
        }
        transaction.oncomplete = () => resolve(true);
        transaction.onabort = refused;
    });
    durableWrites = Promise.all([durableWrites, written]).then(() => undefined);
}

// Asks for the kept game's lock; resolves to whether this tab got it, and with it the kept
// game. Two tabs opened at once would otherwise both take the game up and count it twice:
// the one that does not get the lock plays a game of its own and leaves the kept one alone.
// A browser without the lock, or one that refuses it to the page, lets every tab take the
// game up.
export function claimKeptGame() {
    const locks = navigator.locks;
    if (!locks || typeof locks.request !== "function") {
        gameClaimed = true;
        return Promise.resolve(true);
    }
    return new Promise((resolve) => {
        const granted = (lock) => {
            gameClaimed = lock !== null;
            resolve(gameClaimed);
            // Never settled, so the lock is held until the tab goes.
            return gameClaimed ? new Promise(() => {}) : undefined;
        };
        const refused = () => {
            gameClaimed = true;
            resolve(true);
        };
        try {
            locks.request(gameLockName, {ifAvailable: true}, granted).catch(refused);
        } catch {
            refused();
        }
    });
}

// Whether this tab takes up and keeps the game in progress (see claimKeptGame).
export function keepsGame() {
    return gameClaimed;
}
