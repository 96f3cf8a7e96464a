// The boxes and screens around the game: the About box, the Play Puzzle Code, Past Puzzle and
// Statistics boxes with the question before a reset, the fatal message and the closing screen once
// the session has ended.

import {call, callWithText, endSession} from "./bridge.js";
import {fatalCaption, texts} from "./constants.js";
import {closeMenus, leaveMenuBar} from "./menu.js";

let aboutBox = null;
let fatalBox = null;
let codeBox = null;
let codeField = null;
let codeMessage = null;
let dayBox = null;
let dayField = null;
let dayRange = null;
let statisticsBox = null;
let resetBox = null;
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
    closeBoxes();
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

// Every box but the fatal message.
function closeBoxes() {
    for (const box of [resetBox, statisticsBox, dayBox, codeBox, aboutBox]) {
        if (box.open) {
            box.close();
        }
    }
}

function showClosingScreen() {
    closeBoxes();
    document.getElementById("window").hidden = true;
    const screen = document.getElementById("ended");
    screen.hidden = false;
    screen.querySelector("button").focus();
}

// Play Puzzle Code...: a field for the code; text names the code a link brought that names no
// puzzle, which the box shows with its message.
export function askPuzzleCode(text) {
    const wrong = typeof text === "string" && text !== "";
    codeField.value = wrong ? text : "";
    codeMessage.textContent = wrong ? texts.notAPuzzleCode : "";
    if (!codeBox.open) {
        codeBox.showModal();
    }
    codeField.focus();
    codeField.select();
}

// Past Puzzle...: a date field that takes the days from first to today ("YYYY-MM-DD"), today
// chosen; the line under it says which days those are, and turns into a warning while the
// field holds another.
export function askDay(first, today) {
    dayField.min = first;
    dayField.max = today;
    dayField.value = today;
    dayRange.classList.remove("wrong");
    if (!dayBox.open) {
        dayBox.showModal();
    }
    dayField.focus();
}

// Statistics...: the records (the JSON text of the program) as a table, the grades played
// as a second one, today's puzzle and the days in a row. While the box is open new records
// replace the ones shown.
export function showStatistics(json) {
    const statistics = JSON.parse(json);
    const place = document.getElementById("records-table");
    if (statistics.rows.length) {
        place.replaceChildren(recordsTable(
            statistics.columns, statistics.firstNumberColumn, statistics.rows,
            "Records of the games played"));
    } else {
        place.replaceChildren(noRecords(statistics));
    }
    const grades = document.getElementById("grades-table");
    grades.replaceChildren();
    if (statistics.gradeRows.length) {
        const label = "Records of the games by grade";
        grades.append(
            recordsTable(
                statistics.gradeColumns, statistics.gradeFirstNumberColumn, statistics.gradeRows,
                label),
            turnedTable(
                statistics.gradeColumns, statistics.gradeFirstNumberColumn, statistics.gradeRows,
                label));
    }
    grades.hidden = !statistics.gradeRows.length;
    document.getElementById("todays-puzzle").textContent = statistics.today;
    document.getElementById("days-in-a-row").textContent = statistics.daysInARow;
    const reset = document.getElementById("reset-statistics");
    reset.disabled = !statistics.canReset;
    if (!statisticsBox.open) {
        statisticsBox.showModal();
        // Enter and Esc close the box at once; the reset is a Tab away.
        document.getElementById("close-statistics").focus();
    }
}

// Records another tab stored, for the box when it is open.
export function statisticsChanged(json) {
    if (statisticsBox.open) {
        showStatistics(json);
    }
}

// A records table's element, named for a screen reader.
function newTable(className, label) {
    const table = document.createElement("table");
    table.className = className;
    table.setAttribute("aria-label", label);
    return table;
}

// A cell of a records table: a header cell says what it heads (its scope), and counts stand
// at the right.
function tableCell(tag, text, {scope = "", number = false} = {}) {
    const element = document.createElement(tag);
    element.textContent = text;
    if (scope) {
        element.scope = scope;
    }
    if (number) {
        element.className = "number";
    }
    return element;
}

function recordsTable(columns, firstNumberColumn, rows, label) {
    const table = newTable("records-table", label);
    const cell = (tag, text, column) => tableCell(tag, text, {
        scope: tag === "th" ? "col" : "",
        number: column >= firstNumberColumn,
    });
    const head = table.createTHead().insertRow();
    columns.forEach((text, column) => head.append(cell("th", text, column)));
    const body = table.createTBody();
    for (const row of rows) {
        const line = body.insertRow();
        row.forEach((text, column) => line.append(cell("td", text, column)));
    }
    return table;
}

