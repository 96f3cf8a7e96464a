#pragma once

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <map>

#include "app/common/translation.h"

namespace kz {

// The main window's menu bar: Game, Options (Field Size, Action Type) and Help, with the
// command ids every program shares, and the extra play's lines of the Game menu. The keys the
// menu table gives the program are bound through the given accelerator group; the others are
// only shown.
class MenuBar {
  public:
    using CommandHandler = std::function<void(uint16_t commandId)>;

    MenuBar(GtkAccelGroup* accelerators, const Translation& translation, CommandHandler handler);
    MenuBar(const MenuBar&) = delete;
    MenuBar& operator=(const MenuBar&) = delete;

    GtkWidget* widget() const { return bar_; }

    // Moves the radio mark of a group to a command's item without sending the command.
    void mark(uint16_t commandId);

    // Greys an item or makes it usable again.
    void setEnabled(uint16_t commandId, bool enabled);
    bool isEnabled(uint16_t commandId) const;

  private:
    GtkWidget* addItem(GtkWidget* menu, const char* label, uint16_t commandId);
    GtkWidget* addRadioItem(GtkWidget* menu, GSList** group, const char* label, uint16_t commandId);
    static void onActivate(GtkMenuItem* item, gpointer self);

    GtkWidget* bar_ = nullptr;
    CommandHandler handler_;
    std::map<uint16_t, GtkWidget*> items_;
    bool marking_ = false;
};

}  // namespace kz
