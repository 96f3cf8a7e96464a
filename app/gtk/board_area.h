#pragma once

#include <cairo.h>
#include <gtk/gtk.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "app/common/focus_places.h"
#include "app/gtk/picture_fit.h"

namespace kz {

// The drawing area the game is shown in, with what a screen reader reads of it: a name, a
// description kept equal to what the field shows, a text that holds the last announcement
// (a move, the focus, a hint, the end), replaced with text-changed events so that a reader
// speaks each one as it comes, and one child object for each place the keyboard focus can
// reach, whose focus events follow the keyboard focus.
//
// Its size: at least kSmallestWidth wide, as large as the picture by default, and the
// picture drawn by the fit of the area's size.
GtkWidget* newBoardArea();

constexpr int32_t kSmallestWidth = 360;

// The size of the picture the area shows, and the size it asks for at first (the picture's
// own when none is given).
void setBoardPicture(GtkWidget* area, int32_t width, int32_t height);
void setBoardNaturalSize(GtkWidget* area, int32_t width, int32_t height);
// The fit of the picture in the area as it is allocated now.
PictureFit boardFit(GtkWidget* area);
// Draws the picture, drawn pictureScale times larger than its size, by that fit: where it
// leaves the area uncovered, its edge repeated at a whole multiple, elsewhere black.
void drawBoardPicture(GtkWidget* area, cairo_t* cr, cairo_surface_t* picture, int32_t pictureScale);

// The accessible name and description of an area of newBoardArea.
void setBoardName(GtkWidget* area, const std::string& name);
void setBoardDescription(GtkWidget* area, const std::string& description);
// Replaces the area's accessible text with a new announcement.
void announceOnBoard(GtkWidget* area, const std::string& text);
// The places of the focus become the area's accessible children; a change of the place
// focused is told as a focus event on it.
void setBoardPlaces(GtkWidget* area, const FocusPlaces& places);
// Called with the index of a place a screen reader moves the focus to, and whether it
// presses it too (the place's one action).
void setBoardFocusHandler(GtkWidget* area, std::function<void(size_t place, bool press)> handler);

}  // namespace kz
