#include "app/gtk/board_area.h"

#include <gtk/gtk-a11y.h>

#include <algorithm>
#include <utility>
#include <vector>

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

gint boardChildCount(AtkObject* object);
AtkObject* boardChild(AtkObject* object, gint index);
AtkStateSet* boardStates(AtkObject* object);

void initAccessibleClass(gpointer klass, gpointer) {
    G_OBJECT_CLASS(klass)->finalize = finalizeAccessible;
    ATK_OBJECT_CLASS(klass)->get_n_children = boardChildCount;
    ATK_OBJECT_CLASS(klass)->ref_child = boardChild;
    ATK_OBJECT_CLASS(klass)->ref_state_set = boardStates;
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

// What the area keeps besides the widget: the picture's size, the size it asks for, and the
// places of the focus with their accessible objects.
struct BoardState {
    int32_t pictureWidth = 0;
    int32_t pictureHeight = 0;
    int32_t naturalWidth = 0;
    int32_t naturalHeight = 0;
    FocusPlaces places;
    std::vector<AtkObject*> children;  // one reference each
    std::function<void(size_t, bool)> onFocus;

    BoardState() = default;
    BoardState(const BoardState&) = delete;
    BoardState& operator=(const BoardState&) = delete;
    ~BoardState();
};

constexpr const char* kStateKey = "kz-board-state";

BoardState& stateOf(GtkWidget* area) {
    return *static_cast<BoardState*>(g_object_get_data(G_OBJECT(area), kStateKey));
}

// The accessible of one place of the focus. It reads its state from the area each time it is
// asked, and goes defunct when the area ends.
struct PlaceAccessible {
    AtkObject parent;
    GtkWidget* area;  // null once the area has ended
    size_t index;
};

struct PlaceAccessibleClass {
    AtkObjectClass parent;
};

GType placeAccessibleType();

PlaceAccessible* placeAccessible(gpointer object) {
    return G_TYPE_CHECK_INSTANCE_CAST(object, placeAccessibleType(), PlaceAccessible);
}

const FocusPlace* placeOf(PlaceAccessible* place) {
    if (!place->area) {
        return nullptr;
    }
    const FocusPlaces& all = stateOf(place->area).places;
    return place->index < all.places.size() ? &all.places[place->index] : nullptr;
}

bool isFocusedPlace(GtkWidget* area, size_t index) {
    return stateOf(area).places.focused == index && gtk_widget_has_focus(area);
}

gint placeIndexInParent(AtkObject* object) {
    return static_cast<gint>(placeAccessible(object)->index);
}

AtkStateSet* placeStates(AtkObject* object) {
    AtkStateSet* states = atk_state_set_new();
    PlaceAccessible* place = placeAccessible(object);
    const FocusPlace* shown = placeOf(place);
    if (!shown) {
        atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
        return states;
    }
    for (AtkStateType state :
         {ATK_STATE_ENABLED, ATK_STATE_SENSITIVE, ATK_STATE_VISIBLE, ATK_STATE_FOCUSABLE}) {
        atk_state_set_add_state(states, state);
    }
    if (gtk_widget_get_mapped(place->area)) {
        atk_state_set_add_state(states, ATK_STATE_SHOWING);
    }
    if (shown->isStick) {
        atk_state_set_add_state(states, ATK_STATE_CHECKABLE);
        if (shown->holdsMatch) {
            atk_state_set_add_state(states, ATK_STATE_CHECKED);
        }
    }
    if (isFocusedPlace(place->area, place->index)) {
        atk_state_set_add_state(states, ATK_STATE_FOCUSED);
    }
    return states;
}

void placeExtents(AtkComponent* component, gint* x, gint* y, gint* width, gint* height,
                  AtkCoordType coordinates) {
    PlaceAccessible* place = placeAccessible(component);
    const FocusPlace* shown = placeOf(place);
    *x = *y = *width = *height = 0;
    if (!shown) {
        return;
    }
    gint areaX = 0;
    gint areaY = 0;
    atk_component_get_extents(ATK_COMPONENT(gtk_widget_get_accessible(place->area)), &areaX, &areaY,
                              nullptr, nullptr, coordinates);
    const Rect r = boardFit(place->area).toArea(shown->area);
    *x = areaX + r.left;
    *y = areaY + r.top;
    *width = r.width();
    *height = r.height();
}

bool focusPlace(PlaceAccessible* place, bool press) {
    if (!placeOf(place)) {
        return false;
    }
    gtk_widget_grab_focus(place->area);
    BoardState& state = stateOf(place->area);
    if (state.onFocus) {
        state.onFocus(place->index, press);
    }
    return true;
}

gboolean placeGrabFocus(AtkComponent* component) {
    return focusPlace(placeAccessible(component), false);
}

void initPlaceComponent(gpointer interface, gpointer) {
    auto* iface = static_cast<AtkComponentIface*>(interface);
    iface->get_extents = placeExtents;
    iface->grab_focus = placeGrabFocus;
}

// One action, as a button has: a click at the place, as Space gives it.
gboolean placePress(AtkAction* action, gint index) {
    return index == 0 && focusPlace(placeAccessible(action), true);
}

gint placeActionCount(AtkAction*) {
    return 1;
}

const gchar* placeActionName(AtkAction*, gint index) {
    return index == 0 ? "click" : nullptr;
}

void initPlaceAction(gpointer interface, gpointer) {
    auto* iface = static_cast<AtkActionIface*>(interface);
    iface->do_action = placePress;
    iface->get_n_actions = placeActionCount;
    iface->get_name = placeActionName;
}

void initPlaceAccessibleClass(gpointer klass, gpointer) {
    auto* object = ATK_OBJECT_CLASS(klass);
    object->get_index_in_parent = placeIndexInParent;
    object->ref_state_set = placeStates;
}

GType placeAccessibleType() {
    static GType type = 0;
    if (type == 0) {
        type = g_type_register_static_simple(ATK_TYPE_OBJECT, "KzPlaceAccessible",
                                             sizeof(PlaceAccessibleClass), initPlaceAccessibleClass,
                                             sizeof(PlaceAccessible), nullptr, GTypeFlags(0));
        const GInterfaceInfo component{initPlaceComponent, nullptr, nullptr};
        g_type_add_interface_static(type, ATK_TYPE_COMPONENT, &component);
        const GInterfaceInfo action{initPlaceAction, nullptr, nullptr};
        g_type_add_interface_static(type, ATK_TYPE_ACTION, &action);
    }
    return type;
}

BoardState::~BoardState() {
    for (AtkObject* child : children) {
        placeAccessible(child)->area = nullptr;
        g_object_unref(child);
    }
}

void describePlace(AtkObject* child, const FocusPlace& place) {
    const AtkRole role = place.isStick ? ATK_ROLE_TOGGLE_BUTTON : ATK_ROLE_PUSH_BUTTON;
    if (atk_object_get_role(child) != role) {
        atk_object_set_role(child, role);
    }
    const gchar* name = atk_object_get_name(child);
    if (!name || place.name != name) {
        atk_object_set_name(child, place.name.c_str());
    }
}

// Where the focus is, told as a reader follows it: the place focused and the area's active
// descendant.
void tellFocus(GtkWidget* area, bool focused) {
    BoardState& state = stateOf(area);
    if (state.places.focused >= state.children.size()) {
        return;
    }
    AtkObject* child = state.children[state.places.focused];
    atk_object_notify_state_change(child, ATK_STATE_FOCUSED, focused);
    if (focused) {
        g_signal_emit_by_name(gtk_widget_get_accessible(area), "active-descendant-changed", child);
    }
}

gboolean onFocusIn(GtkWidget* area, GdkEvent*, gpointer) {
    // After the toolkit has told the area itself focused (in an idle call of its own), so a
    // reader ends on the place.
    g_idle_add_full(
        G_PRIORITY_LOW,
        [](gpointer widget) {
            if (gtk_widget_has_focus(GTK_WIDGET(widget))) {
                tellFocus(GTK_WIDGET(widget), true);
            }
            return G_SOURCE_REMOVE;
        },
        g_object_ref(area), g_object_unref);
    return FALSE;
}

gboolean onFocusOut(GtkWidget* area, GdkEvent*, gpointer) {
    tellFocus(area, false);
    return FALSE;
}

gint boardChildCount(AtkObject* object) {
    GtkWidget* area = gtk_accessible_get_widget(GTK_ACCESSIBLE(object));
    return area ? static_cast<gint>(stateOf(area).children.size()) : 0;
}

AtkObject* boardChild(AtkObject* object, gint index) {
    GtkWidget* area = gtk_accessible_get_widget(GTK_ACCESSIBLE(object));
    if (!area || index < 0 || static_cast<size_t>(index) >= stateOf(area).children.size()) {
        return nullptr;
    }
    return ATK_OBJECT(g_object_ref(stateOf(area).children[static_cast<size_t>(index)]));
}

AtkStateSet* boardStates(AtkObject* object) {
    AtkStateSet* states =
        ATK_OBJECT_CLASS(g_type_class_peek(GTK_TYPE_WIDGET_ACCESSIBLE))->ref_state_set(object);
    atk_state_set_add_state(states, ATK_STATE_MANAGES_DESCENDANTS);
    return states;
}

void preferredWidth(GtkWidget* area, gint* smallest, gint* natural) {
    const BoardState& state = stateOf(area);
    *smallest = kSmallestWidth;
    *natural = std::max(kSmallestWidth, state.naturalWidth);
}

void preferredHeight(GtkWidget* area, gint* smallest, gint* natural) {
    const BoardState& state = stateOf(area);
    *smallest =
        state.pictureWidth > 0
            ? (kSmallestWidth * state.pictureHeight + state.pictureWidth - 1) / state.pictureWidth
            : 1;
    *natural = std::max(*smallest, state.naturalHeight);
}

void initAreaClass(gpointer klass, gpointer) {
    auto* widget = GTK_WIDGET_CLASS(klass);
    widget->get_preferred_width = preferredWidth;
    widget->get_preferred_height = preferredHeight;
    gtk_widget_class_set_accessible_type(widget, boardAccessibleType());
    gtk_widget_class_set_accessible_role(widget, ATK_ROLE_CANVAS);
}

void initArea(GTypeInstance* instance, gpointer) {
    g_object_set_data_full(G_OBJECT(instance), kStateKey, new BoardState,
                           [](gpointer state) { delete static_cast<BoardState*>(state); });
    g_signal_connect(instance, "focus-in-event", G_CALLBACK(onFocusIn), nullptr);
    g_signal_connect(instance, "focus-out-event", G_CALLBACK(onFocusOut), nullptr);
}

GType boardAreaType() {
    static GType type = 0;
    if (type == 0) {
        GTypeQuery parent;
        g_type_query(GTK_TYPE_DRAWING_AREA, &parent);
        type = g_type_register_static_simple(
            GTK_TYPE_DRAWING_AREA, "KzBoardArea", static_cast<guint>(parent.class_size),
            initAreaClass, static_cast<guint>(parent.instance_size), initArea, GTypeFlags(0));
    }
    return type;
}

}  // namespace

