// The settings, the records and the game in progress, kept in the page's local storage under
// the names the program gives them, and the lock that lets one tab alone keep the game.

// Held by the tab that took up the kept game, for as long as that tab lives; the browser
// lets it go when the tab closes or is discarded.
const gameLockName = "kestrane-zivadorured-game";
let gameClaimed = true;

// The stored text, or null when nothing is stored or storage is closed to the page (the
// program then takes its defaults).
export function loadSetting(name) {
    try {
        return window.localStorage.getItem(name);
    } catch {
        return null;
    }
}

export function saveSetting(name, value) {
    try {
        window.localStorage.setItem(name, String(value));
    } catch {
        // Not kept; the next visit starts with what storage still holds.
    }
}

// The records' text, or null when none is stored or storage is closed to the page.
export function loadText(name) {
    return loadSetting(name);
}

// False when the text could not be kept (storage closed or full).
export function saveText(name, text) {
    try {
        window.localStorage.setItem(name, text);
        return true;
    } catch {
        return false;
    }
}

// Asks for the kept game's lock; resolves to whether this tab got it, and with it the kept
// game. Two tabs opened at once would otherwise both take the game up and count it twice:
// the one that does not get the lock plays a game of its own and leaves the kept one alone.
// A browser without the lock, or one that refuses it to the page, lets every tab take the
// game up.
export function claimKeptGame() {
    const locks = navigator.locks;
    if (!locks || typeof locks.request !== "function") {
        gameClaimed = true;
        return Promise.resolve(true);
    }
    return new Promise((resolve) => {
        const granted = (lock) => {
            gameClaimed = lock !== null;
            resolve(gameClaimed);
            // Never settled, so the lock is held until the tab goes.
            return gameClaimed ? new Promise(() => {}) : undefined;
        };
        const refused = () => {
            gameClaimed = true;
            resolve(true);
        };
        try {
            locks.request(gameLockName, {ifAvailable: true}, granted).catch(refused);
        } catch {
            refused();
        }
    });
}

// Whether this tab takes up and keeps the game in progress (see claimKeptGame).
export function keepsGame() {
    return gameClaimed;
}
