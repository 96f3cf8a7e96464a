// The page around the game, its entry module: fits the canvas, loads the game's module with
// what the program asks of the page, and starts it. Nothing runs while no game runs: no
// animation frames, no polling.
//   bridge.js   the game's module: loading it, calls into it, the end of the session
//   canvas.js   the canvas: frames, size on the page, game points
//   input.js    pointer and keys as window messages
//   keys.js     the virtual-key code of a key
//   menu.js     the menu bar, its radio marks and greyed items
//   dialogs.js  the About, Play Puzzle Code and Statistics boxes, the fatal message, the
//               closing screen
//   extras.js   the live region, the canvas's description, the clipboard, sharing, the
//               puzzle's code in the title and address, links with a code, notices
//   storage.js  the settings and the records in local storage
//   sound.js    the beep
//   constants.js, written at build time: numbers shared with the program

import {call, loadGame, sessionOver} from "./bridge.js";
import {openCanvas, present, resizeCanvas} from "./canvas.js";
import {fatalError, helpPage} from "./constants.js";
import {askPuzzleCode, dialogOpen, ended, showAbout, showFatal, showStatistics} from "./dialogs.js";
import {announce, copyText, describe, notify, playLinkedCode, puzzleChanged, share} from "./extras.js";
import "./input.js";
import {enableCommand, leaveMenuBar, markRadio} from "./menu.js";
import {beep} from "./sound.js";
import {loadSetting, loadText, saveSetting, saveText} from "./storage.js";

const intervals = new Set();

// The handlers the program calls (Module.page in the program's entry points).
const page = {
    present,
    startInterval(timerId, periodMs) {
        const handle = setInterval(() => call("_kz_tick", timerId), periodMs);
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
    loadText,
    saveText,
    announce,
    describe,
    enableCommand,
    copyText,
    askPuzzleCode: () => askPuzzleCode(),
    showStatistics,
    share,
    puzzleChanged,
    notify,
};

// The puzzle of a code in the address (#p=CODE), when the page opens and when the address
// changes; a code that names no puzzle opens the Play Puzzle Code box with its message.
function followLink() {
    const wrong = playLinkedCode();
    if (wrong !== null && !dialogOpen()) {
        askPuzzleCode(wrong);
    }
}

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
        followLink();
        window.addEventListener("hashchange", followLink);
        // A game still running when the page goes away counts as left; a page kept for
        // the back button may still be played on.
        window.addEventListener("pagehide", (event) => {
            if (!event.persisted) {
                call("_kz_leave");
            }
        });
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