// A table turned a quarter: a column for each row and a row for each count, which is
// narrow enough for a phone held upright where the grades' rows are not. The style sheet
// shows the one of the two that fits. Only the counts' names stand at the left.
function turnedTable(columns, firstNumberColumn, rows, label) {
    const table = newTable("records-table turned", label);
    const head = table.createTHead().insertRow();
    head.append(tableCell("td", "", {number: true}));
    for (const row of rows) {
        head.append(tableCell("th", row[0], {scope: "col", number: true}));
    }
    const body = table.createTBody();
    for (let column = firstNumberColumn; column < columns.length; ++column) {
        const line = body.insertRow();
        line.append(tableCell("th", columns[column], {scope: "row"}));
        for (const row of rows) {
            line.append(tableCell("td", row[column], {number: true}));
        }
    }
    return table;
}

function noRecords(statistics) {
    const text = document.createElement("p");
    text.textContent = statistics.none;
    return text;
}

// Takes the boxes of the page and listens to their buttons.
export function init() {
    aboutBox = document.getElementById("about");
    fatalBox = document.getElementById("fatal");
    codeBox = document.getElementById("puzzle-code-box");
    codeField = document.getElementById("puzzle-code");
    codeMessage = document.getElementById("puzzle-code-message");
    dayBox = document.getElementById("past-day-box");
    dayField = document.getElementById("past-day");
    dayRange = document.getElementById("past-day-range");
    statisticsBox = document.getElementById("statistics");
    resetBox = document.getElementById("reset-box");
    fatalBox.addEventListener("close", () => {
        if (endPending) {
            endPending = false;
            showClosingScreen();
        }
    });
    aboutBox.addEventListener("close", () => leaveMenuBar());
    document.getElementById("puzzle-code-form").addEventListener("submit", (event) => {
        event.preventDefault();
        // A code copied from a text often brings a tab or line end along.
        if (callWithText("_kz_play_puzzle_code", codeField.value.trim()) === 1) {
            codeBox.close();
            return;
        }
        codeMessage.textContent = texts.notAPuzzleCode;
        codeField.focus();
        codeField.select();
    });
    codeField.addEventListener("input", () => {
        codeMessage.textContent = "";
    });
    document.getElementById("puzzle-code-cancel").addEventListener("click", () => codeBox.close());
    codeBox.addEventListener("close", () => leaveMenuBar());
    document.getElementById("past-day-form").addEventListener("submit", (event) => {
        event.preventDefault();
        if (dayField.checkValidity() && callWithText("_kz_play_day", dayField.value) === 1) {
            dayBox.close();
            return;
        }
        dayRange.classList.add("wrong");
        dayField.focus();
    });
    // The browser keeps a day outside min and max from submitting, and says so itself; the
    // line under the field turns into a warning with it.
    dayField.addEventListener("invalid", () => dayRange.classList.add("wrong"));
    // Enter in a date field does not submit its form in every browser; here it is OK.
    dayField.addEventListener("keydown", (event) => {
        if (event.key === "Enter") {
            event.preventDefault();
            document.getElementById("past-day-ok").click();
        }
    });
    dayField.addEventListener("input", () => {
        dayRange.classList.toggle("wrong", !dayField.checkValidity());
    });
    document.getElementById("past-day-cancel").addEventListener("click", () => dayBox.close());
    dayBox.addEventListener("close", () => leaveMenuBar());
    document.getElementById("close-statistics")
        .addEventListener("click", () => statisticsBox.close());
    statisticsBox.addEventListener("close", () => leaveMenuBar());
    document.getElementById("reset-statistics").addEventListener("click", () => {
        resetBox.showModal();
        // A stray Enter must not clear what years of games built up.
        document.getElementById("reset-cancel").focus();
    });
    document.getElementById("reset-cancel").addEventListener("click", () => resetBox.close());
    document.getElementById("reset-confirm").addEventListener("click", () => {
        resetBox.close();
        // The program clears and stores the records and shows them again in the open box.
        call("_kz_reset_records");
        document.getElementById("close-statistics").focus();
    });
    document.getElementById("play-again").addEventListener("click", () => location.reload());
}
