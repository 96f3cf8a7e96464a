#include "app/gtk/day_dialog.h"

#include <string>

#include "app/common/extras_texts.h"
#include "app/gtk/modal_box.h"

namespace kz {

DayDialog::DayDialog(GtkWindow* parent, CalendarDay first, CalendarDay today,
                     const Translation& translation)
    : first_(first), today_(today), translation_(translation) {
    dialog_ = newModalBox(parent, "Past Puzzle");

    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog_));
    gtk_box_set_spacing(GTK_BOX(content), 6);

    GtkWidget* prompt = gtk_label_new_with_mnemonic("_Day:");
    gtk_label_set_xalign(GTK_LABEL(prompt), 0.0f);
    calendar_ = gtk_calendar_new();
    gtk_widget_set_name(calendar_, "past-day");
    // GtkCalendar counts months from 0.
    const CalendarDate date = dateOfDay(today);
    gtk_calendar_select_month(GTK_CALENDAR(calendar_), static_cast<guint>(date.month - 1),
                              static_cast<guint>(date.year));
    gtk_calendar_select_day(GTK_CALENDAR(calendar_), static_cast<guint>(date.day));
    gtk_label_set_mnemonic_widget(GTK_LABEL(prompt), calendar_);

    // The days that can be played, always in view; it turns into a warning while another day
    // is chosen.
    message_ = gtk_label_new("");
    gtk_widget_set_name(message_, "past-day-message");
    gtk_label_set_xalign(GTK_LABEL(message_), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(message_), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(message_), 40);
    atk_object_add_relationship(gtk_widget_get_accessible(calendar_), ATK_RELATION_DESCRIBED_BY,
                                gtk_widget_get_accessible(message_));

    gtk_box_pack_start(GTK_BOX(content), prompt, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(content), calendar_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(content), message_, FALSE, FALSE, 0);
    gtk_widget_show_all(content);

    gtk_dialog_add_button(GTK_DIALOG(dialog_), "_Cancel", GTK_RESPONSE_CANCEL);
    ok_ = gtk_dialog_add_button(GTK_DIALOG(dialog_), "_OK", GTK_RESPONSE_OK);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog_), GTK_RESPONSE_OK);
    g_signal_connect(calendar_, "day-selected", G_CALLBACK(onSelected), this);
    g_signal_connect(calendar_, "month-changed", G_CALLBACK(onMonthChanged), this);
    g_signal_connect(calendar_, "day-selected-double-click", G_CALLBACK(onDoubleClick), this);
    g_signal_connect(calendar_, "key-press-event", G_CALLBACK(onKey), this);
    markPlayable();
    showChoice();
}

DayDialog::~DayDialog() {
    g_signal_handlers_disconnect_by_data(calendar_, this);
    gtk_widget_destroy(dialog_);
    g_object_unref(dialog_);
}

std::optional<CalendarDay> DayDialog::shown() const {
    guint year = 0;
    guint month = 0;
    guint day = 0;
    gtk_calendar_get_date(GTK_CALENDAR(calendar_), &year, &month, &day);
    if (day == 0) {
        return std::nullopt;  // a month shown with no day chosen
    }
    return dayOfDate(
        {static_cast<int32_t>(year), static_cast<int32_t>(month) + 1, static_cast<int32_t>(day)});
}

std::optional<CalendarDay> DayDialog::chosen() const {
    const std::optional<CalendarDay> picked = shown();
    if (!picked || *picked < first_ || *picked > today_) {
        return std::nullopt;
    }
    return picked;
}

std::optional<CalendarDay> DayDialog::run() {
    gtk_widget_grab_focus(calendar_);
    if (gtk_dialog_run(GTK_DIALOG(dialog_)) != GTK_RESPONSE_OK) {
        return std::nullopt;
    }
    return chosen();
}

void DayDialog::showChoice() {
    const bool playable = chosen().has_value();
    gtk_widget_set_sensitive(ok_, playable);
    GtkStyleContext* style = gtk_widget_get_style_context(message_);
    if (playable) {
        gtk_style_context_remove_class(style, "error");
    } else {
        gtk_style_context_add_class(style, "error");
    }
    gtk_label_set_text(GTK_LABEL(message_), pastDaysText(translation_, first_).c_str());
}

void DayDialog::markPlayable() {
    GtkCalendar* calendar = GTK_CALENDAR(calendar_);
    guint year = 0;
    guint month = 0;
    gtk_calendar_get_date(calendar, &year, &month, nullptr);
    gtk_calendar_clear_marks(calendar);
    for (int32_t day = 1; day <= 31; ++day) {
        const CalendarDate date{static_cast<int32_t>(year), static_cast<int32_t>(month) + 1, day};
        const CalendarDay shownDay = dayOfDate(date);
        // Past the month's end the count runs on into the next month.
        if (dateOfDay(shownDay).month == date.month && shownDay >= first_ && shownDay <= today_) {
            gtk_calendar_mark_day(calendar, static_cast<guint>(day));
        }
    }
}

void DayDialog::onSelected(GtkCalendar*, gpointer self) {
    static_cast<DayDialog*>(self)->showChoice();
}

void DayDialog::onMonthChanged(GtkCalendar*, gpointer self) {
    auto* box = static_cast<DayDialog*>(self);
    box->markPlayable();
    box->showChoice();
}

void DayDialog::onDoubleClick(GtkCalendar*, gpointer self) {
    auto* box = static_cast<DayDialog*>(self);
    if (box->chosen()) {
        gtk_dialog_response(GTK_DIALOG(box->dialog_), GTK_RESPONSE_OK);
    }
}

// GtkCalendar's own arrows move a focus of their own, which starts in a corner of the month
// rather than on the day chosen; here they move the chosen day itself.
gboolean DayDialog::onKey(GtkWidget*, GdkEventKey* event, gpointer self) {
    auto* box = static_cast<DayDialog*>(self);
    const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    CalendarDay step = 0;
    switch (event->keyval) {
        case GDK_KEY_Left:
        case GDK_KEY_KP_Left:
            step = gtk_widget_get_direction(box->calendar_) == GTK_TEXT_DIR_RTL ? 1 : -1;
            break;
        case GDK_KEY_Right:
        case GDK_KEY_KP_Right:
            step = gtk_widget_get_direction(box->calendar_) == GTK_TEXT_DIR_RTL ? -1 : 1;
            break;
        case GDK_KEY_Up:
        case GDK_KEY_KP_Up:
            step = -7;
            break;
        case GDK_KEY_Down:
        case GDK_KEY_KP_Down:
            step = 7;
            break;
        default:
            break;
    }
    const std::optional<CalendarDay> from = box->shown();
    if (step == 0 || modifiers != 0 || !from) {
        return FALSE;
    }
    const CalendarDate date = dateOfDay(*from + step);
    gtk_calendar_select_month(GTK_CALENDAR(box->calendar_), static_cast<guint>(date.month - 1),
                              static_cast<guint>(date.year));
    gtk_calendar_select_day(GTK_CALENDAR(box->calendar_), static_cast<guint>(date.day));
    return TRUE;
}

std::optional<CalendarDay> askDay(GtkWindow* parent, CalendarDay first, CalendarDay today,
                                  const Translation& translation) {
    DayDialog box(parent, first, today, translation);
    return box.run();
}

}  // namespace kz
