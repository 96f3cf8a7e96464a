#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "app/common/translation.h"
#include "puzzle/calendar_day.h"

namespace kz {

// The modal "Past Puzzle" box: a calendar with today chosen, OK and Cancel. Only the days from
// first to today can be played: while another day is chosen OK is greyed and a line says
// which days can; the month shown marks those days. The arrow keys choose the day before or after,
// or a week before or after, and Enter is OK; double-clicking a day that can be played is OK too.
// The game's timer and drawing go on meanwhile.
class DayDialog {
  public:
    DayDialog(GtkWindow* parent, CalendarDay first, CalendarDay today,
              const Translation& translation);
    ~DayDialog();
    DayDialog(const DayDialog&) = delete;
    DayDialog& operator=(const DayDialog&) = delete;

    GtkWidget* widget() const { return dialog_; }
    GtkWidget* calendar() const { return calendar_; }

    // Returns when the player chose a day that can be played (that day) or cancelled
    // (nothing).
    std::optional<CalendarDay> run();

    // The day the calendar shows chosen, when it can be played.
    std::optional<CalendarDay> chosen() const;

  private:
    static void onSelected(GtkCalendar* calendar, gpointer self);
    static void onMonthChanged(GtkCalendar* calendar, gpointer self);
    static void onDoubleClick(GtkCalendar* calendar, gpointer self);
    static gboolean onKey(GtkWidget* calendar, GdkEventKey* event, gpointer self);
    // The day the calendar shows chosen, whether it can be played or not.
    std::optional<CalendarDay> shown() const;
    void showChoice();
    // Marks the days of the month shown that can be played.
    void markPlayable();

    CalendarDay first_;
    CalendarDay today_;
    const Translation& translation_;
    GtkWidget* dialog_ = nullptr;
    GtkWidget* calendar_ = nullptr;
    GtkWidget* message_ = nullptr;
    GtkWidget* ok_ = nullptr;
};

// Builds the box, runs it and destroys it: the day chosen, or nothing.
std::optional<CalendarDay> askDay(GtkWindow* parent, CalendarDay first, CalendarDay today,
                                  const Translation& translation);

}  // namespace kz
