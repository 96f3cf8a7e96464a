// Pointer and keys as the game's window messages: pointer events on the canvas become mouse
// messages in game pixels, keys that the menus do not take become key messages with the
// Windows virtual-key code of the key.

import {call, sessionOver} from "./bridge.js";
import {canvas, gamePoint} from "./canvas.js";
import {message, mouseFlag} from "./constants.js";
import {dialogOpen} from "./dialogs.js";
import {focusInMenuBar, leaveMenuBar, menuKeyDown, menuKeyUp, menusOpen} from "./menu.js";

// The pointer's buttons (PointerEvent.button) as press and release messages and their bit
// in PointerEvent.buttons.
const pressMessages = [[message.leftDown, message.leftUp, 1],
    [message.middleDown, message.middleUp, 4], [message.rightDown, message.rightUp, 2]];

// Keys named by KeyboardEvent.key with the virtual-key code Windows gives them.
const namedKeys = new Map([
    ["Backspace", 0x08], ["Tab", 0x09], ["Enter", 0x0D], ["Shift", 0x10], ["Control", 0x11],
    ["Alt", 0x12], ["Escape", 0x1B], [" ", 0x20], ["ArrowLeft", 0x25], ["ArrowUp", 0x26],
    ["ArrowRight", 0x27], ["ArrowDown", 0x28], ["Delete", 0x2E],
]);

let lastPoint = null;

// The virtual-key code of a key event, or 0 for keys it has none for. Letters and digits
// share their codes with ASCII; a letter of another script counts as the letter of its key's
// place.
export function virtualKey(event) {
    if (/^[A-Za-z0-9]$/.test(event.key)) {
        return event.key.toUpperCase().charCodeAt(0);
    }
    const place = /^(?:Key([A-Z])|Digit([0-9]))$/.exec(event.code);
    if (place) {
        return (place[1] || place[2]).charCodeAt(0);
    }
    const functionKey = /^F([1-9][0-9]?)$/.exec(event.key);
    if (functionKey && Number(functionKey[1]) <= 24) {
        return 0x70 + Number(functionKey[1]) - 1;
    }
    return namedKeys.get(event.key) || 0;
}

function mouseFlags(buttons, event) {
    let flags = 0;
    if (buttons & 1) {
        flags |= mouseFlag.left;
    }
    if (buttons & 2) {
        flags |= mouseFlag.right;
    }
    if (buttons & 4) {
        flags |= mouseFlag.middle;
    }
    if (event.shiftKey) {
        flags |= mouseFlag.shift;
    }
    if (event.ctrlKey) {
        flags |= mouseFlag.control;
    }
    return flags;
}

function moveTo(point, flags) {
    if (!lastPoint || lastPoint[0] !== point[0] || lastPoint[1] !== point[1]) {
        lastPoint = point;
        call("_kz_mouse", message.mouseMove, flags, point[0], point[1]);
    }
}

function keyMessage(event, up) {
    // As a key message carries it: repeat count 1, the previous state, the transition.
    let lparam = 1;
    if (up) {
        lparam |= 0xC0000000;
    } else if (event.repeat) {
        lparam |= 0x40000000;
    }
    call("_kz_key", up ? message.keyUp : message.keyDown, virtualKey(event), lparam >>> 0);
}

canvas.addEventListener("pointermove", (event) => {
    if (menusOpen()) {
        return;
    }
    moveTo(gamePoint(event), mouseFlags(event.buttons, event));
});

canvas.addEventListener("pointerdown", (event) => {
    const press = pressMessages[event.button];
    if (!press || menusOpen()) {
        return;
    }
    leaveMenuBar();
    const point = gamePoint(event);
    // A touch or a pen arrives where it lands: the game first sees the pointer move there.
    moveTo(point, mouseFlags(event.buttons & ~press[2], event));
    call("_kz_mouse", press[0], mouseFlags(event.buttons, event), point[0], point[1]);
    event.preventDefault();
});

canvas.addEventListener("pointerup", (event) => {
    const press = pressMessages[event.button];
    if (!press) {
        return;
    }
    const point = gamePoint(event);
    moveTo(point, mouseFlags(event.buttons | press[2], event));
    call("_kz_mouse", press[1], mouseFlags(event.buttons, event), point[0], point[1]);
});

canvas.addEventListener("contextmenu", (event) => event.preventDefault());

document.addEventListener("keydown", (event) => {
    if (sessionOver() || dialogOpen()) {
        return;
    }
    if (menuKeyDown(event)) {
        event.preventDefault();
    } else if (!focusInMenuBar()) {
        keyMessage(event, false);
    }
});

document.addEventListener("keyup", (event) => {
    if (sessionOver() || dialogOpen()) {
        return;
    }
    if (menuKeyUp(event)) {
        event.preventDefault();
    } else if (!focusInMenuBar()) {
        keyMessage(event, true);
    }
});
