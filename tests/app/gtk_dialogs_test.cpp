// The Linux program's widgets that need a real display: the Statistics and Play Puzzle Code
// boxes, answered the way a player would (without a modal run unless the run itself is what
// is tested), the Game menu's extra lines, and the drawing area a screen reader reads.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <functional>
#include <regex>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/common/commands.h"
#include "app/common/extras_texts.h"
#include "app/common/puzzle_link.h"
#include "app/common/records_table.h"
#include "app/gtk/board_area.h"
#include "app/gtk/clipboard.h"
#include "app/gtk/day_dialog.h"
#include "app/gtk/menu_bar.h"
#include "app/gtk/puzzle_code_dialog.h"
#include "app/gtk/statistics_dialog.h"
#include "puzzle/puzzle_code.h"
#include "tests/support/glib_main_loop.h"

namespace kz {
namespace {

constexpr CalendarDay kToday = 20430;
const English english;

class GtkDialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { displayOpen_ = gtk_init_check(nullptr, nullptr); }
    void SetUp() override {
        ASSERT_TRUE(displayOpen_) << "these tests need a display: run them through "
                                     "tests/support/run_on_private_display.py";
        parent_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    }
    void TearDown() override {
        if (parent_) {
            gtk_widget_destroy(parent_);
        }
    }
    GtkWindow* parent() const { return GTK_WINDOW(parent_); }

    static bool displayOpen_;
    GtkWidget* parent_ = nullptr;
};
bool GtkDialogs::displayOpen_ = false;

// The first widget of a name in a tree, or null.
GtkWidget* findNamed(GtkWidget* root, const char* name) {
    if (g_strcmp0(gtk_widget_get_name(root), name) == 0) {
        return root;
    }
    GtkWidget* found = nullptr;
    if (GTK_IS_CONTAINER(root)) {
        GList* children = gtk_container_get_children(GTK_CONTAINER(root));
        for (GList* c = children; c && !found; c = c->next) {
            found = findNamed(GTK_WIDGET(c->data), name);
        }
        g_list_free(children);
    }
    return found;
}

std::string labelText(GtkWidget* root, const char* name) {
    GtkWidget* label = findNamed(root, name);
    return label && GTK_IS_LABEL(label) ? gtk_label_get_text(GTK_LABEL(label)) : "<none>";
}

std::vector<std::string> columnTitles(GtkWidget* view) {
    std::vector<std::string> titles;
    for (guint i = 0; i < gtk_tree_view_get_n_columns(GTK_TREE_VIEW(view)); ++i) {
        titles.emplace_back(
            gtk_tree_view_column_get_title(gtk_tree_view_get_column(GTK_TREE_VIEW(view), i)));
    }
    return titles;
}

std::vector<std::vector<std::string>> shownRows(GtkWidget* view) {
    GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(view));
    std::vector<std::vector<std::string>> rows;
    GtkTreeIter iter;
    for (gboolean more = gtk_tree_model_get_iter_first(model, &iter); more;
         more = gtk_tree_model_iter_next(model, &iter)) {
        rows.emplace_back();
        for (gint column = 0; column < gtk_tree_model_get_n_columns(model); ++column) {
            gchar* text = nullptr;
            gtk_tree_model_get(model, &iter, column, &text, -1);
            rows.back().emplace_back(text ? text : "");
            g_free(text);
        }
    }
    return rows;
}

bool responseSensitive(GtkWidget* dialog, int response) {
    GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), response);
    return button && gtk_widget_get_sensitive(button);
}

// Shows a window, lets it draw, and takes its picture from the display: that picture must
// show something (more than a few colours), and is written to KZ_DIALOG_PICTURES/name.png
// when that folder is given, for a person to look at.
void expectRendered(GtkWidget* window, const std::string& name) {
    gtk_widget_show(window);
    ASSERT_TRUE(runUntil([&] { return gtk_widget_get_mapped(window) != FALSE; }, 3000)) << name;
    runUntil([] { return false; }, 300);
    const int width = gtk_widget_get_allocated_width(window);
    const int height = gtk_widget_get_allocated_height(window);
    ASSERT_GT(width, 100) << name;
    ASSERT_GT(height, 50) << name;
    GdkPixbuf* picture =
        gdk_pixbuf_get_from_window(gtk_widget_get_window(window), 0, 0, width, height);
    ASSERT_NE(picture, nullptr) << name;
    std::set<uint32_t> colours;
    const guchar* pixels = gdk_pixbuf_get_pixels(picture);
    const int stride = gdk_pixbuf_get_rowstride(picture);
    const int channels = gdk_pixbuf_get_n_channels(picture);
    for (int y = 0; y < height && colours.size() < 16; ++y) {
        for (int x = 0; x < width; ++x) {
            const guchar* p = pixels + y * stride + x * channels;
            colours.insert(uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2]);
        }
    }
    EXPECT_GE(colours.size(), 16u) << name << " drew next to nothing";
    if (const char* dir = std::getenv("KZ_DIALOG_PICTURES")) {
        const std::string path = std::string(dir) + "/" + name + ".png";
        EXPECT_TRUE(gdk_pixbuf_save(picture, path.c_str(), "png", nullptr, nullptr)) << path;
    }
    g_object_unref(picture);
}

