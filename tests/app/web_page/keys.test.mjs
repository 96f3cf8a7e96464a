// The virtual-key code the game gets for a key event, and the key handling around it: which
// keys go to the game as key messages, with which flags, and which the browser keeps.
import assert from "node:assert/strict";
import {before, beforeEach, test} from "node:test";

import {fakeGame, importModule, initModules, openPage, pageHandlers, press} from "./page_environment.mjs";

const document = openPage();
let taken = true;  // whether the game takes the next key
const game = fakeGame({_kz_key: () => (taken ? 1 : 0)});
const failures = [];
let virtualKey, keyFlag, message, bridge, menu;

before(async () => {
    ({virtualKey} = await importModule("keys.js"));
    ({keyFlag, message} = await importModule("constants.js"));
    bridge = await importModule("bridge.js");
    menu = await importModule("menu.js");
    await initModules("canvas.js", "menu.js", "dialogs.js", "input.js");
    await bridge.loadGame(await pageHandlers(), () => failures.push("failed"));
});

function keyCalls() {
    return game.calls.filter(([entry]) => entry === "_kz_key").map(([, ...args]) => args);
}

beforeEach(() => {
    game.calls.length = 0;
    taken = true;
    document.activeElement.blur();
});

test("a key event's virtual-key code", () => {
    const cases = [
        [["a", "KeyA"], 0x41],
        [["A", "KeyA"], 0x41],
        [["\u0444", "KeyA"], 0x41],
        [["!", "Digit1"], 0x31],
        [["7", "Digit7"], 0x37],
        [["7", "Numpad7"], 0x67],
        [["F1", "F1"], 0x70],
        [["F24", "F24"], 0x87],
        [["F25", "F25"], 0],
        [["Enter", "NumpadEnter"], 0x0D],
        [[" ", "Space"], 0x20],
        [["Escape", "Escape"], 0x1B],
        [["ArrowLeft", "ArrowLeft"], 0x25],
        [["ArrowDown", "ArrowDown"], 0x28],
        [["Shift", "ShiftRight"], 0x10],
        [["Dead", "BracketLeft"], 0],
        // The extra play's keys.
        [["ArrowUp", "ArrowUp"], 0x26],
        [["ArrowRight", "ArrowRight"], 0x27],
        [["Enter", "Enter"], 0x0D],
        [["h", "KeyH"], 0x48],
        [["z", "KeyZ"], 0x5A],
        [["Z", "KeyZ"], 0x5A],
        [["y", "KeyY"], 0x59],
        // The keypad without Num Lock names no digit: the key's own name counts.
        [["ArrowLeft", "Numpad4"], 0x25],
    ];
    for (const [[key, code], wanted] of cases) {
        assert.equal(virtualKey({key, code}), wanted, `${JSON.stringify(key)} ${code}`);
    }
});

test("a key goes to the game as a press and a release", () => {
    const [down, up] = press("ArrowRight", "ArrowRight");
    assert.deepEqual(keyCalls(), [
        [message.keyDown, 0x27, 0],
        [message.keyUp, 0x27, 0],
    ]);
    assert.ok(
        down.defaultPrevented && up.defaultPrevented, "a key the game took still scrolls the page");
});

test("a held key repeats as one more press", () => {
    press("ArrowDown", "ArrowDown", {repeat: true}, true);
    assert.deepEqual(keyCalls(), [[message.keyDown, 0x28, 0]]);
});

test("Shift and Ctrl come as key flags; Alt is a menu's key, not a flag", () => {
    press("z", "KeyZ", {ctrlKey: true, shiftKey: true}, true);
    assert.deepEqual(keyCalls(), [[message.keyDown, 0x5A, keyFlag.control | keyFlag.shift]]);
});

test("a key the game does not take keeps its use in the browser", () => {
    taken = false;
    const [down] = press("F5", "F5");
    assert.equal(keyCalls().length, 2);
    assert.equal(down.defaultPrevented, false);
});

test("no key reaches the game while a box is open", () => {
    const about = document.getElementById("about");
    about.showModal();
    try {
        press("ArrowLeft", "ArrowLeft");
        assert.deepEqual(keyCalls(), []);
    } finally {
        about.close();
    }
});

test("F10 takes the keys to the menu bar and Escape gives them back", () => {
    const [f10] = press("F10", "F10");
    assert.ok(f10.defaultPrevented);
    assert.ok(menu.focusInMenuBar(), "F10 does not focus the menu bar");
    press("ArrowRight", "ArrowRight");
    press("Escape", "Escape", {}, true);
    assert.deepEqual(keyCalls(), [], "keys for the menu bar reach the game");
    assert.equal(menu.focusInMenuBar(), false);
    press("ArrowRight", "ArrowRight", {}, true);
    assert.deepEqual(keyCalls(), [[message.keyDown, 0x27, 0]]);
});

test("a call into the game that fails is logged and ends in the page's failure", () => {
    const logged = [];
    const error = console.error;
    console.error = (...args) => logged.push(args.join(" "));
    game.answers._kz_key = () => {
        throw new Error("the module broke");
    };
    try {
        press("a", "KeyA", {}, true);
    } finally {
        console.error = error;
        game.answers._kz_key = () => (taken ? 1 : 0);
    }
    assert.deepEqual(failures, ["failed"]);
    assert.match(logged.join("\n"), /_kz_key.*the module broke/);
});

test("no key reaches the game once the session is over", () => {
    bridge.endSession();
    press("a", "KeyA");
    assert.deepEqual(keyCalls(), []);
});
