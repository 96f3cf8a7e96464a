#include "app/gtk/board_area.h"

#include <gtk/gtk-a11y.h>

namespace kz {
namespace {

// The accessible of the area: a widget's accessible that also offers its last announcement
// as text. Only what a reader needs to fetch and follow that text is implemented.
struct BoardAccessible {
    GtkWidgetAccessible parent;
    gchar* text;  // UTF-8, owned
};

struct BoardAccessibleClass {
    GtkWidgetAccessibleClass parent;
};

GType boardAccessibleType();

BoardAccessible* boardAccessible(gpointer object) {
    return G_TYPE_CHECK_INSTANCE_CAST(object, boardAccessibleType(), BoardAccessible);
}

gchar* getText(AtkText* text, gint start, gint end) {
    const gchar* all = boardAccessible(text)->text;
    const glong length = g_utf8_strlen(all, -1);
    if (end < 0 || end > length) {
        end = static_cast<gint>(length);
    }
    start = CLAMP(start, 0, end);
    return g_utf8_substring(all, start, end);
}

gint getCharacterCount(AtkText* text) {
    return static_cast<gint>(g_utf8_strlen(boardAccessible(text)->text, -1));
}

gunichar getCharacterAtOffset(AtkText* text, gint offset) {
    const gchar* all = boardAccessible(text)->text;
    if (offset < 0 || offset >= g_utf8_strlen(all, -1)) {
        return 0;
    }
    return g_utf8_get_char(g_utf8_offset_to_pointer(all, offset));
}

gint getCaretOffset(AtkText*) {
    return 0;
}

void initText(gpointer interface, gpointer) {
    auto* iface = static_cast<AtkTextIface*>(interface);
    iface->get_text = getText;
    iface->get_character_count = getCharacterCount;
    iface->get_character_at_offset = getCharacterAtOffset;
    iface->get_caret_offset = getCaretOffset;
}

void finalizeAccessible(GObject* object) {
    g_free(boardAccessible(object)->text);
    G_OBJECT_CLASS(g_type_class_peek(GTK_TYPE_WIDGET_ACCESSIBLE))->finalize(object);
}

void initAccessibleClass(gpointer klass, gpointer) {
    G_OBJECT_CLASS(klass)->finalize = finalizeAccessible;
}

void initAccessible(GTypeInstance* instance, gpointer) {
    boardAccessible(instance)->text = g_strdup("");
}

GType boardAccessibleType() {
    static GType type = 0;
    if (type == 0) {
        type = g_type_register_static_simple(
            GTK_TYPE_WIDGET_ACCESSIBLE, "KzBoardAccessible", sizeof(BoardAccessibleClass),
            initAccessibleClass, sizeof(BoardAccessible), initAccessible, GTypeFlags(0));
        const GInterfaceInfo text{initText, nullptr, nullptr};
        g_type_add_interface_static(type, ATK_TYPE_TEXT, &text);
    }
    return type;
}

void initAreaClass(gpointer klass, gpointer) {
    gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass), boardAccessibleType());
    gtk_widget_class_set_accessible_role(GTK_WIDGET_CLASS(klass), ATK_ROLE_CANVAS);
}

GType boardAreaType() {
    static GType type = 0;
    if (type == 0) {
        GTypeQuery parent;
        g_type_query(GTK_TYPE_DRAWING_AREA, &parent);
        type = g_type_register_static_simple(
            GTK_TYPE_DRAWING_AREA, "KzBoardArea", static_cast<guint>(parent.class_size),
            initAreaClass, static_cast<guint>(parent.instance_size), nullptr, GTypeFlags(0));
    }
    return type;
}

}  // namespace

GtkWidget* newBoardArea() {
    return GTK_WIDGET(g_object_new(boardAreaType(), nullptr));
}

void setBoardName(GtkWidget* area, const std::string& name) {
    atk_object_set_name(gtk_widget_get_accessible(area), name.c_str());
}

void setBoardDescription(GtkWidget* area, const std::string& description) {
    AtkObject* accessible = gtk_widget_get_accessible(area);
    const gchar* now = atk_object_get_description(accessible);
    if (!now || description != now) {
        atk_object_set_description(accessible, description.c_str());
    }
}

void announceOnBoard(GtkWidget* area, const std::string& text) {
    AtkObject* accessible = gtk_widget_get_accessible(area);
    BoardAccessible* board = boardAccessible(accessible);
    const auto oldLength = static_cast<gint>(g_utf8_strlen(board->text, -1));
    gchar* old = board->text;
    board->text = g_strdup("");
    if (oldLength > 0) {
        g_signal_emit_by_name(accessible, "text-remove", 0, oldLength, old);
    }
    g_free(old);
    g_free(board->text);
    board->text = g_strdup(text.c_str());
    const auto length = static_cast<gint>(g_utf8_strlen(board->text, -1));
    if (length > 0) {
        g_signal_emit_by_name(accessible, "text-insert", 0, length, board->text);
    }
}

}  // namespace kz