Records someRecords() {
    Records records;
    // played, won, given up, best time, hints, streak, best streak
    records.setTable({4, MoveFromSome}, TableRecord{12, 9, 2, 75, 4, 3, 6});
    records.setTable({0, Mixed}, TableRecord{1, 0, 1, std::nullopt, 0, 0, 0});
    records.setDaily(DailyRecord{kToday, 2, 4});
    return records;
}

TEST_F(GtkDialogs, StatisticsShowTheTablesPlayedAndTodaysPuzzle) {
    const Records records = someRecords();
    StatisticsDialog box(
        parent(), records, kToday, english, [] {}, [](GtkWindow*) { return false; });
    GtkWidget* view = findNamed(box.widget(), "statistics-table");
    ASSERT_TRUE(view && GTK_IS_TREE_VIEW(view));
    EXPECT_EQ(columnTitles(view),
              (std::vector<std::string>{"Field size", "Action type", "Played", "Won", "Given up",
                                        "Best time", "Hints", "Streak", "Best streak"}));
    EXPECT_EQ(shownRows(view),
              (std::vector<std::vector<std::string>>{
                  {"4 x 4", "Move From Some", "12", "9", "2", "01:15", "4", "3", "6"},
                  {"Random", "Mixed", "1", "0", "1", "\u2013", "0", "0", "0"}}));
    EXPECT_EQ(labelText(box.widget(), "todays-puzzle"), "Today's puzzle: solved.");
    EXPECT_EQ(labelText(box.widget(), "days-in-a-row"), "Days in a row: 2 (best 4).");
    EXPECT_EQ(findNamed(box.widget(), "no-records"), nullptr);
    EXPECT_TRUE(responseSensitive(box.widget(), StatisticsDialog::kResetResponse));
    EXPECT_TRUE(responseSensitive(box.widget(), GTK_RESPONSE_CLOSE));
    expectRendered(box.widget(), "statistics");
}

TEST_F(GtkDialogs, StatisticsShowTheGradesPlayedInATableOfTheirOwn) {
    Records records = someRecords();
    EXPECT_EQ(gradeRows(records, english).size(), 0u);
    {
        StatisticsDialog box(
            parent(), records, kToday, english, [] {}, [](GtkWindow*) { return false; });
        EXPECT_EQ(findNamed(box.widget(), "statistics-grades"), nullptr) << "no grade played";
    }
    records.setGrade(Hard, TableRecord{4, 3, 1, 52, 1, 0, 2});
    records.setGrade(AsDesigned, TableRecord{9, 6, 2, 75, 3, 3, 6});
    StatisticsDialog box(
        parent(), records, kToday, english, [&records] { records = Records{}; },
        [](GtkWindow*) { return true; });
    GtkWidget* view = findNamed(box.widget(), "statistics-grades");
    ASSERT_TRUE(view && GTK_IS_TREE_VIEW(view));
    EXPECT_EQ(columnTitles(view),
              (std::vector<std::string>{"Grade", "Played", "Won", "Given up", "Best time", "Hints",
                                        "Streak", "Best streak"}));
    EXPECT_EQ(shownRows(view), (std::vector<std::vector<std::string>>{
                                   {"Hard", "4", "3", "1", "00:52", "1", "0", "2"},
                                   {"Ungraded", "9", "6", "2", "01:15", "3", "3", "6"}}));
    EXPECT_NE(findNamed(box.widget(), "statistics-table"), nullptr);
    expectRendered(box.widget(), "statistics-grades");

    gtk_dialog_response(GTK_DIALOG(box.widget()), StatisticsDialog::kResetResponse);
    EXPECT_EQ(findNamed(box.widget(), "statistics-grades"), nullptr) << "reset, none is left";
}

TEST_F(GtkDialogs, StatisticsBeforeAnyGameSayWhatWillCount) {
    const Records records;
    StatisticsDialog box(
        parent(), records, kToday, english, [] {}, [](GtkWindow*) { return true; });
    EXPECT_EQ(findNamed(box.widget(), "statistics-table"), nullptr);
    EXPECT_EQ(labelText(box.widget(), "no-records"), kNoRecordsText);
    EXPECT_EQ(labelText(box.widget(), "todays-puzzle"), "Today's puzzle: not solved yet.");
    EXPECT_FALSE(responseSensitive(box.widget(), StatisticsDialog::kResetResponse))
        << "nothing to reset";
    expectRendered(box.widget(), "statistics-empty");
}

TEST_F(GtkDialogs, ResetHappensOnlyAfterTheQuestionIsAnsweredYes) {
    Records records = someRecords();
    bool agree = false;
    int asked = 0;
    int resets = 0;
    GtkWindow* askedOver = nullptr;
    StatisticsDialog box(
        parent(), records, kToday, english,
        [&] {
            ++resets;
            records = Records{};
        },
        [&](GtkWindow* over) {
            ++asked;
            askedOver = over;
            return agree;
        });

    gtk_dialog_response(GTK_DIALOG(box.widget()), StatisticsDialog::kResetResponse);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(askedOver, GTK_WINDOW(box.widget())) << "the question stands over the box";
    EXPECT_EQ(resets, 0);
    EXPECT_NE(findNamed(box.widget(), "statistics-table"), nullptr);

    agree = true;
    gtk_dialog_response(GTK_DIALOG(box.widget()), StatisticsDialog::kResetResponse);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(resets, 1);
    // The box shows the records as they are now.
    EXPECT_EQ(findNamed(box.widget(), "statistics-table"), nullptr);
    EXPECT_EQ(labelText(box.widget(), "no-records"), kNoRecordsText);
    EXPECT_EQ(labelText(box.widget(), "days-in-a-row"), "Days in a row: 0 (best 0).");
    EXPECT_FALSE(responseSensitive(box.widget(), StatisticsDialog::kResetResponse));
}

