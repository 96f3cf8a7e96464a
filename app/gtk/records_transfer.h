#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>

#include "app/common/records_store.h"
#include "app/common/translation.h"

namespace kz {

// Export Records... and Import Records...: the records as a file the player keeps, takes to
// another computer and brings back. The boxes are GTK's own file choosers.

// Asks where to save the text and writes it there; tells the player where it went, or that
// it could not be written.
void exportRecordsToFile(GtkWindow* parent, const std::string& text,
                         const Translation& translation);

// Asks for a file of records: its text, or nothing when the player cancelled or the file
// could not be read (which is then said).
std::optional<std::string> chooseRecordsFile(GtkWindow* parent, const Translation& translation);

// Tells the player what came of an import.
void tellRecordsImport(GtkWindow* parent, RecordsImport result, const Translation& translation);

}  // namespace kz
