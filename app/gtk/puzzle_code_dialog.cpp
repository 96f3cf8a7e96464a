#include "app/gtk/puzzle_code_dialog.h"

#include <utility>

#include "app/gtk/modal_box.h"
#include "puzzle/puzzle_code.h"

namespace kz {

PuzzleCodeDialog::PuzzleCodeDialog(GtkWindow* parent, Play play, const Translation& translation)
    : play_(std::move(play)), translation_(translation) {
    dialog_ = newModalBox(parent, translation.text(N_("Play Puzzle Code")).c_str());

    GtkWidget* content = gtk_dialog_get_content_area(GTK_DIALOG(dialog_));
    gtk_box_set_spacing(GTK_BOX(content), 6);

    GtkWidget* prompt = gtk_label_new_with_mnemonic(translation.text(N_("Puzzle _code:")).c_str());
    gtk_label_set_xalign(GTK_LABEL(prompt), 0.0f);
    entry_ = gtk_entry_new();
    gtk_widget_set_name(entry_, "puzzle-code");
    // Room for a code with a space or hyphen between every character, no more.
    gtk_entry_set_max_length(GTK_ENTRY(entry_), 2 * kPuzzleCodeLength + 4);
    gtk_entry_set_width_chars(GTK_ENTRY(entry_), 16);
    gtk_entry_set_activates_default(GTK_ENTRY(entry_), TRUE);
    gtk_entry_set_input_hints(
        GTK_ENTRY(entry_),
        static_cast<GtkInputHints>(GTK_INPUT_HINT_UPPERCASE_CHARS | GTK_INPUT_HINT_NO_SPELLCHECK));
    gtk_label_set_mnemonic_widget(GTK_LABEL(prompt), entry_);

    // Empty until a wrong code, yet holding its line, so the box does not jump.
    message_ = gtk_label_new("");
    gtk_widget_set_name(message_, "puzzle-code-message");
    gtk_label_set_xalign(GTK_LABEL(message_), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(message_), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(message_), 40);
    gtk_style_context_add_class(gtk_widget_get_style_context(message_), "error");
    // A screen reader reads the message with the entry it is about.
    AtkObject* entryAccessible = gtk_widget_get_accessible(entry_);
    atk_object_add_relationship(entryAccessible, ATK_RELATION_DESCRIBED_BY,
                                gtk_widget_get_accessible(message_));

    gtk_box_pack_start(GTK_BOX(content), prompt, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(content), entry_, FALSE, FALSE, 0);
    gtk_box_pack_start(GTK_BOX(content), message_, FALSE, FALSE, 0);
    gtk_widget_show_all(content);

    gtk_dialog_add_button(GTK_DIALOG(dialog_), translation.text(N_("_Cancel")).c_str(),
                          GTK_RESPONSE_CANCEL);
    gtk_dialog_add_button(GTK_DIALOG(dialog_), translation.text(N_("_OK")).c_str(),
                          GTK_RESPONSE_OK);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog_), GTK_RESPONSE_OK);
    // Connected before gtk_dialog_run connects its own handler, so a wrong code can be kept
    // from ending the run.
    g_signal_connect(dialog_, "response", G_CALLBACK(onResponse), this);
    g_signal_connect(entry_, "changed", G_CALLBACK(onChanged), this);
}

PuzzleCodeDialog::~PuzzleCodeDialog() {
    g_signal_handlers_disconnect_by_data(entry_, this);
    g_signal_handlers_disconnect_by_data(dialog_, this);
    gtk_widget_destroy(dialog_);
    g_object_unref(dialog_);
}

bool PuzzleCodeDialog::run() {
    played_ = false;
    gtk_widget_grab_focus(entry_);
    return gtk_dialog_run(GTK_DIALOG(dialog_)) == GTK_RESPONSE_OK && played_;
}

void PuzzleCodeDialog::onResponse(GtkDialog* dialog, gint response, gpointer self) {
    auto* box = static_cast<PuzzleCodeDialog*>(self);
    if (response != GTK_RESPONSE_OK) {
        return;
    }
    box->played_ = box->play_(gtk_entry_get_text(GTK_ENTRY(box->entry_)));
    if (!box->played_) {
        g_signal_stop_emission_by_name(dialog, "response");
        gtk_label_set_text(GTK_LABEL(box->message_),
                           box->translation_.text(kNotAPuzzleCodeText).c_str());
        gtk_widget_grab_focus(box->entry_);
        gtk_editable_select_region(GTK_EDITABLE(box->entry_), 0, -1);
    }
}

void PuzzleCodeDialog::onChanged(GtkEditable*, gpointer self) {
    gtk_label_set_text(GTK_LABEL(static_cast<PuzzleCodeDialog*>(self)->message_), "");
}

bool askPuzzleCode(GtkWindow* parent, PuzzleCodeDialog::Play play, const Translation& translation) {
    PuzzleCodeDialog box(parent, std::move(play), translation);
    return box.run();
}

}  // namespace kz