// Answers a modal run step by step from the main loop, a step every intervalMs; the last
// step of each script closes the box, so a box that does not close as it should fails the
// test instead of hanging it. The steps left when the script ends are dropped.
class LoopScript {
  public:
    explicit LoopScript(std::vector<std::function<void()>> steps, guint intervalMs = 50)
        : steps_(std::move(steps)) {
        source_ = g_timeout_add(intervalMs, &LoopScript::step, this);
    }
    ~LoopScript() {
        if (source_ != 0) {
            g_source_remove(source_);
        }
    }
    LoopScript(const LoopScript&) = delete;
    LoopScript& operator=(const LoopScript&) = delete;

  private:
    static gboolean step(gpointer data) {
        auto* self = static_cast<LoopScript*>(data);
        if (self->next_ == self->steps_.size()) {
            self->source_ = 0;
            return G_SOURCE_REMOVE;
        }
        self->steps_[self->next_++]();
        return G_SOURCE_CONTINUE;
    }

    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    guint source_ = 0;
};

TEST_F(GtkDialogs, ResetLeavesTheModalBoxOpenUntilClose) {
    Records records = someRecords();
    int resets = 0;
    StatisticsDialog box(
        parent(), records, kToday, english, [&] { ++resets; }, [](GtkWindow*) { return true; });
    bool closedEarly = true;
    LoopScript script({
        [&] { gtk_dialog_response(GTK_DIALOG(box.widget()), StatisticsDialog::kResetResponse); },
        [&] { closedEarly = false; },
        [&] { gtk_dialog_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_CLOSE); },
    });
    box.run();
    EXPECT_FALSE(closedEarly) << "the Reset response ended the run";
    EXPECT_EQ(resets, 1);
}

TEST_F(GtkDialogs, TheResetQuestionDefaultsToCancel) {
    GtkWidget* question = newResetConfirmation(parent(), english);
    ASSERT_TRUE(GTK_IS_MESSAGE_DIALOG(question));
    gchar* text = nullptr;
    gchar* secondary = nullptr;
    g_object_get(question, "text", &text, "secondary-text", &secondary, nullptr);
    EXPECT_STREQ(text, "Reset all statistics?");
    EXPECT_NE(std::string(secondary).find("This cannot be undone."), std::string::npos);
    g_free(text);
    g_free(secondary);
    GtkWidget* cancel =
        gtk_dialog_get_widget_for_response(GTK_DIALOG(question), GTK_RESPONSE_CANCEL);
    GtkWidget* reset =
        gtk_dialog_get_widget_for_response(GTK_DIALOG(question), GTK_RESPONSE_ACCEPT);
    ASSERT_TRUE(cancel && reset);
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(reset)), "_Reset");
    EXPECT_TRUE(gtk_widget_has_default(cancel));
    EXPECT_TRUE(gtk_window_get_modal(GTK_WINDOW(question)));
    expectRendered(question, "reset-question");
    gtk_widget_destroy(question);
}

// Chooses a day on the calendar as a click would (GtkCalendar counts months from 0).
void chooseDay(GtkWidget* calendar, CalendarDay day) {
    const CalendarDate date = dateOfDay(day);
    gtk_calendar_select_month(GTK_CALENDAR(calendar), static_cast<guint>(date.month - 1),
                              static_cast<guint>(date.year));
    gtk_calendar_select_day(GTK_CALENDAR(calendar), static_cast<guint>(date.day));
}

