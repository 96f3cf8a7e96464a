// The settings and the records, kept in the page's local storage under the names the program
// gives them.

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
