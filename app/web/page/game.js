// The page's side of the game: the handlers the program calls (Module.page), and the start:
// fits the canvas, loads the game's module and starts it. Nothing runs while the game is still:
// an animation frame only once something on show changed, no polling.

import {artFile, artScale, loadArt} from "./art.js";
import {call, callWithBytes, loadGame, sessionOver, useArt} from "./bridge.js";
import {openCanvas, present, resizeCanvas, setAreas, shownScale, whenLaidOut} from "./canvas.js";
import {catalogueFile, fatalError, helpPage} from "./constants.js";
import {askDay, askPuzzleCode, dialogOpen, ended, showAbout, showFatal, showStatistics, statisticsChanged,} from "./dialogs.js";
import {announce, copyText, describe, followLink, notify, pageAddress, share, showTitle} from "./extras.js";
import {enableCommand, leaveMenuBar, markRadio} from "./menu.js";
import {askRecordsFile, chosenRecordsFile, exportRecords, progressAtRisk, recordsUnsaved} from "./records.js";
import {beep} from "./sound.js";
import {claimKeptGame, keepsGame, loadSetting, loadText, openStore, saveSetting, saveText} from "./storage.js";

// The intervals of the session's timers, by timer id.
const intervals = new Map();
// An animation frame is asked for and has not come yet.
let frameRequested = false;
// The catalogue of graded puzzles, fetched once the first frame is on the canvas so that it
// never delays it: resolves to its bytes, or null when it cannot be had.
let firstFramePresented = () => {};
const firstFrame = new Promise((resolve) => {
    firstFramePresented = resolve;
});
const catalogue = firstFrame.then(fetchCatalogue);

function fetchCatalogue() {
    return fetch(catalogueFile)
        .then((response) => (response.ok ? response.arrayBuffer() : null))
        .catch(() => null);
}

function stopIntervals() {
    for (const handle of intervals.values()) {
        clearInterval(handle);
    }
    intervals.clear();
}

// The handlers the program calls by name (Module.page, see page_library.js).
export const page = {
    present(...area) {
        present(...area);
        firstFramePresented();
    },
    // One request at a time: a session that takes the place of another asks afresh.
    frameWanted() {
        if (!frameRequested) {
            frameRequested = true;
            requestAnimationFrame(() => {
                frameRequested = false;
                call("_kz_frame");
            });
        }
    },
    layoutAreas: setAreas,
    // Starting a timer that runs replaces it.
    startInterval(timerId, periodMs) {
        clearInterval(intervals.get(timerId));
        intervals.set(timerId, setInterval(() => call("_kz_tick", timerId), periodMs));
        return 1;
    },
    stopInterval(timerId) {
        clearInterval(intervals.get(timerId));
        intervals.delete(timerId);
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
    ended() {
        stopIntervals();
        ended();
    },
    loadText,
    saveText,
    announce,
    describe,
    enableCommand,
    copyText,
    // The text of a link whose code names no puzzle, said wrong; empty from the menu. A box
    // the player has open already is left as it is.
    askPuzzleCode(text) {
        if (text === "" || !dialogOpen()) {
            askPuzzleCode(text);
        }
    },
    askDay,
    pageAddress,
    showStatistics,
    statisticsChanged,
    claimGame: keepsGame,
    recordsUnsaved,
    exportRecords,
    askRecordsFile,
    chosenRecordsFile,
    share,
    showTitle,
    notify,
};

// The address the page was opened with, read before the game starts: a game taken up from
// an earlier visit puts its own code there.
let openedWith = "";
// The sets of pictures fetched, or being fetched, for the layout (see sharpen): each once.
const artSought = new Set();

// Ends the session with a fatal message; a program that failed stops its clock no more.
function fail(error) {
    stopIntervals();
    showFatal(error);
    ended();
}

// The module runs: the canvas takes the screen's size, a link's puzzle plays, and the page
// is kept for offline play.
function running() {
    const width = call("_kz_width");
    const height = call("_kz_height");
    const scale = call("_kz_scale");
    if (!sessionOver() && resizeCanvas(width, height, scale)) {
        call("_kz_repaint");
    }
    leaveMenuBar();
    followLink(openedWith);
    window.addEventListener("hashchange", () => followLink(location.hash));
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
    keepArt(scale);
    whenLaidOut(() => Promise.resolve().then(sharpen));
    sharpen();
}

// The service worker keeps only the larger pictures a screen has used, not every set.
function keepArt(scale) {
    if (scale > 1 && "serviceWorker" in navigator) {
        navigator.serviceWorker.ready.then((registration) => {
            if (registration.active) {
                registration.active.postMessage({keep: artFile(scale)});
            }
        });
    }
}

// A layout that shows the picture at another size than the set in use is right for (an
// upright phone's field zoomed once the program gives its areas, a wider window, a zoom,
// another screen) has the program draw from the set it needs: one it already holds at once,
// another fetched first. A set is fetched once; the program keeps what it was given.
function sharpen() {
    const current = call("_kz_scale");
    const needed = artScale(shownScale());
    if (!current || needed === current) {
        return;
    }
    if (call("_kz_use_scale", needed)) {
        drawnAt(needed);
        return;
    }
    if (artSought.has(needed)) {
        return;
    }
    artSought.add(needed);
    loadArt(needed).then((set) => {
        if (!set || sessionOver()) {
            return;
        }
        useArt(set);
        // The layout may have moved on while the set came.
        if (artScale(shownScale()) === set.scale && call("_kz_use_scale", set.scale)) {
            drawnAt(set.scale);
        }
    });
}

// The canvases take the frame of the set now drawn from, and the program draws it whole.
function drawnAt(scale) {
    if (resizeCanvas(call("_kz_width"), call("_kz_height"), scale)) {
        call("_kz_repaint");
    }
    keepArt(scale);
}


// Loads the game once the page is ready to show it.
export function start() {
    openedWith = location.hash;
    if (!openCanvas()) {
        console.error("The canvas has no 2D context to draw the game on.");
        fail(fatalError.display);
        return;
    }
    // The larger pictures, when the screen needs them, come while the module loads, and the
    // tab learns meanwhile whether the kept game is its to take up. The store opens meanwhile
    // too; a module ready before it draws its first frame without waiting, and takes the
    // records and the kept game up once it is open.
    let storeOpen = false;
    const firstArt = artScale(shownScale());
    artSought.add(firstArt);
    const stored = openStore(progressAtRisk).then(() => {
        storeOpen = true;
    });
    loadGame(
        page, () => fail(fatalError.paint), loadArt(firstArt), claimKeptGame(), () => storeOpen)
        .then((storeWasOpen) => Promise.all([
            storeWasOpen || stored.then(() => call("_kz_take_up_stored")),
            catalogue.then((bytes) => callWithBytes("_kz_take_up_catalogue", bytes)),
        ]))
        .then(running, (error) => {
            console.error("The game's module cannot run:", error);
            fail(fatalError.window);
        });
}