TEST_F(GtkDialogs, ThePastPuzzleBoxTakesTheDaysFromTheFirstToTodayOnly) {
    const CalendarDay first = kToday - 40;
    DayDialog box(parent(), first, kToday, english);
    GtkWidget* ok = gtk_dialog_get_widget_for_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_OK);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(box.chosen(), std::optional<CalendarDay>(kToday)) << "it opens on today";
    EXPECT_TRUE(gtk_widget_get_sensitive(ok));
    EXPECT_EQ(labelText(box.widget(), "past-day-message"), pastDaysText(English{}, first));
    GtkWidget* message = findNamed(box.widget(), "past-day-message");
    ASSERT_NE(message, nullptr);
    for (const CalendarDay refused : {kToday + 1, kToday + 400, first - 1}) {
        chooseDay(box.calendar(), refused);
        EXPECT_FALSE(box.chosen().has_value()) << dayText(refused);
        EXPECT_FALSE(gtk_widget_get_sensitive(ok)) << dayText(refused);
        EXPECT_TRUE(gtk_style_context_has_class(gtk_widget_get_style_context(message), "error"));
    }
    for (const CalendarDay taken : {first, kToday - 1, kToday}) {
        chooseDay(box.calendar(), taken);
        EXPECT_EQ(box.chosen(), std::optional<CalendarDay>(taken)) << dayText(taken);
        EXPECT_TRUE(gtk_widget_get_sensitive(ok)) << dayText(taken);
        EXPECT_FALSE(gtk_style_context_has_class(gtk_widget_get_style_context(message), "error"));
    }
    // The month shown marks the days that can be played.
    const auto marked = [&box](CalendarDay day) {
        chooseDay(box.calendar(), day);
        return gtk_calendar_get_day_is_marked(GTK_CALENDAR(box.calendar()),
                                              static_cast<guint>(dateOfDay(day).day)) != FALSE;
    };
    ASSERT_EQ(dateOfDay(kToday).month, dateOfDay(kToday + 1).month);
    ASSERT_EQ(dateOfDay(first).month, dateOfDay(first - 1).month);
    EXPECT_TRUE(marked(kToday));
    EXPECT_FALSE(marked(kToday + 1));
    EXPECT_TRUE(marked(first));
    EXPECT_FALSE(marked(first - 1));
    EXPECT_TRUE(marked(first + 10)) << "a month between";
    chooseDay(box.calendar(), first);
    expectRendered(box.widget(), "past-day");

    // The arrows move the chosen day itself, across a month's end too.
    chooseDay(box.calendar(), kToday);
    gtk_widget_grab_focus(box.calendar());
    const auto press = [&box](guint key) {
        // Straight to the calendar, as the focused widget gets it: a private display has no
        // window manager to give the box the keyboard focus.
        GdkEvent* event = gdk_event_new(GDK_KEY_PRESS);
        event->key.window = GDK_WINDOW(g_object_ref(gtk_widget_get_window(box.calendar())));
        event->key.send_event = TRUE;
        event->key.keyval = key;
        event->key.state = 0;
        gtk_widget_event(box.calendar(), event);
        gdk_event_free(event);
    };
    press(GDK_KEY_Left);
    EXPECT_EQ(box.chosen(), std::optional<CalendarDay>(kToday - 1));
    press(GDK_KEY_Right);
    press(GDK_KEY_Right);
    EXPECT_FALSE(box.chosen().has_value()) << "tomorrow";
    EXPECT_FALSE(gtk_widget_get_sensitive(ok));
    press(GDK_KEY_Up);
    press(GDK_KEY_Up);
    press(GDK_KEY_Up);
    press(GDK_KEY_Up);
    press(GDK_KEY_Up);
    EXPECT_EQ(box.chosen(), std::optional<CalendarDay>(kToday + 1 - 35));
    EXPECT_TRUE(gtk_widget_get_sensitive(ok));
}

TEST_F(GtkDialogs, ThePastPuzzleRunEndsWithADayDoubleClickedOrCancel) {
    const CalendarDay first = kToday - 40;
    {
        DayDialog box(parent(), first, kToday, english);
        LoopScript script({
            // A day to come double-clicked is no answer.
            [&] { chooseDay(box.calendar(), kToday + 2); },
            [&] { g_signal_emit_by_name(box.calendar(), "day-selected-double-click"); },
            [&] { chooseDay(box.calendar(), kToday - 3); },
            [&] { g_signal_emit_by_name(box.calendar(), "day-selected-double-click"); },
            // Only reached when the good day did not end the run.
            [&] { gtk_dialog_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_CANCEL); },
        });
        EXPECT_EQ(box.run(), std::optional<CalendarDay>(kToday - 3));
    }
    {
        DayDialog box(parent(), first, kToday, english);
        LoopScript script(
            {[&] { gtk_dialog_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_CANCEL); }});
        EXPECT_FALSE(box.run().has_value());
    }
}

// The box's play, as the session's: a code that names a puzzle plays.
struct CodePlays {
    PuzzleCodeDialog::Play play() {
        return [this](const std::string& text) {
            given.push_back(text);
            return puzzleFromCode(withoutBlanks(text)).has_value();
        };
    }
    std::vector<std::string> given;
};

TEST_F(GtkDialogs, APuzzleCodeIsPlayedAsTyped) {
    CodePlays plays;
    PuzzleCodeDialog box(parent(), plays.play(), english);
    GtkWidget* entry = findNamed(box.widget(), "puzzle-code");
    ASSERT_TRUE(entry && GTK_IS_ENTRY(entry));
    // As a player may type or paste it: lower case, a hyphen, a line end.
    gtk_entry_set_text(GTK_ENTRY(entry), "3mnwj-7cxsm\t");
    gtk_dialog_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_OK);
    EXPECT_EQ(plays.given, std::vector<std::string>{"3mnwj-7cxsm\t"});
    EXPECT_TRUE(box.played());
    EXPECT_EQ(labelText(box.widget(), "puzzle-code-message"), "");
}

