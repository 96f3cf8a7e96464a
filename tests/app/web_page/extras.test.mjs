// The extra play's side of the page: the live region, notices, Copy Puzzle Code and Share
// with their fallbacks (the clipboard interface, the older copy command, the link shown), the
// puzzle's code in the title and the address.
import assert from "node:assert/strict";
import {before, beforeEach, test} from "node:test";

import {FakeEvent} from "./fake_dom.mjs";
import {importModule, openPage} from "./page_environment.mjs";

const document = openPage();
const notice = document.getElementById("notice");
let extras, texts;

before(async () => {
    extras = await importModule("extras.js");
    ({texts} = await importModule("constants.js"));
    extras.init();
});

function heard() {
    return document.querySelectorAll("#announcements > p").map((line) => line.textContent);
}

// The clipboard interface: writes the text, or refuses it when told.
function clipboard(refuse) {
    const written = [];
    navigator.clipboard = {
        writeText: (text) => {
            if (refuse) {
                return Promise.reject(new Error("NotAllowedError"));
            }
            written.push(text);
            return Promise.resolve();
        },
    };
    return written;
}

// Lets the promises of a copy or a share settle.
function settled() {
    return new Promise((resolve) => setTimeout(resolve, 0));
}

beforeEach(() => {
    for (const name of Object.keys(navigator)) {
        delete navigator[name];
    }
    document.copied.length = 0;
    document.copyWorks = true;
    document.getElementById("announcements").replaceChildren();
});

test("the live region keeps the last four sentences, a repeated one twice", () => {
    for (const text of ["one", "two", "two", "three", "four"]) {
        extras.announce(text);
    }
    assert.deepEqual(heard(), ["two", "two", "three", "four"]);
});

test("a notice shows, is heard, and hides once its animation ends", () => {
    extras.notify("New best time: 0:42");
    assert.equal(notice.hidden, false);
    assert.ok(notice.classList.contains("showing"));
    assert.deepEqual(heard(), ["New best time: 0:42"]);
    notice.dispatchEvent(new FakeEvent("animationend"));
    assert.equal(notice.hidden, true);
    assert.equal(notice.classList.contains("showing"), false);
});

test("Copy Puzzle Code uses the clipboard interface", async () => {
    const written = clipboard(false);
    extras.copyText("3MNWJ7CXSM", "Puzzle code 3MNWJ7CXSM copied.");
    await settled();
    assert.deepEqual(written, ["3MNWJ7CXSM"]);
    assert.deepEqual(document.copied, []);
    assert.deepEqual(heard(), ["Puzzle code 3MNWJ7CXSM copied."]);
});

test("a clipboard that refuses falls back on the copy command, the focus kept", async () => {
    clipboard(true);
    const canvas = document.getElementById("screen");
    canvas.focus();
    extras.copyText("3MNWJ7CXSM", "Puzzle code 3MNWJ7CXSM copied.");
    await settled();
    assert.deepEqual(document.copied, ["3MNWJ7CXSM"]);
    assert.equal(document.activeElement, canvas);
    assert.equal(document.querySelectorAll("textarea").length, 0, "the copy field stays");
    assert.deepEqual(heard(), ["Puzzle code 3MNWJ7CXSM copied."]);
});

test("with no way to copy, the text is shown instead", async () => {
    document.copyWorks = false;
    extras.copyText("3MNWJ7CXSM", "Puzzle code 3MNWJ7CXSM copied.");
    await settled();
    assert.deepEqual(heard(), ["Not copied (the browser refused): 3MNWJ7CXSM"]);
});

test("today's result is told copied as itself, not as a puzzle code", async () => {
    clipboard(false);
    extras.copyText(
        "Kestrane Zivadorured, puzzle of 2026-12-09\nSolved in 1:06", "Today's result copied.");
    await settled();
    assert.deepEqual(heard(), ["Today's result copied."]);
});

test("Share opens the share sheet with the puzzle's link and title", async () => {
    const shared = [];
    navigator.share = (data) => {
        shared.push(data);
        return Promise.resolve();
    };
    const written = clipboard(false);
    extras.share("3MNWJ7CXSM", "https://games.example/kz/#p=3MNWJ7CXSM");
    await settled();
    assert.deepEqual(shared, [
        {title: `${texts.title} \u2014 3MNWJ7CXSM`, url: "https://games.example/kz/#p=3MNWJ7CXSM"}
    ]);
    assert.deepEqual(written, []);
    assert.deepEqual(heard(), []);
});

test(
    "a share the player cancels copies nothing; one the page may not make copies the link",
    async () => {
        const written = clipboard(false);
        navigator.share = () => Promise.reject(Object.assign(new Error(), {name: "AbortError"}));
        extras.share("3MNWJ7CXSM", "https://games.example/kz/#p=3MNWJ7CXSM");
        await settled();
        assert.deepEqual(written, []);
        navigator.share = () =>
            Promise.reject(Object.assign(new Error(), {name: "NotAllowedError"}));
        extras.share("3MNWJ7CXSM", "https://games.example/kz/#p=3MNWJ7CXSM");
        await settled();
        assert.deepEqual(written, ["https://games.example/kz/#p=3MNWJ7CXSM"]);
        assert.deepEqual(heard(), ["Link to this puzzle copied."]);
    });

test("without a share sheet or a way to copy, the link is shown", async () => {
    document.copyWorks = false;
    extras.share("3MNWJ7CXSM", "https://games.example/kz/#p=3MNWJ7CXSM");
    await settled();
    assert.deepEqual(heard(), ["Link to this puzzle: https://games.example/kz/#p=3MNWJ7CXSM"]);
});

test("the title and the link of the puzzle on show go into the document and the address", () => {
    extras.showTitle(`${texts.title} \u2014 3MNWJ7CXSM`, "#p=3MNWJ7CXSM");
    assert.equal(document.title, `${texts.title} \u2014 3MNWJ7CXSM`);
    assert.equal(location.hash, "#p=3MNWJ7CXSM");
    extras.showTitle(
        `${texts.title} \u2014 3MNWJ7CXSM \u2014 puzzle of 2026-12-08`, "#d=2026-12-08");
    assert.equal(location.hash, "#d=2026-12-08");
    extras.showTitle(texts.title, "");
    assert.equal(document.title, texts.title);
    assert.equal(location.hash, "#d=2026-12-08", "no puzzle on show leaves the address");
    assert.equal(extras.pageAddress(), location.origin + location.pathname);
});
