#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/fatal_error.h"
#include "app/web/stored_records.h"
#include "display/rect.h"

namespace kz {

// What the page around the game does for it: the browser's side of the web program, behind
// a plain interface so the program runs and is tested outside a browser too. Its storage
// keeps the records as a text.
class Page : public TextStorage {
  public:
    virtual ~Page() = default;

    // Puts one area of the frame onto the canvas. The frame is width x height pixels of four
    // bytes, red, green, blue and alpha, row by row.
    virtual void present(const uint8_t* frame, int32_t width, int32_t height, const Rect& area) = 0;
    // The areas a small screen lays out apart, in the screen's coordinates: the field's touch
    // area, then the four panels. Given at the start and whenever they change.
    virtual void layoutAreas(const std::vector<Rect>& areas) = 0;
    // A repeating interval that calls WebProgram::tick with timerId. Its handle, or 0 when
    // none started.
    virtual uint32_t startInterval(uint32_t timerId, uint32_t periodMs) = 0;
    virtual void stopInterval(uint32_t handle) = 0;
    virtual void beep() = 0;
    // Moves the radio mark of the commandId's group to that item.
    virtual void markRadio(uint16_t commandId) = 0;
    virtual void openHelp(HelpTopic topic) = 0;
    // Opens the About dialog; the page closes it by itself.
    virtual void showAbout() = 0;
    // Copies the stored text of a setting into text (at most size bytes, ending in a zero)
    // and returns its full length in bytes, or -1 when nothing is stored or storage is
    // closed to the page.
    virtual int32_t loadSetting(const char* name, char* text, size_t size) = 0;
    virtual void saveSetting(const char* name, int32_t value) = 0;
    virtual void showFatal(FatalError error) = 0;
    // The session is over; the page shows its closing screen.
    virtual void ended(int exitCode) = 0;

    // The extra play's side of the page.
    // A sentence for a screen reader, in the page's live region.
    virtual void announce(const std::string& text) = 0;
    // What the canvas shows, as its accessible description.
    virtual void describe(const std::string& text) = 0;
    // Greys a menu item, or makes it usable again.
    virtual void enableCommand(uint16_t commandId, bool enabled) = 0;
    // Puts the text on the clipboard and, once it is there, shows and says the second.
    virtual void copyText(const std::string& text, const std::string& copied) = 0;
    // Opens the Play Puzzle Code box; its OK calls WebProgram::playPuzzleCode.
    virtual void askPuzzleCode() = 0;
    // Opens the Past Puzzle box for a day from first to today ("YYYY-MM-DD" both, and both
    // included); its OK calls WebProgram::playDay.
    virtual void askDay(const std::string& first, const std::string& today) = 0;
    // The page's own address, without its part after #, for links to share.
    virtual std::string address() = 0;
    // Opens the Statistics box, or shows new records in it while it is open. The records
    // come as a JSON object (see statisticsJson); its reset calls WebProgram::resetRecords.
    virtual void showStatistics(const std::string& statistics) = 0;
    // Shows new records in the Statistics box when it is open; nothing otherwise.
    virtual void statisticsChanged(const std::string& statistics) = 0;
    // Shares a link to the puzzle of that code.
    virtual void share(const std::string& code) = 0;
    // A new puzzle is on show: its code, for the title and the address.
    virtual void puzzleChanged(const std::string& code) = 0;
    // Right after: the day whose puzzle it is ("2026-12-08"), for the title and the address;
    // empty for any other puzzle.
    virtual void puzzleDated(const std::string& day) = 0;
    // After that: the grade Next drew it for ("Hard"), for the title; empty for none.
    virtual void puzzleGraded(const std::string& grade) = 0;
    // A short notice beside the game, which a screen reader hears too.
    virtual void notify(const std::string& text) = 0;
    // Whether this page takes up the game kept from an earlier visit and keeps its own there:
    // false in a tab opened while another tab of the game lives, which then plays without
    // reading, writing or removing the kept game. Asked once, when the extra play starts.
    virtual bool claimGame() = 0;
    // Shows or takes away the lasting notice, outside the canvas, that the records cannot
    // be stored now.
    virtual void recordsUnsaved(bool unsaved) = 0;
    // Offers the records' text as a file to save.
    virtual void exportRecords(const std::string& text) = 0;
    // Lets the player choose a file of records; once read, the page calls
    // WebProgram::importRecords, which takes its text from chosenRecordsFile.
    virtual void askRecordsFile() = 0;
    virtual std::optional<std::string> chosenRecordsFile() = 0;
    // The page's clock: seconds since 1970-01-01 UTC.
    virtual int64_t unixTime() = 0;
};

}  // namespace kz
