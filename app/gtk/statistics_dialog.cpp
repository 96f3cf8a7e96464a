#include "app/gtk/statistics_dialog.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/common/extras_texts.h"
#include "app/common/records_table.h"
#include "app/gtk/modal_box.h"

namespace kz {
namespace {

// Tall enough for a dozen rows; a longer table scrolls.
constexpr int kLargestTableHeight = 320;

// A table to read, named for screen readers: the columns' titles, the rows' cells, and the
// first column of numbers, which are set flush right.
template <size_t Columns>
GtkWidget* newTable(const std::array<const char*, Columns>& titles, int32_t firstNumberColumn,
                    const std::vector<std::array<std::string, Columns>>& rows, const char* name,
                    const std::string& accessibleName, const Translation& translation) {
    const int32_t columns = static_cast<int32_t>(Columns);
    std::vector<GType> types(Columns, G_TYPE_STRING);
    GtkListStore* store = gtk_list_store_newv(columns, types.data());
    for (const auto& row : rows) {
        GtkTreeIter iter;
        gtk_list_store_append(store, &iter);
        for (int32_t column = 0; column < columns; ++column) {
            gtk_list_store_set(store, &iter, column, row[static_cast<size_t>(column)].c_str(), -1);
        }
    }
    GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
    g_object_unref(store);
    gtk_widget_set_name(view, name);
    gtk_tree_view_set_enable_search(GTK_TREE_VIEW(view), FALSE);
    // A table to read, not to choose from: no row stands out.
    gtk_tree_selection_set_mode(gtk_tree_view_get_selection(GTK_TREE_VIEW(view)),
                                GTK_SELECTION_NONE);
    for (int32_t column = 0; column < columns; ++column) {
        GtkCellRenderer* cell = gtk_cell_renderer_text_new();
        const bool number = column >= firstNumberColumn;
        g_object_set(cell, "xalign", number ? 1.0 : 0.0, "xpad", 6, nullptr);
        GtkTreeViewColumn* viewColumn = gtk_tree_view_column_new_with_attributes(
            translation.text(titles[static_cast<size_t>(column)]).c_str(), cell, "text", column,
            nullptr);
        gtk_tree_view_column_set_alignment(viewColumn, number ? 1.0f : 0.0f);
        // Room to spare goes to the names, so the counts of a narrower table stand under
        // those of the wider one above it.
        gtk_tree_view_column_set_expand(viewColumn, column == firstNumberColumn - 1);
        gtk_tree_view_append_column(GTK_TREE_VIEW(view), viewColumn);
    }
    atk_object_set_name(gtk_widget_get_accessible(view), accessibleName.c_str());

    GtkWidget* scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER,
                                   GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_IN);
    gtk_scrolled_window_set_propagate_natural_width(GTK_SCROLLED_WINDOW(scroller), TRUE);
    gtk_scrolled_window_set_propagate_natural_height(GTK_SCROLLED_WINDOW(scroller), TRUE);
    gtk_scrolled_window_set_max_content_height(GTK_SCROLLED_WINDOW(scroller), kLargestTableHeight);
    gtk_container_add(GTK_CONTAINER(scroller), view);
    return scroller;
}

GtkWidget* newTextLine(const char* name) {
    GtkWidget* label = gtk_label_new(nullptr);
    gtk_widget_set_name(label, name);
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 60);
    return label;
}

}  // namespace

GtkWidget* newResetConfirmation(GtkWindow* parent, const Translation& translation) {
    GtkWidget* box = gtk_message_dialog_new(
        parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
        GTK_MESSAGE_WARNING, GTK_BUTTONS_NONE, "%s",
        translation.text(kResetStatisticsQuestion).c_str());
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(box), "%s",
                                             translation.text(kResetStatisticsExplanation).c_str());
    gtk_window_set_title(GTK_WINDOW(box), translation.text(kResetStatisticsTitle).c_str());
    gtk_dialog_add_button(GTK_DIALOG(box), translation.text(N_("_Cancel")).c_str(),
                          GTK_RESPONSE_CANCEL);
    GtkWidget* reset = gtk_dialog_add_button(
        GTK_DIALOG(box), translation.text(N_("_Reset")).c_str(), GTK_RESPONSE_ACCEPT);
    gtk_style_context_add_class(gtk_widget_get_style_context(reset), "destructive-action");
    // A stray Enter must not clear what years of games built up.
    gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_CANCEL);
    return box;
}

bool confirmResetModally(GtkWindow* parent, const Translation& translation) {
    GtkWidget* box = newResetConfirmation(parent, translation);
    const bool agreed = gtk_dialog_run(GTK_DIALOG(box)) == GTK_RESPONSE_ACCEPT;
    gtk_widget_destroy(box);
    return agreed;
}

