// Opens the page the page maker wrote in the fake document, with the browser's globals the
// modules read, and imports the page's modules from where the build staged them
// (KZ_PAGE_MODULES). Each test file runs in a process of its own, so a page opened once
// stays the only one.
import {readFileSync} from "node:fs";
import {join} from "node:path";
import {pathToFileURL} from "node:url";

import {FakeDocument, FakeEvent} from "./fake_dom.mjs";

const moduleDir = process.env.KZ_PAGE_MODULES;
if (!moduleDir) {
    throw new Error("KZ_PAGE_MODULES names no folder of the page's modules");
}

export function importModule(name) {
    return import(pathToFileURL(join(moduleDir, name)).href);
}

// The handlers the page gives the program (game.js), which the bridge loads the game with.
export async function pageHandlers() {
    return (await importModule("game.js")).page;
}

// Sets up the modules of these names, in this order, as the page's entry does.
export async function initModules(...names) {
    for (const name of names) {
        (await importModule(name)).init();
    }
}

// Sets a global the way a browser has it, over whatever Node has by that name.
export function setGlobal(name, value) {
    Object.defineProperty(globalThis, name, {value, configurable: true, writable: true});
}

export function openPage() {
    const document = new FakeDocument(readFileSync(join(moduleDir, "index.html"), "utf8"));
    setGlobal("window", globalThis);
    setGlobal("document", document);
    setGlobal("navigator", {});
    const location = {origin: "https://games.example", pathname: "/kz/", search: "", hash: ""};
    setGlobal("location", location);
    setGlobal("history", {
        state: null,
        replaceState(state, title, address) {
            const hash = address.indexOf("#");
            location.hash = hash >= 0 ? address.slice(hash) : "";
        },
    });
    return document;
}

// A stand-in for the game's module: records every call of an entry point (_kz_...); an entry
// in answers gives that entry's result (a function of its arguments).
export function fakeGame(answers = {}) {
    const calls = [];
    const heap = new Map();
    let next = 16;
    const game = new Proxy(
        {
            lengthBytesUTF8: (text) => Buffer.byteLength(text),
            stringToUTF8: (text, pointer) => heap.set(pointer, text),
            _malloc: () => (next += 64),
            HEAPU8: new Uint8Array(1 << 16),
            _free: (pointer) => heap.delete(pointer),
        },
        {
            get(target, name) {
                if (name in target || typeof name !== "string" || !name.startsWith("_kz_")) {
                    return target[name];
                }
                return (...args) => {
                    // A text argument is read back from the heap, as the program would.
                    calls.push([name, ...args.map((arg) => heap.has(arg) ? heap.get(arg) : arg)]);
                    return answers[name] ? answers[name](...args) : undefined;
                };
            },
        });
    setGlobal("createKestraneModule", () => game);
    return {calls, answers};
}

export function keyEvent(type, key, code, fields = {}) {
    return new FakeEvent(type, {
        key,
        code,
        repeat: false,
        shiftKey: false,
        ctrlKey: false,
        altKey: false,
        metaKey: false,
        ...fields,
    });
}

// Sends a key's press (and its release, unless held) to what has the focus, as the browser
// does; the events back.
export function press(key, code, fields = {}, held = false) {
    const down = keyEvent("keydown", key, code, fields);
    document.activeElement.dispatchEvent(down);
    if (held) {
        return [down];
    }
    const up = keyEvent("keyup", key, code, fields);
    document.activeElement.dispatchEvent(up);
    return [down, up];
}
