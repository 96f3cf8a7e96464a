#pragma once

#include <cstdint>
#include <string>

#include "app/common/game_session.h"
#include "app/common/session_extras.h"
#include "app/web/page.h"

namespace kz {

// The records and today's puzzle as the Statistics box shows them, as a JSON object:
// "columns" (the table's headings), "firstNumberColumn", "rows" (arrays of cells), "none"
// (the text shown instead of an empty table), "today", "daysInARow" and "canReset".
std::string statisticsJson(const Records& records, CalendarDay today);

// The extra play's shell in the page: the live region and the canvas's description, the
// greyed menu items, the clipboard, the boxes, sharing, and the records in the page's
// storage.
class PageExtras : public ExtrasShell {
  public:
    explicit PageExtras(Page& page) : page_(page) {}

    // The records stored in the page, for the session's extras.
    Records storedRecords();
    // The session whose extras this serves, once they are on.
    void attach(GameSession& session) { session_ = &session; }

    void announce(const std::string& text) override;
    void commandsChanged() override;
    void descriptionChanged() override;
    void copyText(const std::string& text) override;
    void askPuzzleCode() override;
    void showStatistics(const Records& records, CalendarDay today) override;
    void share(const std::string& code) override;
    void saveRecords(const Records& records) override;
    void puzzleChanged(const std::string& code) override;
    void newBestTime(const WinReport& report) override;
    CalendarDay today() override;

  private:
    ExtraPlay* play();

    Page& page_;
    GameSession* session_ = nullptr;
};

}  // namespace kz
