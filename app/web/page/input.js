// Pointer and keys as the game's window messages: pointer events on the game's views become
// mouse messages in game pixels (a finger's and a pen's aimed by the program), keys that the menus
// do not take become key messages.

import {call, sessionOver} from "./bridge.js";
import {gamePoint} from "./canvas.js";
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

// A finger or a pen aims at the nearest place (the program's touch entry); the mouse hits
// exactly what lies under it.
function aimed(event) {
    return event.pointerType === "touch" || event.pointerType === "pen";
}

function send(event, kind, flags, point) {
    call(aimed(event) ? "_kz_touch" : "_kz_mouse", kind, flags, point[0], point[1]);
}

function moveTo(event, point, flags) {
    if (!lastPoint || lastPoint[0] !== point[0] || lastPoint[1] !== point[1]) {
        lastPoint = point;
        send(event, message.mouseMove, flags, point);
    }
}

// Nothing of the game is under the pointer any more: nothing keeps the look it has there.
function pointerLeft() {
    lastPoint = null;
    call("_kz_pointer_left");
}

// A lifted finger or pen leaves nothing in the look it has under the pointer.
function pointerGone(event) {
    if (aimed(event)) {
        pointerLeft();
    }
}

// Nor does a mouse gone off the game's views, out of the page or onto the room between them.
function mouseGone() {
    if (lastPoint) {
        pointerLeft();
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
    // A key a box has taken (Enter in the day field, which closes the box) is not the game's.
    if (event.defaultPrevented || sessionOver() || dialogOpen()) {
        return;
    }
    if (up ? menuKeyUp(event) : menuKeyDown(event)) {
        event.preventDefault();
    } else if (!focusInMenuBar() && keyMessage(event, up)) {
        event.preventDefault();
    }
}

// Listens to the game's views and the keys.
export function init() {
    const client = document.getElementById("client");
    client.addEventListener("pointermove", (event) => {
        const point = gamePoint(event);
        if (menusOpen()) {
            return;
        }
        if (!point) {
            mouseGone();
            return;
        }
        moveTo(event, point, mouseFlags(event.buttons, event));
    });
    client.addEventListener("pointerleave", mouseGone);

    client.addEventListener("pointerdown", (event) => {
        const press = pressMessages[event.button];
        const point = gamePoint(event);
        if (!press || menusOpen() || !point) {
            return;
        }
        leaveMenuBar();
        // A touch or a pen arrives where it lands: the game first sees the pointer move there.
        moveTo(event, point, mouseFlags(event.buttons & ~press[2], event));
        send(event, press[0], mouseFlags(event.buttons, event), point);
        event.preventDefault();
    });

    client.addEventListener("pointerup", (event) => {
        const press = pressMessages[event.button];
        const point = gamePoint(event);
        if (!press || !point) {
            return;
        }
        moveTo(event, point, mouseFlags(event.buttons | press[2], event));
        send(event, press[1], mouseFlags(event.buttons, event), point);
        pointerGone(event);
    });

    client.addEventListener("pointercancel", pointerGone);
    client.addEventListener("contextmenu", (event) => event.preventDefault());

    document.addEventListener("keydown", (event) => onKey(event, false));
    document.addEventListener("keyup", (event) => onKey(event, true));
}
