// Pointer and keys as the game's window messages: pointer events on the canvas become mouse
// messages in game pixels, keys that the menus do not take become key messages.

import {call, sessionOver} from "./bridge.js";
import {canvas, gamePoint} from "./canvas.js";
import {keyFlag, message, mouseFlag} from "./constants.js";
import {dialogOpen} from "./dialogs.js";
import {virtualKey} from "./keys.js";
import {focusInMenuBar, leaveMenuBar, menuKeyDown, menuKeyUp, menusOpen} from "./menu.js";

// The pointer's buttons (PointerEvent.button) as press and release messages and their bit
// in PointerEvent.buttons.
const pressMessages = [
    [message.leftDown, message.leftUp, 1], [message.middleDown, message.middleUp, 4],
    [message.rightDown, message.rightUp, 2]
];

let lastPoint = null;

// The bits of the keys held, in a table of flags (mouseFlag or keyFlag) that names them; a
// table without Alt leaves it out.
function heldKeys(event, table) {
    return (event.shiftKey ? table.shift : 0) | (event.ctrlKey ? table.control : 0) |
        (event.altKey && table.alt ? table.alt : 0);
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
    return flags | heldKeys(event, mouseFlag);
}

function moveTo(point, flags) {
    if (!lastPoint || lastPoint[0] !== point[0] || lastPoint[1] !== point[1]) {
        lastPoint = point;
        call("_kz_mouse", message.mouseMove, flags, point[0], point[1]);
    }
}

// True when the game took the key.
function keyMessage(event, up) {
    return call(
               "_kz_key", up ? message.keyUp : message.keyDown, virtualKey(event),
               heldKeys(event, keyFlag)) === 1;
}

// Keys the menus do not take go to the game, unless a menu has the focus. A key the game
// took (an arrow, Space, Ctrl+Z) does nothing more: no scrolling, no browser shortcut; every
// other key keeps its use in the browser.
function onKey(event, up) {
    if (sessionOver() || dialogOpen()) {
        return;
    }
    if (up ? menuKeyUp(event) : menuKeyDown(event)) {
        event.preventDefault();
    } else if (!focusInMenuBar() && keyMessage(event, up)) {
        event.preventDefault();
    }
}

// Listens to the canvas and the keys.
export function init() {
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

    document.addEventListener("keydown", (event) => onKey(event, false));
    document.addEventListener("keyup", (event) => onKey(event, true));
}
