// The program's calls into the page: the page gives every handler the program declares and
// none that nothing calls, and the bridge refuses a page that does not; the linked functions
// carry numbers, texts and truth values across as the program reads them.
import assert from "node:assert/strict";
import {readFileSync} from "node:fs";
import {before, test} from "node:test";

import {importModule, openPage, setGlobal} from "./page_environment.mjs";

const librarySource =
    readFileSync(new URL("../../../app/web/page_library.js", import.meta.url), "utf8");

openPage();
let page;
let pageHandlers;
let bridge;

before(async () => {
    ({page} = await importModule("game.js"));
    ({pageHandlers} = await importModule("constants.js"));
    bridge = await importModule("bridge.js");
});

// The library as the linker takes it, its functions run with texts standing for pointers.
const library = {};
new Function("mergeInto", "LibraryManager", librarySource)(
    (target, entries) => Object.assign(target, entries), {library});
const heap = new Map();
setGlobal("UTF8ToString", (text) => text);
setGlobal("lengthBytesUTF8", (text) => Buffer.byteLength(text));
setGlobal("_malloc", () => 100 + heap.size);
setGlobal("stringToUTF8", (text, pointer) => heap.set(pointer, text));
setGlobal("kzPageHandler", library.$kzPageHandler);
setGlobal("kzPageResult", library.$kzPageResult);

test(
    "the page gives the handlers the program declares, and the bridge refuses one that does not",
    async () => {
        assert.ok(Object.keys(pageHandlers).includes("present"));
        assert.deepEqual(Object.keys(page).sort(), Object.keys(pageHandlers).sort());
        assert.deepEqual(bridge.missingOrExtraHandlers(page), []);
        const {beep, ...lacking} = page;
        assert.equal(typeof beep, "function");
        assert.deepEqual(
            bridge.missingOrExtraHandlers({...lacking, shout: () => {}}), ["beep", "shout"]);
        assert.deepEqual(bridge.missingOrExtraHandlers({...page, beep: 1}), ["beep"]);
        setGlobal("WebAssembly", {});
        setGlobal(
            "createKestraneModule", () => assert.fail("a page the program cannot call loaded it"));
        await assert.rejects(bridge.loadGame(lacking, () => {}), /differ from the program's: beep/);
    });

test("numbers, texts and truth values cross as the program reads them", () => {
    const heard = [];
    setGlobal("Module", {
        page: {
            startInterval: (timerId, period) => timerId * 1000 + period,
            saveText: (name, text) => name === "records" && text === "{}",
            enableCommand: (...args) => {
                heard.push(args);
            },
            loadText: (name) => (name === "records" ? "{\"rows\":[]}" : null),
        }
    });
    assert.equal(library.kz_page_call("startInterval", 7, 50), 7050);
    assert.equal(library.kz_page_call_texts("saveText", "records", "{}"), 1);
    assert.equal(library.kz_page_call_texts("saveText", "other", "{}"), 0);
    assert.equal(library.kz_page_call("enableCommand", 4, 1), 0);
    assert.deepEqual(heard, [[4, 1]]);
    const pointer = library.kz_page_read_text("loadText", "records");
    assert.equal(heap.get(pointer), "{\"rows\":[]}");
    assert.equal(library.kz_page_read_text("loadText", "settings"), 0);
});

test("a text of any characters crosses with its length, a NUL and all", () => {
    // The module's memory, for the functions that read and write it by length.
    const memory = new Uint8Array(1024);
    let next = 8;
    setGlobal("HEAPU8", memory);
    setGlobal("HEAP32", new Int32Array(memory.buffer));
    setGlobal("_malloc", (size) => {
        const pointer = next;
        next += size + 8 - (size % 8);
        return pointer;
    });
    const text = "# a\u0000b\ntable size=3 \u00e9\n";
    let saved = null;
    setGlobal("Module", {
        page: {
            loadText: (name) => (name === "records" ? text : null),
            saveText: (name, value) => {
                saved = value;
                return true;
            },
        }
    });
    const lengthAt = 0;
    const pointer = library.kz_page_read_bytes("loadText", "records", lengthAt);
    const bytes = new TextEncoder().encode(text);
    assert.equal(memory[lengthAt] + memory[lengthAt + 1] * 256, bytes.length);
    assert.deepEqual(memory.slice(pointer, pointer + bytes.length), bytes);
    assert.equal(library.kz_page_read_bytes("loadText", "other", lengthAt), 0);

    assert.equal(library.kz_page_call_bytes("saveText", "records", pointer, bytes.length), 1);
    assert.equal(saved, text);
});

test("a handler the page lacks fails the call, naming it", () => {
    setGlobal("Module", {page: {}});
    assert.throws(() => library.kz_page_call("beep", 0, 0), /no handler beep/);
});