GtkWidget* newBoardArea() {
    return GTK_WIDGET(g_object_new(boardAreaType(), nullptr));
}

void setBoardPicture(GtkWidget* area, int32_t width, int32_t height) {
    BoardState& state = stateOf(area);
    state.pictureWidth = width;
    state.pictureHeight = height;
    if (state.naturalWidth <= 0) {
        state.naturalWidth = width;
        state.naturalHeight = height;
    }
    gtk_widget_queue_resize(area);
}

void setBoardNaturalSize(GtkWidget* area, int32_t width, int32_t height) {
    BoardState& state = stateOf(area);
    state.naturalWidth = width;
    state.naturalHeight = height;
    gtk_widget_queue_resize(area);
}

PictureFit boardFit(GtkWidget* area) {
    const BoardState& state = stateOf(area);
    return fitPicture(gtk_widget_get_allocated_width(area), gtk_widget_get_allocated_height(area),
                      state.pictureWidth, state.pictureHeight);
}

void drawBoardPicture(GtkWidget* area, cairo_t* cr, cairo_surface_t* picture,
                      int32_t pictureScale) {
    const BoardState& state = stateOf(area);
    const PictureFit fit = boardFit(area);
    const Rect shown = fit.toArea({0, 0, state.pictureWidth, state.pictureHeight});
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    // What the picture leaves of the area, where its proportions differ from the area's. The
    // few pixels around a picture at a whole multiple repeat its edge, the felt.
    if (!fit.nearWhole || !picture) {
        cairo_rectangle(cr, 0, 0, gtk_widget_get_allocated_width(area),
                        gtk_widget_get_allocated_height(area));
        cairo_rectangle(cr, shown.left, shown.top, shown.width(), shown.height());
        cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_fill(cr);
    }
    if (!picture) {
        return;
    }
    cairo_save(cr);
    fit.apply(cr);
    if (!fit.nearWhole) {
        cairo_rectangle(cr, 0, 0, state.pictureWidth, state.pictureHeight);
        cairo_clip(cr);
    }
    cairo_scale(cr, 1.0 / pictureScale, 1.0 / pictureScale);
    // GTK has already scaled the context for a HiDPI screen. Where a pixel of the picture
    // covers a whole number of the screen's, nearest neighbour keeps every pixel sharp, and
    // between two surfaces in the X server the copy is the server's; otherwise the picture
    // is filtered, its edges padded.
    cairo_set_source_surface(cr, picture, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr),
                             fit.isWhole(gtk_widget_get_scale_factor(area), pictureScale)
                                 ? CAIRO_FILTER_NEAREST
                                 : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
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

void setBoardPlaces(GtkWidget* area, const FocusPlaces& places) {
    BoardState& state = stateOf(area);
    AtkObject* board = gtk_widget_get_accessible(area);
    const bool focused = gtk_widget_has_focus(area);
    const FocusPlace* was = state.places.focused < state.places.places.size()
                                ? &state.places.places[state.places.focused]
                                : nullptr;
    const FocusPlace* now =
        places.focused < places.places.size() ? &places.places[places.focused] : nullptr;
    // The same place when it stands where it stood, even though its name changed.
    const bool focusMoves = !was || !now || places.focused != state.places.focused ||
                            was->isStick != now->isStick || !(was->area == now->area);
    if (focusMoves && focused) {
        tellFocus(area, false);
    }
    std::vector<bool> wasChecked;
    for (const FocusPlace& place : state.places.places) {
        wasChecked.push_back(place.holdsMatch);
    }
    state.places = places;
    while (state.children.size() > places.places.size()) {
        AtkObject* child = state.children.back();
        state.children.pop_back();
        placeAccessible(child)->area = nullptr;
        g_signal_emit_by_name(board, "children-changed::remove",
                              static_cast<guint>(state.children.size()), child);
        atk_object_notify_state_change(child, ATK_STATE_DEFUNCT, TRUE);
        g_object_unref(child);
    }
    for (size_t i = 0; i < state.children.size(); ++i) {
        describePlace(state.children[i], places.places[i]);
        if (places.places[i].holdsMatch != wasChecked[i]) {
            atk_object_notify_state_change(state.children[i], ATK_STATE_CHECKED,
                                           places.places[i].holdsMatch);
        }
    }
    while (state.children.size() < places.places.size()) {
        auto* child = ATK_OBJECT(g_object_new(placeAccessibleType(), nullptr));
        placeAccessible(child)->area = area;
        placeAccessible(child)->index = state.children.size();
        describePlace(child, places.places[state.children.size()]);
        atk_object_set_parent(child, board);
        state.children.push_back(child);
        g_signal_emit_by_name(board, "children-changed::add",
                              static_cast<guint>(state.children.size() - 1), child);
    }
    if (focusMoves && focused) {
        tellFocus(area, true);
    }
}

void setBoardFocusHandler(GtkWidget* area, std::function<void(size_t place, bool press)> handler) {
    stateOf(area).onFocus = std::move(handler);
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
