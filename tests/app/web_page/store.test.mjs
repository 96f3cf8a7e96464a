// The records and the game kept in local storage and, in step, in the page's IndexedDB store:
// which copy is the latest as the page opens, what goes where on a write, and the page
// without a store, with one that refuses, and with one that never opens.
import assert from "node:assert/strict";
import {join} from "node:path";
import {mock, test} from "node:test";
import {pathToFileURL} from "node:url";

import {setGlobal} from "./page_environment.mjs";

// A module of its own for each test: the store's state starts afresh.
let imports = 0;
function freshStorage() {
    const file = pathToFileURL(join(process.env.KZ_PAGE_MODULES, "storage.js")).href;
    return import(`${file}?${++imports}`);
}

const later = () => new Promise((resolve) => setImmediate(resolve));

class FakeStorage {
    constructor(items = {}) {
        this.items = new Map(Object.entries(items));
        this.full = false;
    }

    getItem(name) {
        return this.items.has(name) ? this.items.get(name) : null;
    }

    setItem(name, value) {
        if (this.full) {
            throw new Error("QuotaExceededError");
        }
        this.items.set(name, String(value));
    }

    removeItem(name) {
        this.items.delete(name);
    }
}

// IndexedDB as far as the page uses it: one database of object stores, each a map, and
// transactions whose writes land together once their requests are done, or not at all.
class FakeIndexedDB {
    constructor(records = {}) {
        this.records = new Map(Object.entries(records));
        this.transactions = [];
        this.full = false;   // every transaction that writes aborts
        this.never = false;  // an opening that never answers
        this.opened = [];
    }

    open(name, version) {
        const request = {};
        this.openedWith = [name, version];
        if (this.never) {
            return request;
        }
        setImmediate(() => {
            const database = new FakeDatabase(this);
            this.opened.push(database);
            request.result = database;
            if (!this.created) {
                this.created = true;
                request.onupgradeneeded();
            }
            request.onsuccess();
        });
        return request;
    }
}

class FakeDatabase {
    constructor(factory) {
        this.factory = factory;
        this.closed = false;
    }

    createObjectStore(name) {
        this.factory.storeName = name;
    }

    transaction(name, mode, options) {
        assert.ok(!this.closed, "a transaction of a closed database");
        assert.equal(name, this.factory.storeName || name, "a store that was not made");
        const transaction = new FakeTransaction(this.factory);
        this.factory.transactions.push({mode, options, transaction});
        return transaction;
    }

    close() {
        this.closed = true;
    }
}

class FakeTransaction {
    constructor(factory) {
        this.factory = factory;
        this.writes = new Map();
        this.pending = 0;
        this.over = false;
        this.settle();
    }

    objectStore() {
        return {
            get: (key) => {
                const request = {};
                ++this.pending;
                setImmediate(() => {
                    --this.pending;
                    const found = this.factory.records.get(key);
                    request.result = found === undefined ? undefined : structuredClone(found);
                    request.onsuccess();
                    this.settle();
                });
                return request;
            },
            put: (value, key) => {
                this.writes.set(key, structuredClone(value));
            },
            delete: (key) => {
                this.writes.set(key, undefined);
            },
        };
    }

    abort() {
        if (!this.over) {
            this.over = true;
            setImmediate(() => this.onabort());
        }
    }

    // Done once no request is left after its callbacks have run.
    settle() {
        setImmediate(() => {
            if (this.over || this.pending > 0) {
                return;
            }
            this.over = true;
            if (this.factory.full && this.writes.size > 0) {
                this.onabort();
                return;
            }
            for (const [key, value] of this.writes) {
                if (value === undefined) {
                    this.factory.records.delete(key);
                } else {
                    this.factory.records.set(key, value);
                }
            }
            this.oncomplete();
        });
    }
}

// The page's globals: local storage, the store (none when null) and the session's cookie.
function browser({local = {}, store = new FakeIndexedDB(), cookie = ""} = {}) {
    const localStorage = new FakeStorage(local);
    let cookies = cookie;
    setGlobal("window", store ? {localStorage, indexedDB: store} : {localStorage});
    setGlobal("document", {
        get cookie() {
            return cookies;
        },
        set cookie(text) {
            cookies = text.split(";")[0];
        },
    });
    return {localStorage, store, cookie: () => cookies};
}

function opener() {
    const said = [];
    return {said, onRisk: (text) => said.push(text)};
}

