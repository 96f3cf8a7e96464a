// The program's calls into the page: every handler the program's side names is one the page
// gives, and the page gives none that nothing calls; the linked functions carry numbers,
// texts and truth values across as the program reads them.
import assert from "node:assert/strict";
import {readFileSync} from "node:fs";
import {before, test} from "node:test";

import {importModule, openPage, setGlobal} from "./page_environment.mjs";

const source = (name) => readFileSync(new URL(`../../../app/web/${name}`, import.meta.url), "utf8");
const program = source("web_main.cpp");
const librarySource = source("page_library.js");

openPage();
let page;

before(async () => {
    ({page} = await importModule("game.js"));
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

test("the handlers the program names are the handlers the page gives", () => {
    const named = new Set([...program.matchAll(/\b(?:call\w*|read\w*|kz_page_\w+)\("(\w+)"/g)].map(
        (found) => found[1]));
    for (const found of librarySource.matchAll(/Module\.page\.(\w+)\(/g)) {
        named.add(found[1]);
    }
    assert.deepEqual([...named].sort(), Object.keys(page).sort());
    for (const name of named) {
        assert.equal(typeof page[name], "function", name);
    }
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
