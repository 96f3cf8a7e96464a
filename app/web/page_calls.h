#pragma once

// Every call across the edge of the game's module, declared once: the handlers of the page
// that the program calls (by name, through page_library.js) with the way their arguments
// cross, and the module's entry points that the page calls. The page maker writes the other
// sides from these lists at build time: the handlers the page must give (pageHandlers in
// constants.js, which the page's bridge holds the page to) and the exports of the link.
// A call is added or taken away here and where it is carried out, nowhere else.

#include <cstddef>
#include <cstdint>

namespace kz {

// How a handler's arguments cross; page_library.js has one function for each.
enum class PageCallShape : uint8_t {
    Numbers,        // up to two numbers; a number back
    TextAndNumber,  // a text and a number; a number back
    Texts,          // two texts; a number back
    NameAndBytes,   // a name and a text of any bytes; a number back
    ReadsBytes,     // a name; a text of any bytes, or none, back
    ReadsText,      // a name; a text, or none, back
    Areas,          // rectangles of four numbers each
    Frame,          // an area of the frame, with the heap that holds it
};

// The handlers, each as X(name, shape): the program's PageHandler::name calls the page's
// handler "name".
#define KZ_PAGE_HANDLERS(X)             \
    X(present, Frame)                   \
    X(frameWanted, Numbers)             \
    X(layoutAreas, Areas)               \
    X(startInterval, Numbers)           \
    X(stopInterval, Numbers)            \
    X(beep, Numbers)                    \
    X(markRadio, Numbers)               \
    X(openHelp, Numbers)                \
    X(showAbout, Numbers)               \
    X(loadSetting, ReadsText)           \
    X(saveSetting, TextAndNumber)       \
    X(showFatal, Numbers)               \
    X(ended, Numbers)                   \
    X(loadText, ReadsBytes)             \
    X(saveText, NameAndBytes)           \
    X(claimGame, Numbers)               \
    X(recordsUnsaved, Numbers)          \
    X(exportRecords, NameAndBytes)      \
    X(askRecordsFile, Numbers)          \
    X(chosenRecordsFile, ReadsBytes)    \
    X(announce, TextAndNumber)          \
    X(describe, TextAndNumber)          \
    X(enableCommand, Numbers)           \
    X(copyText, Texts)                  \
    X(askPuzzleCode, TextAndNumber)     \
    X(askDay, Texts)                    \
    X(pageAddress, ReadsText)           \
    X(showStatistics, TextAndNumber)    \
    X(statisticsChanged, TextAndNumber) \
    X(share, Texts)                     \
    X(showTitle, Texts)                 \
    X(notify, TextAndNumber)

// The module's entry points the page calls, each as X(name) for the C function name.
#define KZ_MODULE_ENTRIES(X) \
    X(kz_start)              \
    X(kz_take_up_stored)     \
    X(kz_take_up_catalogue)  \
    X(kz_use_art)            \
    X(kz_use_scale)          \
    X(kz_scale)              \
    X(kz_width)              \
    X(kz_height)             \
    X(kz_mouse)              \
    X(kz_touch)              \
    X(kz_pointer_left)       \
    X(kz_key)                \
    X(kz_tick)               \
    X(kz_frame)              \
    X(kz_play_puzzle_code)   \
    X(kz_play_day)           \
    X(kz_open_link)          \
    X(kz_keep_game)          \
    X(kz_reset_records)      \
    X(kz_import_records)     \
    X(kz_storage_changed)    \
    X(kz_leave)              \
    X(kz_command)            \
    X(kz_repaint)            \
    X(malloc)                \
    X(free)

enum class PageHandler : uint8_t {
#define KZ_PAGE_HANDLER_KEY(name, shape) name,
    KZ_PAGE_HANDLERS(KZ_PAGE_HANDLER_KEY)
#undef KZ_PAGE_HANDLER_KEY
};

struct PageHandlerDeclaration {
    const char* name;
    PageCallShape shape;
};

constexpr PageHandlerDeclaration kPageHandlers[] = {
#define KZ_PAGE_HANDLER_ROW(name, shape) {#name, PageCallShape::shape},
    KZ_PAGE_HANDLERS(KZ_PAGE_HANDLER_ROW)
#undef KZ_PAGE_HANDLER_ROW
};

constexpr const char* kModuleEntries[] = {
#define KZ_MODULE_ENTRY_NAME(name) #name,
    KZ_MODULE_ENTRIES(KZ_MODULE_ENTRY_NAME)
#undef KZ_MODULE_ENTRY_NAME
};

constexpr const PageHandlerDeclaration& declaration(PageHandler handler) {
    return kPageHandlers[static_cast<size_t>(handler)];
}

}  // namespace kz