test("the latest copy: local storage's unless it lost writes the store has", async () => {
    const {latestCopy, digest} = await freshStorage();
    const durable = {text: "store", serial: 5, taken: digest("earlier")};
    const cases = [
        // [local, serial, durable, same session, latest]
        ["local", null, undefined, false, "local"],  // nothing in the store: taken over
        [null, null, undefined, false, "local"],
        ["local", 3, durable, false, "durable"],  // local storage lost writes 4 and 5
        ["local", 3, durable, true, "durable"],
        ["local", 5, durable, false, "local"],  // an earlier version wrote over 5
        ["store", 5, durable, false, "local"],
        ["local", 6, durable, false, "local"],         // the store refused 6
        [null, null, durable, false, "durable"],       // never reached the disk
        [null, null, durable, true, "local"],          // emptied in this session
        ["earlier", null, durable, false, "durable"],  // taken over, the writes after it lost
        ["other", null, durable, false, "local"],      // an earlier version's new text
        ["earlier", null, durable, true, "local"],
    ];
    for (const [local, serial, stored, sameSession, latest] of cases) {
        assert.equal(
            latestCopy({local, serial, durable: stored, sameSession}), latest,
            JSON.stringify({local, serial, stored, sameSession}));
    }
    assert.equal(digest("earlier"), digest("earlier"));
    assert.notEqual(digest("earlier"), digest("earlieR"));
    assert.notEqual(digest("ab"), digest("ab\u0000"));
});

test("an earlier version's texts are taken over into the store, once", async () => {
    const storage = await freshStorage();
    const page = browser({local: {game: "game 1", records: "records 1", actionType: "2"}});
    const {said, onRisk} = opener();
    assert.equal(await storage.openStore(onRisk), true);
    assert.deepEqual(said, []);
    assert.deepEqual(page.store.openedWith, ["kestrane-zivadorured", 1]);
    assert.deepEqual(
        page.store.records.get("game"),
        {text: "game 1", serial: 1, taken: storage.digest("game 1")});
    assert.deepEqual(
        page.store.records.get("records"),
        {text: "records 1", serial: 1, taken: storage.digest("records 1")});
    assert.ok(!page.store.records.has("actionType"), "the settings stay in local storage");
    assert.equal(page.localStorage.getItem("gameSerial"), "1");
    assert.equal(storage.loadText("game"), "game 1");
    assert.match(page.cookie(), /^kestrane-zivadorured-session=1$/);
    assert.ok(page.store.transactions.every(({options}) => options.durability === "strict"));

    // Opened again: in step, nothing written.
    const again = await freshStorage();
    const writes = page.store.transactions.length;
    assert.equal(await again.openStore(onRisk), true);
    assert.equal(page.store.transactions.length, writes + 1, "one transaction to compare");
    assert.equal(page.store.records.get("game").serial, 1);
});

test("a write goes to local storage at once and to the store after, with one serial", async () => {
    const storage = await freshStorage();
    const page = browser();
    assert.equal(await storage.openStore(), true);
    assert.equal(storage.saveText("game", "first"), true);
    // The program reads it back at once, before the store has it.
    assert.equal(storage.loadText("game"), "first");
    assert.equal(page.localStorage.getItem("gameSerial"), "1");
    assert.equal(page.store.records.get("game"), undefined);
    await storage.storeWritten();
    assert.deepEqual(page.store.records.get("game"), {text: "first", serial: 1, taken: null});
    storage.saveText("game", "second");
    storage.saveText("records", "games");
    await storage.storeWritten();
    assert.equal(page.store.records.get("game").text, "second");
    assert.equal(page.store.records.get("game").serial, 2);
    assert.equal(page.store.records.get("records").serial, 1);
    const writes = page.store.transactions.slice(1);
    assert.ok(
        writes.every(({mode, options}) => mode === "readwrite" && options.durability === "strict"));

    // Refused by local storage: neither copy changes, and the program hears it.
    page.localStorage.full = true;
    assert.equal(storage.saveText("game", "third"), false);
    await storage.storeWritten();
    assert.equal(storage.loadText("game"), "second");
    assert.equal(page.store.records.get("game").text, "second");
});

test("another tab's later write in the store is not written over by an earlier one", async () => {
    const storage = await freshStorage();
    const page = browser();
    await storage.openStore();
    page.store.records.set("records", {text: "the other tab's", serial: 9, taken: null});
    page.localStorage.setItem("recordsSerial", "3");
    storage.saveText("records", "this tab's");
    await storage.storeWritten();
    assert.equal(page.store.records.get("records").text, "the other tab's");
});