TEST_F(GtkDialogs, AWrongCodeIsToldAndTheBoxStaysOpen) {
    CodePlays plays;
    PuzzleCodeDialog box(parent(), plays.play(), english);
    GtkWidget* entry = findNamed(box.widget(), "puzzle-code");
    ASSERT_NE(entry, nullptr);
    for (const char* wrong : {"", "3MNWJ7CXSN", "3MNWJ7CXS", "3MNWJ7CXSM2", "HELLO WORLD"}) {
        gtk_entry_set_text(GTK_ENTRY(entry), wrong);
        EXPECT_EQ(labelText(box.widget(), "puzzle-code-message"), "") << "a new text, no word";
        gtk_dialog_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_OK);
        EXPECT_FALSE(box.played()) << wrong;
        EXPECT_EQ(labelText(box.widget(), "puzzle-code-message"), kNotAPuzzleCodeText) << wrong;
    }
    EXPECT_EQ(plays.given.size(), 5u);
    expectRendered(box.widget(), "puzzle-code-wrong");
    // The example the message gives is a code.
    std::smatch example;
    const std::string message = kNotAPuzzleCodeText;
    ASSERT_TRUE(std::regex_search(message, example, std::regex("[0-9A-Z]{10}")));
    EXPECT_TRUE(puzzleFromCode(example.str()).has_value()) << example.str();
}

TEST_F(GtkDialogs, ThePuzzleCodeRunEndsWithAGoodCodeOrCancel) {
    {
        CodePlays plays;
        PuzzleCodeDialog box(parent(), plays.play(), english);
        GtkWidget* entry = findNamed(box.widget(), "puzzle-code");
        bool wrongKeptOpen = false;
        LoopScript script(
            {
                [&] { gtk_entry_set_text(GTK_ENTRY(entry), "3MNWJ7CXSN"); },
                // Enter in the entry is OK.
                [&] { g_signal_emit_by_name(entry, "activate"); },
                [&] {
                    wrongKeptOpen =
                        labelText(box.widget(), "puzzle-code-message") == kNotAPuzzleCodeText;
                },
                [&] { gtk_entry_set_text(GTK_ENTRY(entry), "3MNWJ7CXSM"); },
                [&] { g_signal_emit_by_name(entry, "activate"); },
                // Only reached when the good code did not end the run.
                [&] { gtk_dialog_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_CANCEL); },
            },
            // A button activated from the keyboard clicks when its pressed look
            // has shown, a quarter of a second later.
            400);
        EXPECT_TRUE(box.run());
        EXPECT_TRUE(wrongKeptOpen);
        EXPECT_EQ(plays.given, (std::vector<std::string>{"3MNWJ7CXSN", "3MNWJ7CXSM"}));
    }
    {
        CodePlays plays;
        PuzzleCodeDialog box(parent(), plays.play(), english);
        GtkWidget* entry = findNamed(box.widget(), "puzzle-code");
        LoopScript script({
            [&] { gtk_entry_set_text(GTK_ENTRY(entry), "3MNWJ7CXSM"); },
            [&] { gtk_dialog_response(GTK_DIALOG(box.widget()), GTK_RESPONSE_CANCEL); },
        });
        EXPECT_FALSE(box.run()) << "Cancel plays nothing, whatever was typed";
        EXPECT_TRUE(plays.given.empty());
    }
}

TEST_F(GtkDialogs, ACopiedCodeCanBePasted) {
    const std::string code = puzzleCode(*puzzleFromCode("3MNWJ7CXSM"));
    putTextOnClipboard(parent_, code);
    gchar* pasted = gtk_clipboard_wait_for_text(
        gtk_clipboard_get_for_display(gtk_widget_get_display(parent_), GDK_SELECTION_CLIPBOARD));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(std::string(pasted), code);
    g_free(pasted);
}

TEST_F(GtkDialogs, TheGameMenuShowsTheExtraPlaysKeysWithoutBindingThem) {
    GtkAccelGroup* accelerators = gtk_accel_group_new();
    std::vector<uint16_t> chosen;
    MenuBar bar(accelerators, english, [&](uint16_t id) { chosen.push_back(id); });
    GList* tops = gtk_container_get_children(GTK_CONTAINER(bar.widget()));
    GtkWidget* game = gtk_menu_item_get_submenu(GTK_MENU_ITEM(tops->data));
    g_list_free(tops);

    struct Shown {
        std::string label;
        guint key;
        GdkModifierType modifiers;
    };
    std::vector<Shown> shown;
    GList* items = gtk_container_get_children(GTK_CONTAINER(game));
    for (GList* i = items; i; i = i->next) {
        GtkWidget* child = gtk_bin_get_child(GTK_BIN(i->data));
        if (GTK_IS_ACCEL_LABEL(child)) {
            Shown line{gtk_label_get_text(GTK_LABEL(child)), 0, GdkModifierType(0)};
            gtk_accel_label_get_accel(GTK_ACCEL_LABEL(child), &line.key, &line.modifiers);
            shown.push_back(line);
        }
    }
    g_list_free(items);
    std::vector<std::string> labels;
    for (const Shown& line : shown) {
        labels.push_back(line.label);
    }
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "Undo", "Redo", "Hint", "Copy Puzzle Code", "Play Puzzle Code...",
                          "Today's Puzzle", "Past Puzzle...", "Copy Today's Result",
                          "Statistics...", "Export Records...", "Import Records...", "Exit"}))
        << "Share is the page's alone";
    ASSERT_EQ(shown.size(), 12u);
    EXPECT_EQ(shown[0].key, static_cast<guint>(GDK_KEY_z));
    EXPECT_EQ(shown[0].modifiers, GDK_CONTROL_MASK);
    EXPECT_EQ(shown[1].key, static_cast<guint>(GDK_KEY_z));
    EXPECT_EQ(shown[1].modifiers, GDK_CONTROL_MASK | GDK_SHIFT_MASK);
    EXPECT_EQ(shown[2].key, static_cast<guint>(GDK_KEY_h));
    EXPECT_EQ(shown[2].modifiers, 0);

    // Only Exit's key is bound; the session takes the others itself, once.
    gtk_window_add_accel_group(parent(), accelerators);
    gtk_container_add(GTK_CONTAINER(parent_), bar.widget());
    gtk_widget_show_all(parent_);
    EXPECT_FALSE(gtk_accel_groups_activate(G_OBJECT(parent_), GDK_KEY_z, GDK_CONTROL_MASK));
    EXPECT_TRUE(gtk_accel_groups_activate(G_OBJECT(parent_), GDK_KEY_w, GDK_CONTROL_MASK));
    EXPECT_EQ(chosen, (std::vector<uint16_t>{command::Exit}));

    bar.setEnabled(command::Undo, false);
    EXPECT_FALSE(bar.isEnabled(command::Undo));
    EXPECT_TRUE(bar.isEnabled(command::Redo));
    EXPECT_FALSE(bar.isEnabled(command::Share)) << "a line the menu does not have";
    g_object_unref(accelerators);
}

