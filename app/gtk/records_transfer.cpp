#include "app/gtk/records_transfer.h"

#include <string>

#include "app/common/extras_texts.h"
#include "app/gtk/atomic_file.h"
#include "app/gtk/records_file.h"

namespace kz {
namespace {

void tell(GtkWindow* parent, const std::string& title, const std::string& text,
          GtkMessageType type) {
    GtkWidget* box =
        gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, type, GTK_BUTTONS_OK, "%s", text.c_str());
    gtk_window_set_title(GTK_WINDOW(box), title.c_str());
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
}

// The file the player chose in a file chooser, or nothing when cancelled.
std::optional<std::string> chosenFile(GtkWindow* parent, GtkFileChooserAction action,
                                      const std::string& title, const std::string& accept,
                                      const Translation& translation) {
    GtkWidget* chooser = gtk_file_chooser_dialog_new(
        title.c_str(), parent, action, translation.text(N_("_Cancel")).c_str(), GTK_RESPONSE_CANCEL,
        accept.c_str(), GTK_RESPONSE_ACCEPT, nullptr);
    gtk_widget_set_name(chooser, "records-file");
    gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), g_get_home_dir());
    if (action == GTK_FILE_CHOOSER_ACTION_SAVE) {
        gtk_file_chooser_set_do_overwrite_confirmation(GTK_FILE_CHOOSER(chooser), TRUE);
        gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(chooser), kRecordsFileName);
    }
    std::optional<std::string> path;
    if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        if (gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
            path = name;
            g_free(name);
        }
    }
    gtk_widget_destroy(chooser);
    return path;
}

}  // namespace

void exportRecordsToFile(GtkWindow* parent, const std::string& text,
                         const Translation& translation) {
    const std::string title = translation.text(kExportRecordsTitle);
    const std::optional<std::string> path = chosenFile(parent, GTK_FILE_CHOOSER_ACTION_SAVE, title,
                                                       translation.text(N_("_Save")), translation);
    if (!path) {
        return;
    }
    if (!replaceRegularFile(*path, text, true)) {
        tell(parent, title, translation.text(kRecordsNotExportedText), GTK_MESSAGE_ERROR);
        return;
    }
    // Where it went, as the file box may have put it in another folder than the player
    // thought.
    gchar* shown = g_filename_display_name(path->c_str());
    const std::string told = filled(translation.text(kRecordsExportedToText), {{"file", shown}});
    g_free(shown);
    tell(parent, title, told, GTK_MESSAGE_INFO);
}

std::optional<std::string> chooseRecordsFile(GtkWindow* parent, const Translation& translation) {
    const std::string title = translation.text(kImportRecordsTitle);
    const std::optional<std::string> path = chosenFile(parent, GTK_FILE_CHOOSER_ACTION_OPEN, title,
                                                       translation.text(N_("_Open")), translation);
    if (!path) {
        return std::nullopt;
    }
    FileContents file = readRegularFile(*path, kLargestRecordsFile);
    if (file.state != FileState::Read) {
        tell(parent, title, translation.text(kNotARecordsFileText), GTK_MESSAGE_ERROR);
        return std::nullopt;
    }
    return std::move(file.text);
}

void tellRecordsImport(GtkWindow* parent, RecordsImport result, const Translation& translation) {
    const std::string title = translation.text(kImportRecordsTitle);
    switch (result) {
        case RecordsImport::Imported:
            tell(parent, title, translation.text(kRecordsImportedText), GTK_MESSAGE_INFO);
            break;
        case RecordsImport::NotRecords:
            tell(parent, title, translation.text(kNotARecordsFileText), GTK_MESSAGE_ERROR);
            break;
        case RecordsImport::NotStored:
            tell(parent, title, translation.text(kRecordsNotImportedText), GTK_MESSAGE_ERROR);
            break;
    }
}

}  // namespace kz
