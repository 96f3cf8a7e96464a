// The menu bar's keyboard model, on the menus the page maker writes from the menu table: Alt
// with a letter, Alt alone and F10 to reach it, the arrows, Home and End to move, Enter and
// letters to choose, Esc to go back; greyed items and radio marks; the pointer's clicks.
import assert from "node:assert/strict";
import {before, beforeEach, test} from "node:test";

import {FakeEvent} from "./fake_dom.mjs";
import {fakeGame, importModule, initModules, openPage, pageHandlers, press} from "./page_environment.mjs";

const document = openPage();
const game = fakeGame();
let menu;

before(async () => {
    menu = await importModule("menu.js");
    await initModules("canvas.js", "menu.js", "dialogs.js", "input.js");
    const bridge = await importModule("bridge.js");
    await bridge.loadGame(await pageHandlers(), () => assert.fail("a call into the game failed"));
});

// The menu item of a label as the menu shows it.
function item(label) {
    const found = document.querySelectorAll("[role=menuitem], [role=menuitemradio]")
                      .filter((element) => element.querySelector(".label").textContent === label);
    assert.equal(found.length, 1, `no one item ${label}`);
    return found[0];
}

function focused() {
    const label = document.activeElement.querySelector(".label");
    return label ? label.textContent : document.activeElement.tagName;
}

function submenuOpen(label) {
    const parent = item(label);
    return parent.getAttribute("aria-expanded") === "true" && !parent.nextElementSibling.hidden;
}

function commands() {
    return game.calls.filter(([entry]) => entry === "_kz_command").map(([, id]) => id);
}

function keys(...list) {
    for (const key of list) {
        press(key, key === " " ? "Space" : key);
    }
}

beforeEach(() => {
    menu.closeMenus(false);
    menu.leaveMenuBar();
    game.calls.length = 0;
});

test("Alt and an underlined letter open that menu on its first item", () => {
    press("o", "KeyO", {altKey: true});
    assert.ok(submenuOpen("Options") && menu.menusOpen());
    assert.equal(focused(), "Field Size");
    assert.equal(submenuOpen("Game"), false);
});

test("Up and Down go round the menu, Home and End go to its ends", () => {
    press("g", "KeyG", {altKey: true});
    assert.equal(focused(), "Undo");
    keys("ArrowUp");
    assert.equal(focused(), "Exit");
    keys("ArrowDown");
    assert.equal(focused(), "Undo");
    keys("ArrowDown", "ArrowDown");
    assert.equal(focused(), "Hint", "a separator takes the focus");
    keys("End");
    assert.equal(focused(), "Exit");
    keys("Home");
    assert.equal(focused(), "Undo");
    assert.deepEqual(
        game.calls.filter(([entry]) => entry === "_kz_key"), [],
        "the game hears the keys of an open menu");
});

test("Right and Left open a submenu, go back to its item and move along the bar", () => {
    press("o", "KeyO", {altKey: true});
    keys("ArrowRight");
    assert.ok(submenuOpen("Field Size"));
    assert.equal(focused(), "2 x 2");
    keys("ArrowLeft");
    assert.equal(submenuOpen("Field Size"), false);
    assert.equal(focused(), "Field Size");
    keys("ArrowLeft");
    assert.ok(submenuOpen("Game") && !submenuOpen("Options"));
    assert.equal(focused(), "Undo");
    keys("ArrowRight");
    assert.ok(submenuOpen("Options") && !submenuOpen("Game"));
    // From an item with no submenu of its own, Right goes on to the next menu of the bar.
    keys("ArrowRight", "ArrowRight");
    assert.ok(submenuOpen("Help") && !submenuOpen("Options") && !submenuOpen("Field Size"));
    assert.equal(focused(), "Contents");
});

test("Esc closes a menu onto the bar, and a second Esc leaves the bar", () => {
    press("h", "KeyH", {altKey: true});
    keys("Escape");
    assert.equal(menu.menusOpen(), false);
    assert.equal(focused(), "Help");
    keys("Escape");
    assert.equal(menu.focusInMenuBar(), false);
});

test("Enter and an item's letter send its command and give the keys back to the game", () => {
    press("h", "KeyH", {altKey: true});
    keys("End", "Enter");
    assert.deepEqual(commands(), [Number(item("About").dataset.command)]);
    assert.equal(menu.menusOpen(), false);
    assert.equal(menu.focusInMenuBar(), false);
    press("g", "KeyG", {altKey: true});
    press("x", "KeyX");
    assert.deepEqual(commands().slice(1), [Number(item("Exit").dataset.command)]);
});

test("a greyed item keeps the focus and sends nothing until it is usable again", () => {
    const undo = Number(item("Undo").dataset.command);
    menu.enableCommand(undo, false);
    press("g", "KeyG", {altKey: true});
    keys("Enter");
    assert.deepEqual(commands(), []);
    assert.ok(submenuOpen("Game"));
    assert.equal(focused(), "Undo");
    menu.enableCommand(undo, true);
    keys("Enter");
    assert.deepEqual(commands(), [undo]);
});

test(
    "Alt pressed and let go alone moves to the bar and back; with a key between it does not",
    () => {
        press("Alt", "AltLeft", {altKey: true});
        assert.equal(focused(), "Game");
        assert.equal(menu.menusOpen(), false);
        press("Alt", "AltLeft", {altKey: true});
        assert.equal(menu.focusInMenuBar(), false);
        press("Alt", "AltLeft", {altKey: true}, true);
        press("Shift", "ShiftLeft", {altKey: true, shiftKey: true});
        document.activeElement.dispatchEvent(new FakeEvent("keyup", {key: "Alt", code: "AltLeft"}));
        assert.equal(menu.focusInMenuBar(), false);
    });

test("F10 focuses the bar; Down opens the focused menu", () => {
    keys("F10", "ArrowRight", "ArrowDown");
    assert.ok(submenuOpen("Options"));
    assert.equal(focused(), "Field Size");
});

test("a radio mark moves within its group only", () => {
    const size = (label) => item(label).getAttribute("aria-checked");
    menu.markRadio(Number(item("3 x 3").dataset.command));
    menu.markRadio(Number(item("Mixed").dataset.command));
    menu.markRadio(Number(item("5 x 5").dataset.command));
    assert.deepEqual(
        ["2 x 2", "3 x 3", "5 x 5", "Mixed"].map(size), ["false", "false", "true", "true"]);
});

test("a click opens a menu of the bar, a second closes it, a click elsewhere too", () => {
    item("Game").click();
    assert.ok(submenuOpen("Game"));
    assert.equal(focused(), "Game", "a click moves the focus into the menu");
    item("Game").click();
    assert.equal(menu.menusOpen(), false);
    item("Options").click();
    document.getElementById("screen").dispatchEvent(new FakeEvent("pointerdown", {button: 0}));
    assert.equal(menu.menusOpen(), false);
    item("Help").click();
    item("About").click();
    assert.deepEqual(commands(), [Number(item("About").dataset.command)]);
});

test("a click on a submenu's item opens it and chooses nothing in it", () => {
    item("Options").click();
    item("Field Size").click();
    assert.ok(submenuOpen("Field Size"));
    assert.equal(focused(), "Field Size", "the submenu's first item looks chosen");
    assert.deepEqual(commands(), []);
    item("3 x 3").click();
    assert.deepEqual(commands(), [Number(item("3 x 3").dataset.command)]);
    assert.equal(menu.menusOpen(), false);
});