TEST_F(GtkDialogs, TheDrawingAreaTellsAScreenReaderEachAnnouncementAsAChangeOfItsText) {
    GtkWidget* area = newBoardArea();
    gtk_container_add(GTK_CONTAINER(parent_), area);
    AtkObject* accessible = gtk_widget_get_accessible(area);
    ASSERT_TRUE(ATK_IS_TEXT(accessible));
    EXPECT_EQ(atk_object_get_role(accessible), ATK_ROLE_CANVAS);
    setBoardName(area, "Game field");
    setBoardDescription(area, "Add 3 matches to form 2 squares. Move 0 of 3, time 00:00:00.");
    EXPECT_STREQ(atk_object_get_name(accessible), "Game field");
    EXPECT_STREQ(atk_object_get_description(accessible),
                 "Add 3 matches to form 2 squares. Move 0 of 3, time 00:00:00.");

    std::vector<std::string> events;
    const auto record = +[](AtkText*, gint position, gint length, gchar* text, gpointer sink) {
        static_cast<std::vector<std::string>*>(sink)->push_back(
            std::to_string(position) + "+" + std::to_string(length) + " " + text);
    };
    g_signal_connect(accessible, "text-insert", G_CALLBACK(record), &events);
    g_signal_connect(accessible, "text-remove", G_CALLBACK(record), &events);

    announceOnBoard(area, "Move 1 of 3");
    // Characters, not bytes: a reader counts the text in characters.
    announceOnBoard(area, "\u00c9t\u00e9");
    EXPECT_EQ(events, (std::vector<std::string>{"0+11 Move 1 of 3", "0+11 Move 1 of 3",
                                                "0+3 \u00c9t\u00e9"}));
    EXPECT_EQ(atk_text_get_character_count(ATK_TEXT(accessible)), 3);
    gchar* all = atk_text_get_text(ATK_TEXT(accessible), 0, -1);
    EXPECT_STREQ(all, "\u00c9t\u00e9");
    g_free(all);
    gchar* part = atk_text_get_text(ATK_TEXT(accessible), 1, 3);
    EXPECT_STREQ(part, "t\u00e9");
    g_free(part);
    EXPECT_EQ(atk_text_get_character_at_offset(ATK_TEXT(accessible), 0), gunichar{0xC9});
    EXPECT_EQ(atk_text_get_character_at_offset(ATK_TEXT(accessible), 3), gunichar{0});
}

TEST(PictureFit, ThePictureKeepsItsProportionsInTheMiddleOfTheArea) {
    // Twice as large, exactly: whole pixels, no margin.
    const PictureFit twice = fitPicture(1380, 1000, 690, 500);
    EXPECT_EQ(twice.scale, 2.0);
    EXPECT_TRUE(twice.isWhole());
    EXPECT_EQ(twice.toArea({195, 5, 685, 495}), (Rect{390, 10, 1370, 990}));
    EXPECT_EQ(twice.toPicture(391.9, 11.9), (Point{195, 5}));
    // A wide area: the height decides, the picture stands in the middle.
    const PictureFit wide = fitPicture(1000, 250, 690, 500);
    EXPECT_EQ(wide.scale, 0.5);
    EXPECT_FALSE(wide.isWhole());
    EXPECT_EQ(wide.left, 327.0);
    EXPECT_EQ(wide.top, 0.0);
    EXPECT_EQ(wide.toArea({0, 0, 690, 500}), (Rect{327, 0, 672, 250}));
    EXPECT_EQ(wide.toPicture(327, 0), (Point{0, 0}));
    EXPECT_LT(wide.toPicture(326, 0).x, 0) << "the margin is outside the picture";
    // Smaller, by a fraction: the parts shown anew are rounded outward.
    const PictureFit small = fitPicture(360, 400, 690, 500);
    EXPECT_EQ(small.top, 69.0);
    EXPECT_EQ(small.toArea({1, 1, 2, 2}), (Rect{0, 69, 2, 71}));
    EXPECT_FALSE(small.nearWhole);
    EXPECT_EQ(fitPicture(0, 100, 690, 500).scale, 1.0) << "nothing to fit into";
}