test("what local storage lost when the browser stopped comes back from the store", async () => {
    const taken = {text: "taken", serial: 4, taken: "0:0"};
    // Local storage reached the disk with write 2 of the game; the records never did.
    const store = new FakeIndexedDB({game: {text: "game 4", serial: 4, taken: null}});
    store.created = true;
    store.records.set("records", taken);
    const storage = await freshStorage();
    const page = browser({local: {game: "game 2", gameSerial: "2"}, store});
    assert.equal(await storage.openStore(), true);
    assert.equal(storage.loadText("game"), "game 4");
    assert.equal(storage.loadText("records"), "taken");
    assert.equal(page.localStorage.getItem("game"), "game 4");
    assert.equal(page.localStorage.getItem("recordsSerial"), "4");
    // The next write numbers after the store's.
    storage.saveText("game", "game 5");
    await storage.storeWritten();
    assert.deepEqual(store.records.get("game"), {text: "game 5", serial: 5, taken: null});

    // Local storage full as it is brought back: read from what the store gave.
    const full = new FakeIndexedDB({game: {text: "game 7", serial: 7, taken: null}});
    full.created = true;
    const again = await freshStorage();
    const second = browser({local: {game: "game 2", gameSerial: "2"}, store: full});
    second.localStorage.full = true;
    assert.equal(await again.openStore(), true);
    assert.equal(again.loadText("game"), "game 7");
});

test(
    "local storage emptied in this session empties the store; after a restart it is refilled",
    async () => {
        const records = () => new Map([["records", {text: "kept", serial: 3, taken: null}]]);
        const restarted = new FakeIndexedDB();
        restarted.created = true;
        restarted.records = records();
        let storage = await freshStorage();
        browser({store: restarted});
        await storage.openStore();
        assert.equal(storage.loadText("records"), "kept");

        const emptied = new FakeIndexedDB();
        emptied.created = true;
        emptied.records = records();
        storage = await freshStorage();
        browser({store: emptied, cookie: "kestrane-zivadorured-session=1"});
        await storage.openStore();
        assert.equal(storage.loadText("records"), null);
        assert.equal(emptied.records.has("records"), false);
    });

test("without a store the page keeps to local storage and says so once", async () => {
    const storage = await freshStorage();
    const page = browser({store: null});
    const {said, onRisk} = opener();
    assert.equal(await storage.openStore(onRisk), false);
    assert.deepEqual(said, [storage.riskText]);
    assert.match(storage.riskText, /progress may be lost if the browser is closed suddenly/i);
    assert.equal(storage.saveText("game", "kept"), true);
    assert.equal(page.localStorage.getItem("game"), "kept");
    assert.equal(said.length, 1);

    // A store that fails to open.
    const failing = await freshStorage();
    setGlobal("window", {
        localStorage: new FakeStorage(),
        indexedDB: {
            open() {
                const request = {};
                setImmediate(() => request.onerror({preventDefault() {}}));
                return request;
            },
        },
    });
    const second = opener();
    assert.equal(await failing.openStore(second.onRisk), false);
    assert.equal(second.said.length, 1);
});

test("a store that refuses a write says so once, and is tried again with the next", async () => {
    const storage = await freshStorage();
    const page = browser();
    const {said, onRisk} = opener();
    await storage.openStore(onRisk);
    page.store.full = true;
    assert.equal(storage.saveText("game", "one"), true, "local storage took it");
    storage.saveText("game", "two");
    await storage.storeWritten();
    assert.deepEqual(said, [storage.riskText]);
    assert.equal(page.store.records.has("game"), false);
    assert.equal(storage.loadText("game"), "two");
    page.store.full = false;
    storage.saveText("game", "three");
    await storage.storeWritten();
    assert.equal(page.store.records.get("game").text, "three");
    assert.equal(said.length, 1);
});

test("a store that never opens is not waited for past its limit", async () => {
    const storage = await freshStorage();
    mock.timers.enable({apis: ["setTimeout"]});
    try {
        const store = new FakeIndexedDB();
        store.never = true;
        browser({local: {game: "kept"}, store});
        const {said, onRisk} = opener();
        let opened = null;
        storage.openStore(onRisk).then((answer) => {
            opened = answer;
        });
        await later();
        mock.timers.tick(4999);
        await later();
        assert.equal(opened, null, "given up too early");
        mock.timers.tick(1);
        await later();
        assert.equal(opened, false);
        assert.deepEqual(said, [storage.riskText]);
        assert.equal(storage.loadText("game"), "kept");
        assert.equal(storage.saveText("game", "later"), true);
    } finally {
        mock.timers.reset();
    }
});