StatisticsDialog::StatisticsDialog(GtkWindow* parent, const Records& records, CalendarDay today,
                                   const Translation& translation,
                                   std::function<void()> resetRecords, ConfirmReset confirm)
    : records_(records),
      today_(today),
      translation_(translation),
      resetRecords_(std::move(resetRecords)),
      confirm_(std::move(confirm)) {
    if (!confirm_) {
        confirm_ = [this](GtkWindow* above) { return confirmResetModally(above, translation_); };
    }
    dialog_ = newModalBox(parent, translation.text(N_("Statistics")).c_str());

    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog_));
    gtk_box_set_spacing(GTK_BOX(content), 8);
    tableArea_ = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    todaysPuzzle_ = newTextLine("todays-puzzle");
    daysInARow_ = newTextLine("days-in-a-row");
    gtk_box_pack_start(GTK_BOX(content), tableArea_, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(content), todaysPuzzle_, FALSE, FALSE, 4);
    gtk_box_pack_start(GTK_BOX(content), daysInARow_, FALSE, FALSE, 0);

    gtk_dialog_add_button(GTK_DIALOG(dialog_),
                          translation.text(N_("_Reset Statistics\u2026")).c_str(), kResetResponse);
    GtkWidget* close = gtk_dialog_add_button(
        GTK_DIALOG(dialog_), translation.text(N_("_Close")).c_str(), GTK_RESPONSE_CLOSE);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog_), GTK_RESPONSE_CLOSE);
    // Enter and Esc close the box at once; the table is still a Tab away.
    gtk_widget_grab_focus(close);
    // Connected before gtk_dialog_run connects its own handler, so the Reset response can
    // be kept from ending the run.
    g_signal_connect(dialog_, "response", G_CALLBACK(onResponse), this);
    showRecords();
    gtk_widget_show_all(content);
}

StatisticsDialog::~StatisticsDialog() {
    g_signal_handlers_disconnect_by_data(dialog_, this);
    gtk_widget_destroy(dialog_);
    g_object_unref(dialog_);
}

void StatisticsDialog::run() {
    gtk_dialog_run(GTK_DIALOG(dialog_));
}

void StatisticsDialog::onResponse(GtkDialog* dialog, gint response, gpointer self) {
    if (response != kResetResponse) {
        return;
    }
    g_signal_stop_emission_by_name(dialog, "response");
    auto* box = static_cast<StatisticsDialog*>(self);
    if (box->confirm_(GTK_WINDOW(box->dialog_))) {
        box->resetRecords_();
        box->showRecords();
    }
}

void StatisticsDialog::showRecords() {
    GList* old = gtk_container_get_children(GTK_CONTAINER(tableArea_));
    for (GList* child = old; child; child = child->next) {
        gtk_widget_destroy(GTK_WIDGET(child->data));
    }
    g_list_free(old);

    const std::vector<RecordsRow> rows = recordsRows(records_, translation_);
    if (rows.empty()) {
        GtkWidget* none = newTextLine("no-records");
        gtk_label_set_text(GTK_LABEL(none), translation_.text(kNoRecordsText).c_str());
        gtk_box_pack_start(GTK_BOX(tableArea_), none, FALSE, FALSE, 8);
    } else {
        std::vector<std::array<std::string, kRecordsColumnCount>> cells;
        for (const RecordsRow& row : rows) {
            cells.push_back(row.cells);
        }
        gtk_box_pack_start(
            GTK_BOX(tableArea_),
            newTable(kRecordsColumns, kRecordsFirstNumberColumn, cells, "statistics-table",
                     translation_.text(N_("Records of the games played")), translation_),
            TRUE, TRUE, 0);
    }
    std::vector<std::array<std::string, kGradeColumnCount>> grades;
    for (const GradeRow& row : gradeRows(records_, translation_)) {
        grades.push_back(row.cells);
    }
    if (!grades.empty()) {
        gtk_box_pack_start(
            GTK_BOX(tableArea_),
            newTable(kGradeColumns, kGradeFirstNumberColumn, grades, "statistics-grades",
                     translation_.text(N_("Records of the games by grade")), translation_),
            FALSE, FALSE, 8);
    }
    gtk_widget_show_all(tableArea_);
    gtk_label_set_text(GTK_LABEL(todaysPuzzle_),
                       todaysPuzzleText(translation_, records_, today_).c_str());
    gtk_label_set_text(GTK_LABEL(daysInARow_),
                       daysInARowText(translation_, records_, today_).c_str());
    gtk_dialog_set_response_sensitive(GTK_DIALOG(dialog_), kResetResponse, !recordsEmpty(records_));
}

void runStatisticsDialog(GtkWindow* parent, const Records& records, CalendarDay today,
                         const Translation& translation, std::function<void()> resetRecords) {
    StatisticsDialog box(parent, records, today, translation, std::move(resetRecords));
    box.run();
}

}  // namespace kz
