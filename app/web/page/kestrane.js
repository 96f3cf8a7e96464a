// The page around the game, its entry module: fits the canvas, loads the game's module with
// what the program asks of the page, and starts it. Nothing runs while no game runs: no
// animation frames, no polling.
//   bridge.js   the game's module: loading it, calls into it, the end of the session
//   canvas.js   the canvas: frames, size on the page, game points
//   input.js    pointer and keys as window messages
//   keys.js     the virtual-key code of a key
//   menu.js     the menu bar and its radio marks
//   dialogs.js  the About box, the fatal message, the closing screen
//   storage.js  the settings in local storage
//   sound.js    the beep
//   constants.js, written at build time: numbers shared with the program

import {call, loadGame, sessionOver} from "./bridge.js";
import {openCanvas, present, resizeCanvas} from "./canvas.js";
import {fatalError, helpPage} from "./constants.js";
import {ended, showAbout, showFatal} from "./dialogs.js";
import "./input.js";
import {leaveMenuBar, markRadio} from "./menu.js";
import {beep} from "./sound.js";
import {loadSetting, saveSetting} from "./storage.js";

const intervals = new Set();

// The handlers the program calls (Module.page in the program's entry points).
const page = {
    present,
    startInterval(periodMs) {
        const handle = setInterval(() => call("_kz_tick"), periodMs);
        intervals.add(handle);
        return handle;
    },
    stopInterval(handle) {
        clearInterval(handle);
        intervals.delete(handle);
    },
    beep,
    markRadio,
    openHelp(topic) {
        const address = helpPage[topic];
        if (address) {
            window.open(address, "_blank", "noopener");
        }
    },
    showAbout,
    loadSetting,
    saveSetting,
    showFatal,
    ended,
};

// Ends the session with a fatal message; a program that failed stops its clock no more.
function fail(error) {
    for (const handle of intervals) {
        clearInterval(handle);
    }
    intervals.clear();
    showFatal(error);
    ended();
}

function start() {
    if (!openCanvas()) {
        console.error("The canvas has no 2D context to draw the game on.");
        fail(fatalError.display);
        return;
    }
    loadGame(page, () => fail(fatalError.paint)).then(() => {
        const width = call("_kz_width");
        const height = call("_kz_height");
        if (!sessionOver() && resizeCanvas(width, height)) {
            call("_kz_repaint");
        }
        leaveMenuBar();
        document.documentElement.dataset.state = "running";
        if ("serviceWorker" in navigator) {
            navigator.serviceWorker.register("service-worker.js").catch((error) => {
                // The game plays on; only the offline copy is missing.
                console.warn("The page cannot be kept for offline play:", error);
            });
        }
    }, (error) => {
        console.error("The game's module cannot run:", error);
        fail(fatalError.window);
    });
}

start();
