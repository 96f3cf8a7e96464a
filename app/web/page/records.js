// The records' side of the page: the lasting notice while they cannot be stored (or while
// progress may be lost with the browser closed suddenly), Export and
// Import Records as files of the player's, another tab's records, and the browser asked to
// keep the page's storage rather than clear it when space runs short.

import {call} from "./bridge.js";
import {roomChanged} from "./canvas.js";
import {storedTexts, texts} from "./constants.js";
import {announce, notify} from "./extras.js";
import {serialName} from "./storage.js";

let unsavedNotice = null;
// The notice that progress may be lost, once said and until the player closes the notice.
let riskShown = null;
let fileField = null;
// The text of the file being imported, while the program reads it.
let chosenText = null;

// Takes the notice and the file field of the page and listens to them and to other tabs.
export function init() {
    unsavedNotice = document.getElementById("records-notice");
    fileField = document.getElementById("records-file");
    document.getElementById("records-notice-close").addEventListener("click", () => {
        unsavedNotice.hidden = true;
        riskShown = null;
        roomChanged();
    });
    fileField.addEventListener("change", () => {
        const file = fileField.files[0];
        // Cleared, so the same file chosen again is read again.
        fileField.value = "";
        if (file) {
            file.text().then(importText, () => notify(texts.importResults.notRecords));
        }
    });
    // Another tab of the game stored records (or cleared the storage): this one's are read
    // again, so an open Statistics box shows them and its next game adds to them. The serial
    // number written beside a text says nothing new.
    window.addEventListener("storage", (event) => {
        if (!storedTexts.some((name) => event.key === serialName(name))) {
            call("_kz_storage_changed");
        }
    });
    askToKeepStorage();
}

// Resolves to whether the browser keeps the page's storage; it may ask the player.
export function askToKeepStorage() {
    const storage = navigator.storage;
    if (!storage || typeof storage.persist !== "function") {
        return Promise.resolve(false);
    }
    return storage.persist().catch(() => false);
}

// The notice outside the canvas: shown when the records cannot be stored, gone when they
// can again. The game makes room for it.
export function recordsUnsaved(unsaved) {
    const text = unsaved ? texts.recordsUnsaved : riskShown;
    showLasting(text);
    if (unsaved) {
        announce(texts.recordsUnsaved);
    }
}

// The same notice, told that progress may be lost if the browser is closed suddenly: too long
// for the menu bar's passing notice, and worth keeping until the player has read it.
export function progressAtRisk(text) {
    riskShown = text;
    if (unsavedNotice.hidden) {
        showLasting(text);
    }
    announce(text);
}

function showLasting(text) {
    if (text) {
        unsavedNotice.querySelector("p").textContent = text;
    }
    if (unsavedNotice.hidden !== !text) {
        unsavedNotice.hidden = !text;
        roomChanged();
    }
}

// Offers the records as a file to download, and says so: the browser may save it without a
// word.
export function exportRecords(name, text) {
    const address = URL.createObjectURL(new Blob([text], {type: "text/plain"}));
    const link = document.createElement("a");
    link.href = address;
    link.download = texts.recordsFileName;
    link.hidden = true;
    document.body.append(link);
    link.click();
    link.remove();
    notify(texts.recordsExported);
    // The download has taken the text by the next task.
    setTimeout(() => URL.revokeObjectURL(address), 0);
}

// Import Records...: the browser's file box.
export function askRecordsFile() {
    fileField.click();
}

// The text of the file being imported, for the program; null at any other time.
export function chosenRecordsFile() {
    return chosenText;
}

// Hands a file's text to the program and tells the player what came of it.
export function importText(text) {
    chosenText = text;
    let result;
    try {
        result = call("_kz_import_records");
    } finally {
        chosenText = null;
    }
    const told = texts.importResults[result];
    if (told) {
        notify(told);
    }
    return result;
}
