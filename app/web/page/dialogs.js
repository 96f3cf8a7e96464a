// The boxes and screens around the game: the About box, the fatal message and the closing
// screen once the session has ended.

import {endSession} from "./bridge.js";
import {fatalCaption} from "./constants.js";
import {closeMenus, leaveMenuBar} from "./menu.js";

const aboutBox = document.getElementById("about");
const fatalBox = document.getElementById("fatal");
let endPending = false;  // ended while the fatal message is still up

export function dialogOpen() {
    return document.querySelector("dialog[open]") !== null;
}

export function showAbout() {
    aboutBox.showModal();
    aboutBox.querySelector("button").focus();
}

// The fatal message with the caption of that fatal error.
export function showFatal(error) {
    if (error in fatalCaption) {
        document.getElementById("fatal-caption").textContent = fatalCaption[error];
    }
    closeMenus(false);
    if (aboutBox.open) {
        aboutBox.close();
    }
    if (!fatalBox.open) {
        fatalBox.showModal();
    }
    fatalBox.querySelector("button").focus();
}

// The session is over: the closing screen, once the fatal message (if any) is closed.
export function ended() {
    endSession();
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
aboutBox.addEventListener("close", () => leaveMenuBar());
document.getElementById("play-again").addEventListener("click", () => location.reload());
