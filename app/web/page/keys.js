// Keys as the game's key messages name them: the Windows virtual-key code of a key event.

import {virtualKeyCode as code} from "./constants.js";

// Keys named by KeyboardEvent.key with the code Windows gives them.
const namedKeys = new Map([
    ["Backspace", code.backspace],
    ["Tab", code.tab],
    ["Enter", code.enter],
    ["Shift", code.shift],
    ["Control", code.control],
    ["Alt", code.alt],
    ["Escape", code.escape],
    [" ", code.space],
    ["ArrowLeft", code.left],
    ["ArrowUp", code.up],
    ["ArrowRight", code.right],
    ["ArrowDown", code.down],
    ["Delete", code.delete],
]);

// The virtual-key code of a key event ({key, code}), or 0 for keys it has none for. Letters
// and digits share their codes with ASCII, the keypad's digits have codes of their own, and
// a letter of another script counts as the letter of its key's place.
export function virtualKey(event) {
    const keypad = /^Numpad([0-9])$/.exec(event.code);
    if (keypad && event.key === keypad[1]) {
        return code.numpad0 + Number(keypad[1]);
    }
    if (/^[A-Za-z0-9]$/.test(event.key)) {
        return event.key.toUpperCase().charCodeAt(0);
    }
    const place = /^(?:Key([A-Z])|Digit([0-9]))$/.exec(event.code);
    if (place) {
        return (place[1] || place[2]).charCodeAt(0);
    }
    const functionKey = /^F([1-9][0-9]?)$/.exec(event.key);
    if (functionKey && Number(functionKey[1]) <= 24) {
        return code.f1 + Number(functionKey[1]) - 1;
    }
    return namedKeys.get(event.key) || 0;
}
