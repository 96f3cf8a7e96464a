// The program's calls into the page, linked into the game's module (--js-library): the
// program's side (BrowserPage in web_main.cpp) names the handler, as page_calls.h declares it,
// and it is the function of that name in the handlers the page gave the module (Module.page,
// the page object of game.js). These functions only carry values across: numbers as they are, texts
// as UTF-8 in the module's heap, the frame as a view of the heap; truth values come back as 1 and
// 0. Emscripten's linker gives them the module's scope, and each $name to the functions that list
// it among their __deps.

mergeInto(LibraryManager.library, {
    $kzPageHandler: function(name) {
        const text = UTF8ToString(name);
        const handler = Module.page[text];
        if (typeof handler !== "function") {
            throw new Error("the page has no handler " + text);
        }
        return handler;
    },
    $kzPageResult: function(value) {
        return typeof value === "number" ? value : value ? 1 : 0;
    },

    // A handler of up to two numbers.
    kz_page_call__deps: ["$kzPageHandler", "$kzPageResult"],
    kz_page_call: function(handler, first, second) {
        return kzPageResult(kzPageHandler(handler)(first, second));
    },

    // A handler of a text and a number.
    kz_page_call_text__deps: ["$kzPageHandler", "$kzPageResult"],
    kz_page_call_text: function(handler, text, number) {
        return kzPageResult(kzPageHandler(handler)(UTF8ToString(text), number));
    },

    // A handler of two texts.
    kz_page_call_texts__deps: ["$kzPageHandler", "$kzPageResult"],
    kz_page_call_texts: function(handler, first, second) {
        return kzPageResult(kzPageHandler(handler)(UTF8ToString(first), UTF8ToString(second)));
    },

    // A handler of a name and a text of any bytes, a NUL among them: the text comes with its
    // length in bytes.
    kz_page_call_bytes__deps: ["$kzPageHandler", "$kzPageResult"],
    kz_page_call_bytes: function(handler, name, bytes, length) {
        const text = new TextDecoder().decode(HEAPU8.slice(bytes, bytes + length));
        return kzPageResult(kzPageHandler(handler)(UTF8ToString(name), text));
    },

    // A handler that gives a text of any characters or null: the text as UTF-8 in memory of
    // the module's heap, which the caller frees, with its length in bytes at length; 0 for
    // null (and when there is no memory for it).
    kz_page_read_bytes__deps: ["$kzPageHandler", "malloc"],
    kz_page_read_bytes: function(handler, name, length) {
        const value = kzPageHandler(handler)(UTF8ToString(name));
        if (value === null || value === undefined) {
            return 0;
        }
        const bytes = new TextEncoder().encode(String(value));
        const text = _malloc(bytes.length + 1);
        if (text) {
            HEAPU8.set(bytes, text);
            HEAPU8[text + bytes.length] = 0;
            HEAP32[length >> 2] = bytes.length;
        }
        return text;
    },

    // A handler that gives a text or null: the text in memory of the module's heap, which the
    // caller frees, or 0 for null (and when there is no memory for it).
    kz_page_read_text__deps: ["$kzPageHandler", "malloc"],
    kz_page_read_text: function(handler, name) {
        const value = kzPageHandler(handler)(UTF8ToString(name));
        if (value === null || value === undefined) {
            return 0;
        }
        const size = lengthBytesUTF8(value) + 1;
        const text = _malloc(size);
        if (text) {
            stringToUTF8(value, text, size);
        }
        return text;
    },

    // The areas a small screen lays out: count rectangles of four numbers each (left, top,
    // right, bottom), handed over as arrays.
    kz_page_areas__deps: ["$kzPageHandler"],
    kz_page_areas: function(handler, areas, count) {
        const rects = [];
        for (let i = 0; i < count; ++i) {
            const first = (areas >> 2) + 4 * i;
            rects.push(Array.from(HEAP32.subarray(first, first + 4)));
        }
        kzPageHandler(handler)(rects);
    },

    // The frame goes to the handler with the heap that holds it.
    kz_page_present__deps: ["$kzPageHandler"],
    kz_page_present: function(handler, frame, width, height, x, y, w, h) {
        kzPageHandler(handler)(HEAPU8, frame, width, height, x, y, w, h);
    },
});
