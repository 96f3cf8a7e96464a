#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/common/program_shell.h"
#include "app/web/stored_records.h"
#include "display/rect.h"
#include "screen/host.h"

namespace kz {

class WebProgram;

// What the page around the game does for it: the session's program shell and host as the
// browser carries them out, its storage, and the page's own few calls besides; behind a plain
// interface so the program runs and is tested outside a browser too.
//
// As the shell: present puts the areas of WebProgram::frame onto the canvas; windowChanged
// marks the menus, greys their items, and shows the title in the document and the link in the
// address (a note as a passing notice); ask opens the page's box for each question (their OK
// calls WebProgram::playPuzzleCode, playDay or importRecords); frameWanted asks the browser
// for an animation frame, whose callback calls WebProgram::animationFrame. As the host: a timer is
// a page interval that calls WebProgram::tick with its id; a quit asked for ends the session once
// the entry it came in has drawn.
class Page : public ProgramShell, public Host, public TextStorage {
  public:
    // Copies the stored text of a setting into text (at most size bytes, ending in a zero)
    // and returns its full length in bytes, or -1 when nothing is stored or storage is
    // closed to the page.
    virtual int32_t loadSetting(const char* name, char* text, size_t size) = 0;
    virtual void saveSetting(const char* name, int32_t value) = 0;
    // The session is over: the page stops every interval and shows its closing screen.
    virtual void ended(int exitCode) = 0;
    // Shows new records in the Statistics box when it is open; nothing otherwise. The records
    // come as showStatistics gives them (see statisticsJson).
    virtual void statisticsChanged(const std::string& statistics) = 0;
    // The text of the file the player chose for Import Records..., while the page hands it to
    // WebProgram::importRecords; nothing at any other time.
    virtual std::optional<std::string> chosenRecordsFile() = 0;

    // The first quit asked for since the session began.
    void quit(int exitCode) override {
        if (!quitAsked_) {
            quitAsked_ = true;
            quitCode_ = exitCode;
        }
    }
    bool quitAsked() const { return quitAsked_; }
    int quitCode() const { return quitCode_; }

    // The program whose frame present shows; set by the program.
    void showing(WebProgram* program) { program_ = program; }

  protected:
    WebProgram* program() const { return program_; }

  private:
    WebProgram* program_ = nullptr;
    bool quitAsked_ = false;
    int quitCode_ = 0;
};

}  // namespace kz
