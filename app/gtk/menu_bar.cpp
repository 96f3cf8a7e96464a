#include "app/gtk/menu_bar.h"

#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/menu_table.h"

namespace kz {
namespace {

constexpr const char* kCommandKey = "kz-command";

GtkWidget* addSubmenu(GtkWidget* parent, const char* label) {
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
    GtkWidget* menu = gtk_menu_new();
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), menu);
    gtk_menu_shell_append(GTK_MENU_SHELL(parent), item);
    return menu;
}

// GTK marks the mnemonic with '_' where the table has '&'.
std::string mnemonicLabel(std::string out) {
    for (char& c : out) {
        if (c == '&') {
            c = '_';
        }
    }
    return out;
}

// A key of the menu table as GDK names it: its key value (0 for a key the table should not
// have) and its modifiers.
guint keyvalFor(const KeyBinding& key) {
    if (key.key >= 'A' && key.key <= 'Z') {
        return GDK_KEY_a + (key.key - 'A');
    }
    if (key.key >= '0' && key.key <= '9') {
        return GDK_KEY_0 + (key.key - '0');
    }
    if (key.key >= virtualkey::F1 && key.key < virtualkey::F1 + 24) {
        return GDK_KEY_F1 + (key.key - virtualkey::F1);
    }
    return 0;
}

GdkModifierType modifiersFor(const KeyBinding& key) {
    guint modifiers = 0;
    if ((key.modifiers & keyflag::Control) != 0) {
        modifiers |= GDK_CONTROL_MASK;
    }
    if ((key.modifiers & keyflag::Shift) != 0) {
        modifiers |= GDK_SHIFT_MASK;
    }
    if ((key.modifiers & keyflag::Alt) != 0) {
        modifiers |= GDK_MOD1_MASK;
    }
    return GdkModifierType(modifiers);
}

}  // namespace

MenuBar::MenuBar(GtkAccelGroup* accelerators, const Translation& translation,
                 CommandHandler handler)
    : handler_(std::move(handler)) {
    const auto label = [&](const MenuEntry& entry) {
        return mnemonicLabel(translation.text(entry.label));
    };
    bar_ = gtk_menu_bar_new();
    // The menu each depth appends to, and the radio group each menu's marks share.
    std::vector<GtkWidget*> menus{bar_};
    std::map<int, GSList*> groups;
    for (const MenuEntry& entry : kMenuTable) {
        if (!entry.inLinuxMenu) {
            continue;
        }
        menus.resize(static_cast<size_t>(entry.depth) + 1);
        GtkWidget* menu = menus.back();
        if (entry.kind == MenuEntry::Popup) {
            menus.push_back(addSubmenu(menu, label(entry).c_str()));
        } else if (entry.kind == MenuEntry::Separator) {
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), gtk_separator_menu_item_new());
        } else if (entry.radioGroup != 0) {
            addRadioItem(menu, &groups[entry.radioGroup], label(entry).c_str(), entry.command);
        } else {
            GtkWidget* item = addItem(menu, label(entry).c_str(), entry.command);
            if (!entry.key.isSet()) {
                continue;
            }
            if (entry.keyUse == KeyUse::Accelerator) {
                gtk_widget_add_accelerator(item, "activate", accelerators, keyvalFor(entry.key),
                                           modifiersFor(entry.key), GTK_ACCEL_VISIBLE);
            } else {
                // Only shown: F1 as the Windows program shows it, and the keys the session
                // takes itself (binding them here would act twice).
                gtk_accel_label_set_accel(GTK_ACCEL_LABEL(gtk_bin_get_child(GTK_BIN(item))),
                                          keyvalFor(entry.key), modifiersFor(entry.key));
            }
        }
    }
}

GtkWidget* MenuBar::addItem(GtkWidget* menu, const char* label, uint16_t commandId) {
    GtkWidget* item = gtk_menu_item_new_with_mnemonic(label);
    g_object_set_data(G_OBJECT(item), kCommandKey, GUINT_TO_POINTER(commandId));
    g_signal_connect(item, "activate", G_CALLBACK(onActivate), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    items_[commandId] = item;
    return item;
}

GtkWidget* MenuBar::addRadioItem(GtkWidget* menu, GSList** group, const char* label,
                                 uint16_t commandId) {
    GtkWidget* item = gtk_radio_menu_item_new_with_mnemonic(*group, label);
    *group = gtk_radio_menu_item_get_group(GTK_RADIO_MENU_ITEM(item));
    g_object_set_data(G_OBJECT(item), kCommandKey, GUINT_TO_POINTER(commandId));
    g_signal_connect(item, "activate", G_CALLBACK(onActivate), this);
    gtk_menu_shell_append(GTK_MENU_SHELL(menu), item);
    items_[commandId] = item;
    return item;
}

void MenuBar::onActivate(GtkMenuItem* item, gpointer self) {
    auto* bar = static_cast<MenuBar*>(self);
    if (bar->marking_) {
        return;
    }
    // A radio group also activates the item that loses its mark; only the chosen one counts.
    if (GTK_IS_CHECK_MENU_ITEM(item) &&
        !gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item))) {
        return;
    }
    auto id =
        static_cast<uint16_t>(GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), kCommandKey)));
    if (bar->handler_) {
        bar->handler_(id);
    }
}

void MenuBar::mark(uint16_t commandId) {
    auto found = items_.find(commandId);
    if (found == items_.end() || !GTK_IS_CHECK_MENU_ITEM(found->second)) {
        return;
    }
    marking_ = true;
    gtk_check_menu_item_set_active(GTK_CHECK_MENU_ITEM(found->second), TRUE);
    marking_ = false;
}

void MenuBar::setEnabled(uint16_t commandId, bool enabled) {
    auto found = items_.find(commandId);
    if (found != items_.end()) {
        gtk_widget_set_sensitive(found->second, enabled);
    }
}

bool MenuBar::isEnabled(uint16_t commandId) const {
    auto found = items_.find(commandId);
    return found != items_.end() && gtk_widget_get_sensitive(found->second);
}

}  // namespace kz
