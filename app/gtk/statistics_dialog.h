#pragma once

#include <gtk/gtk.h>

#include <functional>

#include "app/common/records.h"
#include "app/common/translation.h"

namespace kz {

// Asks whether to reset every record; true when the player agrees.
using ConfirmReset = std::function<bool(GtkWindow* parent)>;

// The question before a reset, built but not shown: Cancel (the default) or Reset.
GtkWidget* newResetConfirmation(GtkWindow* parent, const Translation& translation);
// Shows that question modally.
bool confirmResetModally(GtkWindow* parent, const Translation& translation);

// The modal Statistics box: the records as a table, the grades played as a second one,
// today's puzzle and the days in a row,
// Close and "Reset Statistics...". The game's timer and drawing go on meanwhile.
//
// The box reads the records it is given whenever it shows them. After the player confirmed
// a reset it calls resetRecords, which clears and stores them, and shows them again.
class StatisticsDialog {
  public:
    // A response of the box's own: the Reset button, which leaves the box open.
    static constexpr int kResetResponse = 1;

    // Without a confirm, the question is asked modally.
    StatisticsDialog(GtkWindow* parent, const Records& records, CalendarDay today,
                     const Translation& translation, std::function<void()> resetRecords,
                     ConfirmReset confirm = {});
    ~StatisticsDialog();
    StatisticsDialog(const StatisticsDialog&) = delete;
    StatisticsDialog& operator=(const StatisticsDialog&) = delete;

    GtkWidget* widget() const { return dialog_; }

    // Returns when the player closes the box.
    void run();

  private:
    static void onResponse(GtkDialog* dialog, gint response, gpointer self);
    void showRecords();

    const Records& records_;
    CalendarDay today_;
    const Translation& translation_;
    std::function<void()> resetRecords_;
    ConfirmReset confirm_;
    GtkWidget* dialog_ = nullptr;
    GtkWidget* tableArea_ = nullptr;
    GtkWidget* todaysPuzzle_ = nullptr;
    GtkWidget* daysInARow_ = nullptr;
};

// Builds the box, runs it and destroys it.
void runStatisticsDialog(GtkWindow* parent, const Records& records, CalendarDay today,
                         const Translation& translation, std::function<void()> resetRecords);

}  // namespace kz
