// The settings and the records in local storage: what is read and written, and what the
// program hears when storage is closed to the page or full.
import assert from "node:assert/strict";
import {before, test} from "node:test";

import {importModule, setGlobal} from "./page_environment.mjs";

let storage;

before(async () => {
    storage = await importModule("storage.js");
});

class FakeStorage {
    constructor({closed = false, full = false} = {}) {
        this.items = new Map();
        this.closed = closed;
        this.full = full;
    }

    getItem(name) {
        if (this.closed) {
            throw new Error("SecurityError");
        }
        return this.items.has(name) ? this.items.get(name) : null;
    }

    setItem(name, value) {
        if (this.closed || this.full) {
            throw new Error(this.closed ? "SecurityError" : "QuotaExceededError");
        }
        this.items.set(name, String(value));
    }
}

function withStorage(options) {
    const kept = new FakeStorage(options);
    setGlobal("window", {localStorage: kept});
    return kept;
}

test("settings and records are kept as texts under their names", () => {
    const kept = withStorage();
    assert.equal(storage.loadSetting("dimensionsRange"), null);
    storage.saveSetting("dimensionsRange", 3);
    assert.equal(kept.items.get("dimensionsRange"), "3");
    assert.equal(storage.loadSetting("dimensionsRange"), "3");
    assert.equal(storage.saveText("records", "{\"games\":[]}"), true);
    assert.equal(storage.loadText("records"), "{\"games\":[]}");
});

test("storage closed to the page reads as nothing stored and keeps nothing", () => {
    withStorage({closed: true});
    assert.equal(storage.loadSetting("dimensionsRange"), null);
    assert.equal(storage.loadText("records"), null);
    assert.doesNotThrow(() => storage.saveSetting("dimensionsRange", 2));
    assert.equal(storage.saveText("records", "{}"), false);
});

test("full storage says the records were not kept and keeps the older text", () => {
    const kept = withStorage();
    storage.saveText("records", "old");
    kept.full = true;
    assert.equal(storage.saveText("records", "new"), false);
    assert.equal(storage.loadText("records"), "old");
    assert.doesNotThrow(() => storage.saveSetting("actionType", 1));
});
