// The menu bar, as a window's menu bar works: opened with the mouse, with Alt and an
// underlined letter, Alt alone or F10; moved through with the arrow keys; radio marks for the
// settings. It works on the items the page maker wrote from the menu table, so a new entry
// there needs nothing here: an item's data-command is the command it sends to the game.

import {call, sessionOver} from "./bridge.js";

let menuBar = null;
let topItems = [];
const itemSelector = "[role=menuitem], [role=menuitemradio]";
let openTop = null;         // the menu bar item whose menu is open
let keyboardMenus = false;  // the menus were opened or moved through with keys
let altAlone = false;       // Alt is down and no other key came since

export function menusOpen() {
    return openTop !== null;
}

export function focusInMenuBar() {
    return menuBar.contains(document.activeElement);
}

// Keys go to the game again.
export function leaveMenuBar() {
    if (document.activeElement && document.activeElement !== document.body) {
        document.activeElement.blur();
    }
}

// Closes every menu; focus goes back to the game unless it stays on the menu bar.
export function closeMenus(keepBarFocus) {
    if (openTop) {
        closeSubmenu(openTop);
        const top = openTop;
        openTop = null;
        if (keepBarFocus) {
            top.focus();
            return;
        }
    }
    if (!keepBarFocus && focusInMenuBar()) {
        leaveMenuBar();
    }
}

// Moves the radio mark of the command's group to its item.
export function markRadio(commandId) {
    const item = menuBar.querySelector(`[data-command="${commandId}"]`);
    if (!item) {
        return;
    }
    const group = item.dataset.group;
    for (const other of menuBar.querySelectorAll(`[data-group="${group}"]`)) {
        other.setAttribute("aria-checked", other === item ? "true" : "false");
    }
}

// Greys an item that cannot be used now, or makes it usable again. A greyed item can still
// take the focus, so a screen reader hears that it is there.
export function enableCommand(commandId, enabled) {
    const item = menuBar.querySelector(`[data-command="${commandId}"]`);
    if (!item) {
        return;
    }
    if (enabled) {
        item.removeAttribute("aria-disabled");
    } else {
        item.setAttribute("aria-disabled", "true");
    }
}

// A key pressed while no dialog is open: true when the menus took it.
export function menuKeyDown(event) {
    altAlone = event.key === "Alt";
    // Alt and the underlined letter open that menu, as in a window's menu bar.
    if (event.altKey && !event.ctrlKey && !event.metaKey && event.key !== "Alt") {
        const letter = event.code.startsWith("Key") ? event.code.slice(3).toLowerCase() : "";
        const top = topItems.find((item) => item.dataset.mnemonic === letter);
        if (top) {
            keyboardMenus = true;
            openMenu(top, true);
            return true;
        }
    }
    if (event.key === "F10" && !event.shiftKey) {
        focusBar();
        return true;
    }
    return focusInMenuBar() && menuKey(event);
}

// A key let go while no dialog is open: true when the menus took it. Alt pressed and let go
// alone moves to the menu bar and back.
export function menuKeyUp(event) {
    if (event.key !== "Alt" || !altAlone) {
        return false;
    }
    altAlone = false;
    if (focusInMenuBar()) {
        closeMenus(false);
    } else {
        focusBar();
    }
    return true;
}

function focusBar() {
    setBarFocus(topItems[0]);
    topItems[0].focus();
}

function submenuOf(item) {
    const next = item.nextElementSibling;
    return next && next.matches("[role=menu]") ? next : null;
}

function itemsOf(menu) {
    return Array.from(
        menu.querySelectorAll(":scope > li > [role=menuitem], :scope > li > [role=menuitemradio]"));
}

function parentItemOf(menu) {
    return document.getElementById(menu.getAttribute("aria-labelledby"));
}

function menuOf(item) {
    return item.closest("[role=menu], [role=menubar]");
}

function openSubmenu(item, focusFirst) {
    const menu = submenuOf(item);
    if (!menu) {
        return;
    }
    for (const sibling of itemsOf(menuOf(item))) {
        if (sibling !== item && submenuOf(sibling)) {
            closeSubmenu(sibling);
        }
    }
    item.setAttribute("aria-expanded", "true");
    menu.hidden = false;
    placeMenu(menu);
    if (focusFirst) {
        itemsOf(menu)[0].focus();
    }
}

// Beside its item, or below the menu bar, as long as it fits the page's width; on a narrow
// screen a submenu goes to the other side, or under its item. One longer than the screen is
// high scrolls, so every item stays within reach.
function placeMenu(menu) {
    menu.style.left = "";
    menu.style.top = "";
    menu.style.maxHeight = "";
    menu.classList.remove("scrolls");
    placeAcross(menu);
    const box = menu.getBoundingClientRect();
    const room = window.innerHeight - Math.max(box.top, 0);
    if (box.height > room) {
        menu.style.maxHeight = `${room}px`;
        menu.classList.add("scrolls");
    }
}

function placeAcross(menu) {
    const room = document.documentElement.clientWidth;
    const box = menu.getBoundingClientRect();
    if (box.right <= room) {
        return;
    }
    const anchor = menu.parentElement.getBoundingClientRect();
    const nested = menuOf(parentItemOf(menu)) !== menuBar;
    let left = nested ? anchor.left - box.width : room - box.width;
    if (left < 0) {
        left = Math.max(0, room - box.width);
        if (nested) {
            menu.style.top = `${anchor.height}px`;
        }
    }
    menu.style.left = `${left - anchor.left}px`;
}

