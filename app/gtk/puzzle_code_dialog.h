#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "app/common/extras_texts.h"

namespace kz {

// The modal "Play Puzzle Code" box: an entry for a code, OK and Cancel. OK hands the text
// typed to play; when that plays it the box closes, otherwise it says the text is no code
// and stays open. The game's timer and drawing go on meanwhile.
class PuzzleCodeDialog {
  public:
    // True when the text named a puzzle, which now plays.
    using Play = std::function<bool(const std::string& text)>;

    PuzzleCodeDialog(GtkWindow* parent, Play play, const Translation& translation);
    ~PuzzleCodeDialog();
    PuzzleCodeDialog(const PuzzleCodeDialog&) = delete;
    PuzzleCodeDialog& operator=(const PuzzleCodeDialog&) = delete;

    GtkWidget* widget() const { return dialog_; }

    // Returns when the player gave a good code (true) or cancelled (false).
    bool run();

    // A code was played since the box was made.
    bool played() const { return played_; }

  private:
    static void onResponse(GtkDialog* dialog, gint response, gpointer self);
    static void onChanged(GtkEditable* entry, gpointer self);

    GtkWidget* dialog_ = nullptr;
    GtkWidget* entry_ = nullptr;
    GtkWidget* message_ = nullptr;
    Play play_;
    const Translation& translation_;
    bool played_ = false;
};

// Builds the box, runs it and destroys it: true when a code was played.
bool askPuzzleCode(GtkWindow* parent, PuzzleCodeDialog::Play play, const Translation& translation);

}  // namespace kz
