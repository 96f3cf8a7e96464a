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

// The browser's lock manager for one lock name at a time, as tabs of one site share it.
class FakeLocks {
    constructor() {
        this.held = new Set();
        this.asked = [];
    }

    request(name, options, callback) {
        this.asked.push({name, options});
        if (this.held.has(name)) {
            return Promise.resolve(callback(null));
        }
        this.held.add(name);
        const holding = Promise.resolve(callback({name}));
        holding.then(() => this.held.delete(name));
        return holding;
    }
}

test("the tab that gets the game's lock takes the kept game up and holds the lock", async () => {
    const locks = new FakeLocks();
    setGlobal("navigator", {locks});
    assert.equal(await storage.claimKeptGame(), true);
    assert.equal(storage.keepsGame(), true);
    assert.equal(locks.asked.length, 1);
    assert.equal(locks.asked[0].options.ifAvailable, true, "a tab must not wait for the lock");
    // Still held after the callback's promise had every chance to settle.
    await new Promise((resolve) => setImmediate(resolve));
    assert.equal(locks.held.size, 1, "the lock went with the tab still open");

    // A second tab while the first lives: a game of its own.
    assert.equal(await storage.claimKeptGame(), false);
    assert.equal(storage.keepsGame(), false);
    assert.equal(locks.held.size, 1);
});

test("without the lock, or with one refused to the page, every tab takes the game up", async () => {
    setGlobal("navigator", {});
    assert.equal(await storage.claimKeptGame(), true);
    assert.equal(storage.keepsGame(), true);

    setGlobal("navigator", {locks: {request: () => Promise.reject(new Error("SecurityError"))}});
    assert.equal(await storage.claimKeptGame(), true);
    setGlobal("navigator", {
        locks: {
            request() {
                throw new Error("SecurityError");
            },
        },
    });
    assert.equal(await storage.claimKeptGame(), true);
    assert.equal(storage.keepsGame(), true);
});