function closeSubmenu(item) {
    const menu = submenuOf(item);
    if (!menu || menu.hidden) {
        return;
    }
    for (const inner of itemsOf(menu)) {
        closeSubmenu(inner);
    }
    item.setAttribute("aria-expanded", "false");
    menu.hidden = true;
}

function openMenu(top, focusFirst) {
    if (openTop && openTop !== top) {
        closeSubmenu(openTop);
    }
    openTop = top;
    setBarFocus(top);
    openSubmenu(top, focusFirst);
    if (!focusFirst) {
        top.focus();
    }
}

function setBarFocus(top) {
    for (const item of topItems) {
        item.tabIndex = item === top ? 0 : -1;
    }
}

function activate(item) {
    if (submenuOf(item)) {
        if (menuOf(item) === menuBar) {
            openMenu(item, true);
        } else {
            openSubmenu(item, true);
        }
        return;
    }
    if (item.getAttribute("aria-disabled") === "true") {
        return;
    }
    const command = Number(item.dataset.command);
    closeMenus(false);
    call("_kz_command", command);
}

function moveWithin(list, item, step) {
    const at = list.indexOf(item);
    return list[(at + step + list.length) % list.length];
}

// The keys of the focused menu bar or menu.
function menuKey(event) {
    const item = document.activeElement;
    const key = event.key;
    const menu = menuOf(item);
    if (menu === menuBar) {
        if (barKey(item, key)) {
            return true;
        }
    } else if (openMenuKey(menu, item, key)) {
        return true;
    }
    // The underlined letter of an item in the focused menu or bar.
    if (key.length === 1 && !event.ctrlKey && !event.metaKey) {
        const list = menu === menuBar ? topItems : itemsOf(menu);
        const match = list.find((entry) => entry.dataset.mnemonic === key.toLowerCase());
        if (match) {
            keyboardMenus = true;
            activate(match);
            return true;
        }
    }
    return false;
}

function barKey(item, key) {
    switch (key) {
        case "ArrowLeft":
        case "ArrowRight": {
            const next = moveWithin(topItems, item, key === "ArrowLeft" ? -1 : 1);
            if (openTop) {
                openMenu(next, keyboardMenus);
            } else {
                setBarFocus(next);
                next.focus();
            }
            return true;
        }
        case "ArrowDown":
        case "ArrowUp":
        case "Enter":
        case " ":
            keyboardMenus = true;
            openMenu(item, true);
            return true;
        case "Escape":
            if (openTop) {
                closeMenus(true);
            } else {
                leaveMenuBar();
            }
            return true;
        default:
            return false;
    }
}

function openMenuKey(menu, item, key) {
    const items = itemsOf(menu);
    const parent = parentItemOf(menu);
    const parentIsTop = menuOf(parent) === menuBar;
    keyboardMenus = true;
    switch (key) {
        case "ArrowDown":
        case "ArrowUp":
            moveWithin(items, item, key === "ArrowUp" ? -1 : 1).focus();
            return true;
        case "Home":
            items[0].focus();
            return true;
        case "End":
            items[items.length - 1].focus();
            return true;
        case "ArrowRight":
            if (submenuOf(item)) {
                openSubmenu(item, true);
            } else {
                openMenu(moveWithin(topItems, openTop, 1), true);
            }
            return true;
        case "ArrowLeft":
        case "Escape":
            // Back to the item of a submenu; from a menu of the bar, Left opens the menu
            // before it and Esc closes it.
            if (!parentIsTop) {
                closeSubmenu(parent);
                parent.focus();
            } else if (key === "Escape") {
                closeMenus(true);
            } else {
                openMenu(moveWithin(topItems, openTop, -1), true);
            }
            return true;
        case "Enter":
        case " ":
            activate(item);
            return true;
        case "Tab":
            closeMenus(false);
            return true;
        default:
            return false;
    }
}

// Takes the menu bar of the page and listens to the pointer on it.
export function init() {
    menuBar = document.querySelector("[role=menubar]");
    topItems = Array.from(menuBar.querySelectorAll(":scope > li > [role=menuitem]"));
    menuBar.addEventListener("click", (event) => {
        const item = event.target.closest(itemSelector);
        if (!item || sessionOver()) {
            return;
        }
        keyboardMenus = false;
        if (menuOf(item) === menuBar && openTop === item) {
            closeMenus(true);
        } else if (menuOf(item) === menuBar) {
            openMenu(item, false);
        } else if (submenuOf(item)) {
            // A click or a tap opens the submenu and stays on its item: nothing in it is
            // chosen yet.
            openSubmenu(item, false);
            item.focus();
        } else {
            activate(item);
        }
    });

    menuBar.addEventListener("pointerover", (event) => {
        const item = event.target.closest(itemSelector);
        if (!item || !openTop || event.pointerType === "touch") {
            return;
        }
        if (menuOf(item) === menuBar) {
            if (item !== openTop) {
                openMenu(item, false);
            }
            return;
        }
        item.focus();
        if (submenuOf(item)) {
            openSubmenu(item, false);
        } else {
            for (const sibling of itemsOf(menuOf(item))) {
                closeSubmenu(sibling);
            }
        }
    });

    menuBar.addEventListener("focusout", (event) => {
        if (openTop && !menuBar.contains(event.relatedTarget) && event.relatedTarget !== null) {
            closeMenus(false);
        }
    });

    document.addEventListener("pointerdown", (event) => {
        if (openTop && !menuBar.contains(event.target)) {
            closeMenus(false);
        }
    });
}