TEST(PictureFit, AnAreaAFewPixelsOffAWholeMultipleShowsThePictureAtIt) {
    // [area, multiple; the picture's corner in the area]
    const std::vector<std::tuple<int32_t, int32_t, int32_t, double, double>> near = {
        {690, 500, 1, 0, 0},    {689, 499, 1, -1, -1}, {692, 501, 1, 1, 0},
        {686, 504, 1, -2, 2},   {1380, 1000, 2, 0, 0}, {1377, 1004, 2, -2, 2},
        {2074, 1496, 3, 2, -2}, {2760, 2003, 4, 0, 1},
    };
    for (const auto& [width, height, multiple, left, top] : near) {
        EXPECT_EQ(wholeMultipleNear(width, height, 690, 500), multiple) << width << " x " << height;
        const PictureFit fit = fitPicture(width, height, 690, 500);
        EXPECT_TRUE(fit.nearWhole) << width << " x " << height;
        EXPECT_EQ(fit.scale, multiple) << width << " x " << height;
        EXPECT_EQ(fit.left, left) << width << " x " << height;
        EXPECT_EQ(fit.top, top) << width << " x " << height;
        EXPECT_TRUE(fit.isWhole());
        EXPECT_EQ(fit.toPicture(left + 0.5, top + 0.5), (Point{0, 0}));
    }
    // One side too far off, or no multiple at all.
    for (const auto& [width, height] : std::vector<std::pair<int32_t, int32_t>>{
             {695, 500}, {690, 495}, {700, 507}, {1380, 1005}, {345, 250}, {2, 2}, {0, 0}}) {
        EXPECT_EQ(wholeMultipleNear(width, height, 690, 500), 0) << width << " x " << height;
        EXPECT_FALSE(fitPicture(width, height, 690, 500).nearWhole) << width << " x " << height;
    }
    EXPECT_EQ(wholeMultipleNear(690, 500, 0, 500), 0) << "no picture";
}

TEST(PictureFit, TheSetOfPicturesIsTheScreenPixelsAGamePixelCoversRoundedUp) {
    const PictureFit designed = fitPicture(690, 500, 690, 500);
    const PictureFit twice = fitPicture(1380, 1000, 690, 500);
    const PictureFit small = fitPicture(414, 300, 690, 500);
    // [fit, HiDPI scale, set]
    const std::vector<std::tuple<PictureFit, int32_t, int32_t>> cases = {
        {designed, 1, 1},
        {designed, 2, 2},
        {designed, 3, 3},
        {twice, 1, 2},
        {twice, 2, 3},  // at most the largest set
        {small, 1, 1},
        {small, 2, 2},
        {fitPicture(700, 507, 690, 500), 1, 2},
        {fitPicture(691, 501, 690, 500), 1, 1},  // a rounding over the design's size
        {fitPicture(689, 499, 690, 500), 1, 1},  // and under it
        {fitPicture(1378, 998, 690, 500), 1, 2},
    };
    for (const auto& [fit, deviceScale, set] : cases) {
        EXPECT_EQ(fit.pictureScale(deviceScale, 3), set)
            << fit.scale << " at a HiDPI scale of " << deviceScale;
    }
    // Sharp where one pixel of the set covers whole pixels of the screen.
    EXPECT_TRUE(designed.isWhole(2, 2));
    EXPECT_TRUE(twice.isWhole(1, 2));
    EXPECT_TRUE(twice.isWhole(2, 2));
    EXPECT_FALSE(twice.isWhole(1, 3)) << "two thirds of a pixel";
    EXPECT_FALSE(small.isWhole(2, 2));
    EXPECT_TRUE(fitPicture(345, 250, 690, 500).isWhole(2, 1)) << "half a pixel at a scale of 2";
}

// Each place of the focus as a screen reader finds it under the area.
class BoardPlaces : public GtkDialogs {
  protected:
    void SetUp() override {
        GtkDialogs::SetUp();
        area_ = newBoardArea();
        setBoardPicture(area_, 690, 500);
        gtk_container_add(GTK_CONTAINER(parent_), area_);
        gtk_widget_set_can_focus(area_, TRUE);
        gtk_widget_show_all(parent_);
        gtk_window_resize(parent(), 1380, 1000);
        runUntil([this] { return gtk_widget_get_allocated_width(area_) == 1380; }, 5000);
        gtk_widget_grab_focus(area_);
        board_ = gtk_widget_get_accessible(area_);
        g_signal_connect(board_, "active-descendant-changed",
                         G_CALLBACK(+[](AtkObject*, gpointer child, gpointer sink) {
                             static_cast<BoardPlaces*>(sink)->active_.push_back(
                                 atk_object_get_name(ATK_OBJECT(child)));
                         }),
                         this);
    }

    static FocusPlaces places(size_t focused, bool holdsMatch) {
        FocusPlaces all;
        all.places.push_back({false, "Restart", {24, 413, 86, 465}, false});
        all.places.push_back({false, "Give Up", {86, 413, 148, 465}, false});
        all.places.push_back({true,
                              std::string("horizontal match, row 1, column 1, ") +
                                  (holdsMatch ? "present" : "empty"),
                              {205, 5, 285, 20},
                              holdsMatch});
        all.focused = focused;
        return all;
    }

