#pragma once

#include <gtk/gtk.h>

#include <string>

namespace kz {

// The drawing area the game is shown in, with what a screen reader reads of it: a name, a
// description kept equal to what the field shows, and a text that holds the last
// announcement (a move, the focus, a hint, the end), replaced with text-changed events so
// that a reader speaks each one as it comes.
GtkWidget* newBoardArea();

// The accessible name and description of an area of newBoardArea.
void setBoardName(GtkWidget* area, const std::string& name);
void setBoardDescription(GtkWidget* area, const std::string& description);
// Replaces the area's accessible text with a new announcement.
void announceOnBoard(GtkWidget* area, const std::string& text);

}  // namespace kz
