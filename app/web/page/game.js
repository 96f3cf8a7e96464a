// The page's side of the game: the handlers the program calls (Module.page), and the start:
// fits the canvas, loads the game's module and starts it. Nothing runs while no game runs: no
// animation frames, no polling.

import {call, loadGame, sessionOver} from "./bridge.js";
import {openCanvas, present, resizeCanvas, setAreas} from "./canvas.js";
import {fatalError, helpPage} from "./constants.js";
import {askPuzzleCode, dialogOpen, ended, showAbout, showFatal, showStatistics, statisticsChanged,} from "./dialogs.js";
import {announce, copyText, describe, notify, playLinkedCode, puzzleChanged, share} from "./extras.js";
import {enableCommand, leaveMenuBar, markRadio} from "./menu.js";
import {askRecordsFile, chosenRecordsFile, exportRecords, recordsUnsaved} from "./records.js";
import {beep} from "./sound.js";
import {loadSetting, loadText, saveSetting, saveText} from "./storage.js";

const intervals = new Set();

// The handlers the program calls by name (Module.page, see page_library.js).
export const page = {
    present,
    layoutAreas: setAreas,
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
    statisticsChanged,
    recordsUnsaved,
    exportRecords,
    askRecordsFile,
    chosenRecordsFile,
    share,
    puzzleChanged,
    notify,
};

// The address the page was opened with, read before the game starts: a game taken up from
// an earlier visit puts its own code there.
let openedWith = "";

// The puzzle of a code in the address (#p=CODE), when the page opens (the game taken up
// again goes on when the link is its own) and when the address changes; a code that names
// no puzzle opens the Play Puzzle Code box with its message.
function followLink(hash, entry) {
    const wrong = playLinkedCode(hash, entry);
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

// The module runs: the canvas takes the screen's size, a link's puzzle plays, and the page
// is kept for offline play.
function running() {
    const width = call("_kz_width");
    const height = call("_kz_height");
    if (!sessionOver() && resizeCanvas(width, height)) {
        call("_kz_repaint");
    }
    leaveMenuBar();
    followLink(openedWith, "_kz_open_puzzle_link");
    window.addEventListener("hashchange", () => followLink(location.hash, "_kz_play_puzzle_code"));
    // A game still running when the page goes away is kept for the next visit; a page kept
    // for the back button may still be played on, and one hidden may be closed unseen (as a
    // phone does with a tab in the background), so both keep the game as it stands.
    window.addEventListener("pagehide", (event) => {
        call(event.persisted ? "_kz_keep_game" : "_kz_leave");
    });
    document.addEventListener("visibilitychange", () => {
        if (document.visibilityState === "hidden") {
            call("_kz_keep_game");
        }
    });
    document.documentElement.dataset.state = "running";
    if ("serviceWorker" in navigator) {
        navigator.serviceWorker.register("service-worker.js").catch((error) => {
            // The game plays on; only the offline copy is missing.
            console.warn("The page cannot be kept for offline play:", error);
        });
    }
}

// Loads the game once the page is ready to show it.
export function start() {
    openedWith = location.hash;
    if (!openCanvas()) {
        console.error("The canvas has no 2D context to draw the game on.");
        fail(fatalError.display);
        return;
    }
    loadGame(page, () => fail(fatalError.paint)).then(running, (error) => {
        console.error("The game's module cannot run:", error);
        fail(fatalError.window);
    });
}
