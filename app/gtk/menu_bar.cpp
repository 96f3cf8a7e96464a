#include "app/gtk/menu_bar.h"

#include "app/common/commands.h"

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

}  // namespace

MenuBar::MenuBar(GtkAccelGroup* accelerators, CommandHandler handler)
    : handler_(std::move(handler)) {
    bar_ = gtk_menu_bar_new();

    GtkWidget* game = addSubmenu(bar_, "_Game");
    GtkWidget* exit = addItem(game, "E_xit", command::Exit);
    gtk_widget_add_accelerator(exit, "activate", accelerators, GDK_KEY_w, GDK_CONTROL_MASK,
                               GTK_ACCEL_VISIBLE);

    GtkWidget* options = addSubmenu(bar_, "_Options");
    GtkWidget* fieldSize = addSubmenu(options, "_Field Size");
    GSList* sizes = nullptr;
    addRadioItem(fieldSize, &sizes, "2 x 2", command::FieldSize2);
    addRadioItem(fieldSize, &sizes, "3 x 3", command::FieldSize3);
    addRadioItem(fieldSize, &sizes, "4 x 4", command::FieldSize4);
    addRadioItem(fieldSize, &sizes, "5 x 5", command::FieldSize5);
    addRadioItem(fieldSize, &sizes, "Random", command::FieldSizeRandom);

    GtkWidget* actionType = addSubmenu(options, "_Action Type");
    GSList* actions = nullptr;
    addRadioItem(actionType, &actions, "_Add From None", command::AddFromNone);
    addRadioItem(actionType, &actions, "A_dd From Some", command::AddFromSome);
    addRadioItem(actionType, &actions, "_Remove From Full", command::RemoveFromFull);
    addRadioItem(actionType, &actions, "R_emove From Some", command::RemoveFromSome);
    addRadioItem(actionType, &actions, "_Move From Some", command::MoveFromSome);
    addRadioItem(actionType, &actions, "M_ixed", command::Mixed);

    GtkWidget* help = addSubmenu(bar_, "_Help");
    GtkWidget* contents = addItem(help, "_Contents", command::HelpContents);
    // F1 is shown as the Windows program shows it, but no key is bound to Contents.
    gtk_accel_label_set_accel(GTK_ACCEL_LABEL(gtk_bin_get_child(GTK_BIN(contents))), GDK_KEY_F1,
                              GdkModifierType(0));
    addItem(help, "_Search", command::HelpSearch);
    addItem(help, "_Index", command::HelpIndex);
    gtk_menu_shell_append(GTK_MENU_SHELL(help), gtk_separator_menu_item_new());
    addItem(help, "_About", command::About);
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

void MenuBar::markFieldSize(int32_t fieldSize) {
    mark(commandForFieldSize(fieldSize));
}

void MenuBar::markActionType(int32_t actionType) {
    mark(commandForActionType(actionType));
}

uint16_t MenuBar::markedIn(uint16_t first, uint16_t last) const {
    for (const auto& [id, item] : items_) {
        if (id >= first && id <= last && GTK_IS_CHECK_MENU_ITEM(item) &&
            gtk_check_menu_item_get_active(GTK_CHECK_MENU_ITEM(item))) {
            return id;
        }
    }
    return 0;
}

uint16_t MenuBar::markedFieldSizeCommand() const {
    return markedIn(command::FirstFieldSize, command::LastFieldSize);
}

uint16_t MenuBar::markedActionTypeCommand() const {
    return markedIn(command::FirstActionType, command::LastActionType);
}

GtkWidget* MenuBar::item(uint16_t commandId) const {
    auto found = items_.find(commandId);
    return found == items_.end() ? nullptr : found->second;
}

}  // namespace kz
