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
// itself (a style animation, no timer), and a screen reader hears it too unless said already.
export function notify(text, said = false) {
    notice.textContent = text;
    notice.title = text;
    notice.hidden = false;
    notice.classList.remove("showing");
    // Read the layout, so the animation starts again for a second notice.
    void notice.offsetWidth;
    notice.classList.add("showing");
    if (!said) {
        announce(text);
    }
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

// Share: the browser's share sheet where it has one, otherwise the link (url) on the
// clipboard.
export function share(code, url) {
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

// The puzzle on show: the title the game gave, and the link that plays it in the address,
// without a new entry in the history.
export function showTitle(title, link) {
    document.title = title;
    if (link && history.replaceState) {
        history.replaceState(history.state, "", link);
    }
}

// The puzzle a link in the address brings (#p=CODE, #d=YYYY-MM-DD), when the page opens and
// when the address changes: the game goes on when it plays that puzzle already. One that names
// no puzzle is taken from the address, so a reload does not bring it back; the game says what
// was wrong with a code.
export function followLink(hash) {
    if (!hash.startsWith("#") || hash === "#") {
        return;
    }
    let link = hash;
    try {
        link = decodeURIComponent(hash);
    } catch {
        // Kept as written: the game finds it no puzzle's.
    }
    if (callWithText("_kz_open_link", link) !== 1) {
        history.replaceState(history.state, "", location.pathname + location.search);
    }
}
