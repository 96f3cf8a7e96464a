// The extra play's side of the page: what a screen reader hears and reads of the canvas, the
// clipboard, sharing a link, the puzzle's code and day in the title and the address, links
// that bring a code or a day, and the short notice beside the game.

import {callWithText} from "./bridge.js";
import {texts} from "./constants.js";

let announcements = null;
let description = null;
let notice = null;
// The live region keeps a few sentences, so that several of one key all reach a listener and
// the same sentence twice is heard twice.
const keptAnnouncements = 4;
const linkPrefix = "#p=";
const dayLinkPrefix = "#d=";

// Takes the live region, the canvas's description and the notice of the page.
export function init() {
    announcements = document.getElementById("announcements");
    description = document.getElementById("screen-description");
    notice = document.getElementById("notice");
    notice.addEventListener("animationend", () => {
        notice.hidden = true;
        notice.classList.remove("showing");
    });
}

// A sentence for a screen reader, in the polite live region.
export function announce(text) {
    const line = document.createElement("p");
    line.textContent = text;
    announcements.append(line);
    while (announcements.childElementCount > keptAnnouncements) {
        announcements.firstElementChild.remove();
    }
}

// What the canvas shows, as its accessible description.
export function describe(text) {
    description.textContent = text;
}

// A short notice over the menu bar's free end, away from the game's picture; it fades by
// itself (a style animation, no timer), and a screen reader hears it too.
export function notify(text) {
    notice.textContent = text;
    notice.title = text;
    notice.hidden = false;
    notice.classList.remove("showing");
    // Read the layout, so the animation starts again for a second notice.
    void notice.offsetWidth;
    notice.classList.add("showing");
    announce(text);
}

// Puts a text on the clipboard; resolves to false when the browser refuses it.
function writeClipboard(text) {
    const fallback = () => {
        // The older way, for a page the clipboard interface is closed to.
        const field = document.createElement("textarea");
        field.value = text;
        field.setAttribute("readonly", "");
        field.className = "unseen";
        const focused = document.activeElement;
        document.body.append(field);
        field.select();
        let copied = false;
        try {
            copied = document.execCommand("copy");
        } catch {
            copied = false;
        }
        field.remove();
        if (focused && focused !== document.body) {
            focused.focus();
        }
        return copied;
    };
    if (navigator.clipboard && navigator.clipboard.writeText) {
        return navigator.clipboard.writeText(text).then(() => true, fallback);
    }
    return Promise.resolve(fallback());
}

// Copy Puzzle Code and Copy Today's Result: once the text is on the clipboard the player is
// told so; where the browser allows no copy, the text itself is shown to copy by hand.
export function copyText(text, copied) {
    writeClipboard(text).then((done) => {
        notify(done ? copied : `Not copied (the browser refused): ${text}`);
    });
}

// This page's address without what follows #, for links to share.
export function pageAddress() {
    return location.origin + location.pathname;
}

// The address that plays a puzzle: this page with the code after #p=.
export function puzzleLink(code) {
    return pageAddress() + linkPrefix + code;
}

// Share: the browser's share sheet where it has one, otherwise the link on the clipboard.
export function share(code) {
    const url = puzzleLink(code);
    const copyLink = () => writeClipboard(url).then((copied) => {
        notify(copied ? "Link to this puzzle copied." : `Link to this puzzle: ${url}`);
    });
    if (typeof navigator.share === "function") {
        navigator.share({title: `${texts.title} \u2014 ${code}`, url}).catch((error) => {
            // A share the player cancelled is no failure; one the page may not make is
            // copied instead.
            if (!error || error.name !== "AbortError") {
                copyLink();
            }
        });
    } else {
        copyLink();
    }
}

// A new puzzle on show: its code in the title and in the address, without a new entry in
// the history.
export function puzzleChanged(code) {
    document.title = code ? `${texts.title} \u2014 ${code}` : texts.title;
    if (code && history.replaceState) {
        history.replaceState(history.state, "", linkPrefix + code);
    }
}

// Right after puzzleChanged: the day of a day's puzzle, after its code in the title; the
// address then names the day (#d=), which plays the same puzzle as a day's puzzle.
export function puzzleDated(day) {
    if (day) {
        document.title = `${document.title} \u2014 puzzle of ${day}`;
        if (history.replaceState) {
            history.replaceState(history.state, "", dayLinkPrefix + day);
        }
    }
}

// After that: the grade Next drew the puzzle for, after its code.
export function puzzleGraded(grade) {
    if (grade) {
        document.title = `${document.title} \u2014 ${grade}`;
    }
}

// The code an address brings after #p=, or null.
export function linkedCode(hash) {
    if (!hash.startsWith(linkPrefix)) {
        return null;
    }
    try {
        return decodeURIComponent(hash.slice(linkPrefix.length));
    } catch {
        return hash.slice(linkPrefix.length);
    }
}

// The day an address brings after #d=, as written there, or null.
export function linkedDay(hash) {
    return hash.startsWith(dayLinkPrefix) ? hash.slice(dayLinkPrefix.length) : null;
}

// Plays the day's puzzle an address brings after #d=, through the game's entry (the link the
// page opened with, or a changed address). A text that is no date, a day still to come or one
// before the first puzzle plays nothing and is taken from the address. False when the address
// brings no day.
export function playLinkedDay(hash, entry) {
    const day = linkedDay(hash);
    if (day === null) {
        return false;
    }
    if (callWithText(entry, day) !== 1) {
        history.replaceState(history.state, "", location.pathname + location.search);
    }
    return true;
}

// Plays the code an address brings after #p=, if it does, through the game's entry (a code
// typed, or the link the page opened with); returns the code when it names no puzzle, for
// the box that says so.
export function playLinkedCode(hash, entry) {
    const code = linkedCode(hash);
    if (code === null) {
        return null;
    }
    if (callWithText(entry, code) === 1) {
        return null;
    }
    // The wrong code leaves the address, so a reload does not bring it back.
    history.replaceState(history.state, "", location.pathname + location.search);
    return code;
}