    AtkObject* child(int index) {
        AtkObject* found = atk_object_ref_accessible_child(board_, index);
        g_object_unref(found);  // the area keeps its own reference
        return found;
    }

    bool has(AtkObject* object, AtkStateType state) {
        AtkStateSet* states = atk_object_ref_state_set(object);
        const bool found = atk_state_set_contains_state(states, state);
        g_object_unref(states);
        return found;
    }

    GtkWidget* area_ = nullptr;
    AtkObject* board_ = nullptr;
    std::vector<std::string> active_;
};

TEST_F(BoardPlaces, EachPlaceIsAChildWithItsRoleNameStatesAndPlaceOnTheScaledPicture) {
    ASSERT_EQ(gtk_widget_get_allocated_width(area_), 1380) << "the window was not resized";
    EXPECT_EQ(atk_object_get_n_accessible_children(board_), 0);
    EXPECT_TRUE(has(board_, ATK_STATE_MANAGES_DESCENDANTS));
    setBoardPlaces(area_, places(2, true));
    ASSERT_EQ(atk_object_get_n_accessible_children(board_), 3);
    AtkObject* stick = child(2);
    EXPECT_EQ(atk_object_get_role(child(0)), ATK_ROLE_PUSH_BUTTON);
    EXPECT_EQ(atk_object_get_role(stick), ATK_ROLE_TOGGLE_BUTTON);
    EXPECT_STREQ(atk_object_get_name(child(1)), "Give Up");
    EXPECT_STREQ(atk_object_get_name(stick), "horizontal match, row 1, column 1, present");
    EXPECT_EQ(atk_object_get_parent(stick), board_);
    EXPECT_EQ(atk_object_get_index_in_parent(stick), 2);
    EXPECT_TRUE(has(stick, ATK_STATE_CHECKED));
    EXPECT_TRUE(has(stick, ATK_STATE_FOCUSED));
    EXPECT_FALSE(has(child(0), ATK_STATE_FOCUSED));
    EXPECT_FALSE(has(child(0), ATK_STATE_CHECKED));
    EXPECT_EQ(active_, std::vector<std::string>{"horizontal match, row 1, column 1, present"});

    gint ax, ay, x, y, w, h;
    atk_component_get_extents(ATK_COMPONENT(board_), &ax, &ay, nullptr, nullptr, ATK_XY_WINDOW);
    atk_component_get_extents(ATK_COMPONENT(stick), &x, &y, &w, &h, ATK_XY_WINDOW);
    EXPECT_EQ(std::vector<gint>({x - ax, y - ay, w, h}), std::vector<gint>({410, 10, 160, 30}))
        << "the stick's place on the picture at twice its size";

    // The match goes: its name and state change; the focus stays, and is not told again.
    std::vector<std::string> changes;
    g_signal_connect(stick, "state-change",
                     G_CALLBACK(+[](AtkObject*, gchar* name, gboolean on, gpointer sink) {
                         static_cast<std::vector<std::string>*>(sink)->push_back(std::string(name) +
                                                                                 (on ? "+" : "-"));
                     }),
                     &changes);
    setBoardPlaces(area_, places(2, false));
    EXPECT_STREQ(atk_object_get_name(stick), "horizontal match, row 1, column 1, empty");
    EXPECT_FALSE(has(stick, ATK_STATE_CHECKED));
    EXPECT_EQ(changes, std::vector<std::string>{"checked-"});
    EXPECT_EQ(active_.size(), 1u);

    // The focus moves to a button: the stick loses it, the button gets it.
    setBoardPlaces(area_, places(0, false));
    EXPECT_EQ(changes, (std::vector<std::string>{"checked-", "focused-"}));
    EXPECT_EQ(active_.back(), "Restart");
    EXPECT_TRUE(has(child(0), ATK_STATE_FOCUSED));

    // Fewer places: the one gone is defunct.
    FocusPlaces two = places(1, false);
    two.places.pop_back();
    g_object_ref(stick);
    setBoardPlaces(area_, two);
    EXPECT_EQ(atk_object_get_n_accessible_children(board_), 2);
    EXPECT_TRUE(has(stick, ATK_STATE_DEFUNCT));
    g_object_unref(stick);
}

TEST_F(BoardPlaces, AReaderMovingTheFocusToAPlaceOrPressingItTellsTheProgramWhich) {
    std::vector<std::pair<size_t, bool>> asked;
    setBoardFocusHandler(area_,
                         [&asked](size_t place, bool press) { asked.emplace_back(place, press); });
    setBoardPlaces(area_, places(0, true));
    EXPECT_TRUE(atk_component_grab_focus(ATK_COMPONENT(child(2))));
    ASSERT_EQ(atk_action_get_n_actions(ATK_ACTION(child(1))), 1);
    EXPECT_STREQ(atk_action_get_name(ATK_ACTION(child(1)), 0), "click");
    EXPECT_TRUE(atk_action_do_action(ATK_ACTION(child(1)), 0));
    EXPECT_FALSE(atk_action_do_action(ATK_ACTION(child(1)), 1)) << "there is one action";
    EXPECT_EQ(asked, (std::vector<std::pair<size_t, bool>>{{2, false}, {1, true}}));
}

}  // namespace
}  // namespace kz
