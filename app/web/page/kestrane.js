// The page around the game: starts the module, puts its pixels on the canvas, turns pointer
// and key events into the game's messages, runs the menu bar and the dialogs, and keeps the
// settings. Nothing runs while no game runs: no animation frames, no polling.
"use strict";

(() => {
    const msg = {
        keyDown: 0x0100, keyUp: 0x0101, mouseMove: 0x0200,
        leftDown: 0x0201, leftUp: 0x0202, rightDown: 0x0204, rightUp: 0x0205,
        middleDown: 0x0207, middleUp: 0x0208,
    };
    const flag = {left: 0x0001, right: 0x0002, shift: 0x0004, control: 0x0008, middle: 0x0010};
    const fatalError = {window: 0, display: 1, paint: 2};  // as the program numbers them

    const canvas = document.getElementById("screen");
    const menuBar = document.querySelector("[role=menubar]");
    const aboutBox = document.getElementById("about");
    const fatalBox = document.getElementById("fatal");
    const helpPages = document.getElementById("help-pages");
    let context = null;
    let game = null;          // the module, once it runs
    let over = false;         // the session has ended
    let endPending = false;   // ended while the fatal message is still up

    // ---- Failures and the end of the session ----

    function showFatal(error) {
        document.getElementById("fatal-caption").textContent =
            fatalBox.getAttribute("data-caption-" + error);
        closeMenus(false);
        if (aboutBox.open) {
            aboutBox.close();
        }
        if (!fatalBox.open) {
            fatalBox.showModal();
        }
        fatalBox.querySelector("button").focus();
    }

    // Fails the start before the program could run, and ends the session with it.
    function failStart(error) {
        showFatal(error);
        ended();
    }

    function ended() {
        over = true;
        closeMenus(false);
        if (fatalBox.open) {
            endPending = true;
            return;
        }
        showClosingScreen();
    }

    function showClosingScreen() {
        if (aboutBox.open) {
            aboutBox.close();
        }
        document.getElementById("window").hidden = true;
        const screen = document.getElementById("ended");
        screen.hidden = false;
        screen.querySelector("button").focus();
    }

    fatalBox.addEventListener("close", () => {
        if (endPending) {
            endPending = false;
            showClosingScreen();
        }
    });
    document.getElementById("play-again").addEventListener("click", () => location.reload());

    // Calls into the module; a module that traps mid-message cannot go on.
    function call(entry, ...args) {
        if (!game || over) {
            return;
        }
        try {
            game[entry](...args);
        } catch (error) {
            showFatal(fatalError.paint);
            ended();
        }
    }

    // ---- What the program asks of the page ----

    let frameData = null;
    let firstFrameMarked = false;

    let audio = null;
    function beep() {
        const AudioContextClass = window.AudioContext || window.webkitAudioContext;
        if (!AudioContextClass) {
            return;
        }
        try {
            audio = audio || new AudioContextClass();
            audio.resume();
            const start = audio.currentTime;
            const tone = audio.createOscillator();
            const volume = audio.createGain();
            tone.type = "sine";
            tone.frequency.value = 880;
            volume.gain.setValueAtTime(0.0001, start);
            volume.gain.exponentialRampToValueAtTime(0.2, start + 0.01);
            volume.gain.exponentialRampToValueAtTime(0.0001, start + 0.18);
            tone.connect(volume).connect(audio.destination);
            // The audio thread sleeps again once the tone is over.
            tone.onended = () => audio.suspend();
            tone.start(start);
            tone.stop(start + 0.2);
        } catch (error) {
            // The beep is a courtesy; a page without sound plays on.
        }
    }

    const page = {
        present(heap, frame, width, height, x, y, w, h) {
            if (!frameData || frameData.data.buffer !== heap.buffer ||
                frameData.data.byteOffset !== frame) {
                frameData = new ImageData(
                    new Uint8ClampedArray(heap.buffer, frame, width * height * 4), width, height);
            }
            context.putImageData(frameData, 0, 0, x, y, w, h);
            if (!firstFrameMarked) {
                // For measuring: when the first picture of the game was on the canvas.
                firstFrameMarked = true;
                performance.mark("first-frame");
            }
        },
        startInterval(periodMs) {
            return setInterval(() => call("_kz_tick"), periodMs);
        },
        stopInterval(handle) {
            clearInterval(handle);
        },
        beep,
        markRadio(commandId) {
            const item = menuBar.querySelector(`[data-command="${commandId}"]`);
            if (!item) {
                return;
            }
            const group = item.getAttribute("data-group");
            for (const other of menuBar.querySelectorAll(`[data-group="${group}"]`)) {
                other.setAttribute("aria-checked", other === item ? "true" : "false");
            }
        },
        openHelp(topic) {
            const address = helpPages.getAttribute("data-topic-" + topic);
            if (address) {
                window.open(address, "_blank", "noopener");
            }
        },
        showAbout() {
            aboutBox.showModal();
            aboutBox.querySelector("button").focus();
        },
        loadSetting(name) {
            try {
                return window.localStorage.getItem(name);
            } catch (error) {
                return null;  // storage closed to the page: the defaults
            }
        },
        saveSetting(name, value) {
            try {
                window.localStorage.setItem(name, String(value));
            } catch (error) {
                // Not kept; the next visit starts with what storage still holds.
            }
        },
        showFatal,
        ended,
    };

    aboutBox.addEventListener("close", () => leaveMenuBar());

    // ---- Size on the page: whole device pixels where it can, the screen's width at most ----

    function layout() {
        const ratio = window.devicePixelRatio || 1;
        const width = canvas.width;
        const room = document.documentElement.clientWidth;
        // Game pixels to CSS pixels: at a ratio of 2 or more each game pixel covers a whole
        // number of device pixels.
        let scale = ratio >= 2 ? Math.floor(ratio) / ratio : 1;
        if (width * scale > room && room > 0) {
            scale = room / width;
        }
        const devicePixels = scale * ratio;
        canvas.style.width = `${width * scale}px`;
        canvas.style.height = `${canvas.height * scale}px`;
        canvas.classList.toggle("whole-pixels",
                                Math.abs(devicePixels - Math.round(devicePixels)) < 1e-6);
        document.getElementById("window").style.width = `${width * scale}px`;
    }

    let ratioQuery = null;
    function watchRatio() {
        if (ratioQuery) {
            ratioQuery.removeEventListener("change", onRatioChange);
        }
        ratioQuery = window.matchMedia(`(resolution: ${window.devicePixelRatio || 1}dppx)`);
        ratioQuery.addEventListener("change", onRatioChange);
    }
    function onRatioChange() {
        layout();
        watchRatio();
    }
    window.addEventListener("resize", layout);

    // ---- Pointer and keys ----

    function gamePoint(event) {
        const box = canvas.getBoundingClientRect();
        return [Math.floor((event.clientX - box.left) * canvas.width / box.width),
                Math.floor((event.clientY - box.top) * canvas.height / box.height)];
    }

    function mouseFlags(buttons, event) {
        let flags = 0;
        if (buttons & 1) flags |= flag.left;
        if (buttons & 2) flags |= flag.right;
        if (buttons & 4) flags |= flag.middle;
        if (event.shiftKey) flags |= flag.shift;
        if (event.ctrlKey) flags |= flag.control;
        return flags;
    }

    const pressMessages = [[msg.leftDown, msg.leftUp, 1], [msg.middleDown, msg.middleUp, 4],
                           [msg.rightDown, msg.rightUp, 2]];
    let lastPoint = null;

    function moveTo(point, flags) {
        if (!lastPoint || lastPoint[0] !== point[0] || lastPoint[1] !== point[1]) {
            lastPoint = point;
            call("_kz_mouse", msg.mouseMove, flags, point[0], point[1]);
        }
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

    function keyMessage(event, up) {
        if (!game || over || document.querySelector("dialog[open]")) {
            return;
        }
        // As a key message carries it: repeat count 1, the previous state, the transition.
        let lparam = 1;
        if (up) {
            lparam |= 0xC0000000;
        } else if (event.repeat) {
            lparam |= 0x40000000;
        }
        call("_kz_key", up ? msg.keyUp : msg.keyDown, event.keyCode, lparam >>> 0);
    }

    // ---- The menu bar ----

    // Keys go to the game again.
    function leaveMenuBar() {
        if (document.activeElement && document.activeElement !== document.body) {
            document.activeElement.blur();
        }
    }

    const topItems = Array.from(menuBar.querySelectorAll(":scope > li > [role=menuitem]"));
    let openTop = null;        // the menu bar item whose menu is open
    let keyboardMenus = false; // the menus were opened or moved through with keys

    function submenuOf(item) {
        const next = item.nextElementSibling;
        return next && next.getAttribute("role") === "menu" ? next : null;
    }
    function itemsOf(menu) {
        return Array.from(menu.querySelectorAll(
            ":scope > li > [role=menuitem], :scope > li > [role=menuitemradio]"));
    }
    function parentItemOf(menu) {
        return document.getElementById(menu.getAttribute("aria-labelledby"));
    }
    function menuOf(item) {
        return item.closest("[role=menu], [role=menubar]");
    }
    function menusOpen() {
        return openTop !== null;
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
    // screen a submenu goes to the other side, or under its item.
    function placeMenu(menu) {
        menu.style.left = "";
        menu.style.top = "";
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

    // Closes every menu; focus goes back to the game unless it stays on the menu bar.
    function closeMenus(keepBarFocus) {
        if (openTop) {
            closeSubmenu(openTop);
            const top = openTop;
            openTop = null;
            if (keepBarFocus) {
                top.focus();
                return;
            }
        }
        if (!keepBarFocus && menuBar.contains(document.activeElement)) {
            leaveMenuBar();
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
        const command = Number(item.getAttribute("data-command"));
        closeMenus(false);
        call("_kz_command", command);
    }

    function moveWithin(list, item, step) {
        const at = list.indexOf(item);
        return list[(at + step + list.length) % list.length];
    }

    menuBar.addEventListener("click", (event) => {
        const item = event.target.closest("[role=menuitem], [role=menuitemradio]");
        if (!item || over) {
            return;
        }
        keyboardMenus = false;
        if (menuOf(item) === menuBar && openTop === item) {
            closeMenus(true);
        } else if (menuOf(item) === menuBar) {
            openMenu(item, false);
        } else {
            activate(item);
        }
    });
    menuBar.addEventListener("pointerover", (event) => {
        const item = event.target.closest("[role=menuitem], [role=menuitemradio]");
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
    document.addEventListener("pointerdown", (event) => {
        if (openTop && !menuBar.contains(event.target)) {
            closeMenus(false);
        }
    });

    function menuKey(event) {
        const item = document.activeElement;
        const inBar = menuBar.contains(item);
        const key = event.key;
        if (!inBar) {
            return false;
        }
        const menu = menuOf(item);
        if (menu === menuBar) {
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
                    break;
            }
        } else {
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
                    if (!parentIsTop) {
                        closeSubmenu(parent);
                        parent.focus();
                    } else {
                        openMenu(moveWithin(topItems, openTop, -1), true);
                    }
                    return true;
                case "Enter":
                case " ":
                    activate(item);
                    return true;
                case "Escape":
                    if (!parentIsTop) {
                        closeSubmenu(parent);
                        parent.focus();
                    } else {
                        closeMenus(true);
                    }
                    return true;
                case "Tab":
                    closeMenus(false);
                    return true;
                default:
                    break;
            }
        }
        // The underlined letter of an item in the focused menu or bar.
        if (key.length === 1 && !event.ctrlKey && !event.metaKey) {
            const list = menu === menuBar ? topItems : itemsOf(menu);
            const match = list.find((entry) =>
                entry.getAttribute("data-mnemonic") === key.toLowerCase());
            if (match) {
                keyboardMenus = true;
                activate(match);
                return true;
            }
        }
        return false;
    }

    let altAlone = false;
    document.addEventListener("keydown", (event) => {
        if (over || document.querySelector("dialog[open]")) {
            return;
        }
        altAlone = event.key === "Alt";
        // Alt and the underlined letter open that menu, as in a window's menu bar.
        if (event.altKey && !event.ctrlKey && !event.metaKey && event.key !== "Alt") {
            const letter = event.code.startsWith("Key") ? event.code.slice(3).toLowerCase() : "";
            const top = topItems.find((item) => item.getAttribute("data-mnemonic") === letter);
            if (top) {
                keyboardMenus = true;
                openMenu(top, true);
                event.preventDefault();
                return;
            }
        }
        if (event.key === "F10" && !event.shiftKey) {
            setBarFocus(topItems[0]);
            topItems[0].focus();
            event.preventDefault();
            return;
        }
        if (menuKey(event)) {
            event.preventDefault();
            return;
        }
        if (!menuBar.contains(document.activeElement)) {
            keyMessage(event, false);
        }
    });
    document.addEventListener("keyup", (event) => {
        if (over || document.querySelector("dialog[open]")) {
            return;
        }
        // Alt pressed and let go alone moves to the menu bar and back.
        if (event.key === "Alt" && altAlone) {
            altAlone = false;
            if (menuBar.contains(document.activeElement)) {
                closeMenus(false);
            } else {
                setBarFocus(topItems[0]);
                topItems[0].focus();
            }
            event.preventDefault();
            return;
        }
        if (!menuBar.contains(document.activeElement)) {
            keyMessage(event, true);
        }
    });
    menuBar.addEventListener("focusout", (event) => {
        if (openTop && !menuBar.contains(event.relatedTarget) && event.relatedTarget !== null) {
            closeMenus(false);
        }
    });

    // ---- Start ----

    function start() {
        context = canvas.getContext("2d", {alpha: false});
        if (!context) {
            failStart(fatalError.display);
            return;
        }
        layout();
        watchRatio();
        if (typeof WebAssembly !== "object" || typeof createKestraneModule !== "function") {
            failStart(fatalError.window);
            return;
        }
        createKestraneModule({page}).then((module) => {
            game = module;
            game._kz_start();
            const width = game._kz_width();
            const height = game._kz_height();
            if (!over && (width !== canvas.width || height !== canvas.height)) {
                // A canvas of another size loses its pixels: draw them all again.
                canvas.width = width;
                canvas.height = height;
                frameData = null;
                layout();
                call("_kz_repaint");
            }
            leaveMenuBar();
            document.documentElement.dataset.state = "running";
            if ("serviceWorker" in navigator) {
                navigator.serviceWorker.register("service-worker.js").catch(() => {});
            }
        }, () => failStart(fatalError.window));
    }

    start();
})();
