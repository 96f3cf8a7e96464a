#pragma once

#include <gtk/gtk.h>

#include <optional>

#include "app/common/extras_texts.h"
#include "puzzle/puzzle_origin.h"

namespace kz {

// The modal "Play Puzzle Code" box: an entry for a code, OK and Cancel. OK with a code that
// names a puzzle closes it with that puzzle's origin; with anything else it says so and
// stays open. The game's timer and drawing go on meanwhile.
class PuzzleCodeDialog {
  public:
    explicit PuzzleCodeDialog(GtkWindow* parent);
    ~PuzzleCodeDialog();
    PuzzleCodeDialog(const PuzzleCodeDialog&) = delete;
    PuzzleCodeDialog& operator=(const PuzzleCodeDialog&) = delete;

    GtkWidget* widget() const { return dialog_; }

    // Returns when the player gave a good code (its origin) or cancelled (nothing).
    std::optional<PuzzleOrigin> run();

    // The origin of the code accepted so far.
    const std::optional<PuzzleOrigin>& origin() const { return origin_; }

  private:
    static void onResponse(GtkDialog* dialog, gint response, gpointer self);
    static void onChanged(GtkEditable* entry, gpointer self);

    GtkWidget* dialog_ = nullptr;
    GtkWidget* entry_ = nullptr;
    GtkWidget* message_ = nullptr;
    std::optional<PuzzleOrigin> origin_;
};

// Builds the box, runs it and destroys it: the origin of the code given, or nothing.
std::optional<PuzzleOrigin> askPuzzleCode(GtkWindow* parent);

}  // namespace kz
