// The extra play of the Linux program and the page: undo and redo, hints, the keyboard focus
// and the texts for screen readers, on the whole game drawn headless.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/narrator.h"
#include "display/messages.h"
#include "puzzle/random_source.h"
#include "tests/support/extra_play_inspection.h"
#include "tests/support/headless_game.h"
#include "tests/support/target_pixel.h"

namespace kz {
namespace {

using Focus = KeyboardFocus::Target;

Focus stickFocus(StickOrientation o, int32_t index) {
    return Focus{true, {o, index}, nullptr};
}
Focus buttonFocus(Button* b) {
    return Focus{false, {}, b};
}

bool inside(const Rect& r, const Rect& area) {
    return r.intersected(area) == r;
}

// The extra play as these checks look at it: the state the session pushed to the program,
// and its parts.
class ExtraView {
  public:
    explicit ExtraView(HeadlessGame& headless) : game(headless) {}

    bool canUndo() const { return game.shell().commandStates().undo; }
    bool canRedo() const { return game.shell().commandStates().redo; }
    bool command(uint16_t id) { return game.command(id); }
    bool key(uint32_t message, uint32_t wparam, uint32_t modifiers) {
        const bool taken = game.session().key(message, wparam, modifiers);
        game.frame();
        return taken;
    }
    // True when the tick was the hint's.
    bool timer(uint32_t id) { return blinker().tick(id); }

    HintBlinker& blinker() { return ExtraPlayInspection::blinker(game.session()); }
    KeyboardFocus& keyboard() { return ExtraPlayInspection::focus(game.session()); }
    bool isHintShowing() { return blinker().isShowing(); }
    std::optional<StickSlot> getHintedStick() { return blinker().getHintedStick(); }
    Element* getHintMarker(StickOrientation o) { return blinker().getMarker(o); }
    const Focus& getFocus() { return keyboard().getFocus(); }
    void setFocus(const Focus& target) { keyboard().setFocus(target); }
    bool isFocusShown() { return keyboard().isShown(); }
    FocusFrame& getFocusFrame() { return keyboard().getFrame(); }
    // The description the program was handed last.
    std::string description() const { return game.shell().description(); }
    // Hints said since the game started.
    int32_t getHintsUsed() const {
        int32_t hints = 0;
        const std::vector<std::string>& heard = game.shell().heard;
        for (size_t i = gameStart; i < heard.size(); ++i) {
            hints += heard[i].rfind("Hint: ", 0) == 0 ? 1 : 0;
        }
        return hints;
    }
    void gameStarts() { gameStart = game.shell().heard.size(); }

  private:
    HeadlessGame& game;
    size_t gameStart = 0;
};

class ExtraPlayTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(game.paintAll()); }

    GameScreen& screen() { return game.screen(); }
    Board& board() { return game.board(); }

    // A key as a program delivers it: the extras first, the screen when they leave it.
    bool press(uint32_t key, uint32_t modifiers = 0) {
        const bool taken = extra.key(msg::KeyDown, key, modifiers);
        EXPECT_FALSE(game.session().failed());
        return taken;
    }
    void undoKey() { press(virtualkey::Z, keyflag::Control); }
    void redoKey() { press(virtualkey::Y, keyflag::Control); }
    void mouse(uint32_t message, uint32_t wparam, int32_t x, int32_t y) {
        ASSERT_TRUE(game.mouse(message, wparam, x, y));
    }
    void clickAt(int32_t x, int32_t y) {
        mouse(msg::MouseMove, 0, x, y);
        mouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y);
        mouse(msg::LeftButtonUp, 0, x, y);
    }
    void clickStick(StickSlot s) {
        auto [x, y] = game.stickCentre(s.orientation, s.index);
        clickAt(x, y);
    }
    void clickButton(Element* b) {
        auto [x, y] = HeadlessGame::centreOf(*b);
        clickAt(x, y);
    }
    void tick(uint32_t id) {
        ASSERT_EQ(game.host().timers.count(id), 1u) << "only a running timer ticks";
        ASSERT_TRUE(game.session().timer(id) && game.frame());
    }
    void startGame(FieldSize size, ActionType type, uint32_t seed) {
        screen().setFieldSize(size);
        screen().setActionType(type);
        game.board().randomSource().seed(seed);
        extra.gameStarts();
        clickButton(screen().getNextButton());
        ASSERT_TRUE(board().isActive());
    }
    // A game whose solution takes at least two moves.
    void startLongerGame(FieldSize size, ActionType type) {
        for (uint32_t seed = 1;; ++seed) {
            startGame(size, type, seed);
            if (board().getRequiredMoves() >= 2) {
                return;
            }
            clickButton(screen().getGiveUpButton());
        }
    }
    // The generated solution's moves, each one or (moving) two sticks.
    std::vector<std::vector<StickSlot>> solutionMoves() {
        const auto changes = solutionChanges(*game.screen().getBoard());
        std::vector<std::vector<StickSlot>> moves;
        if (board().getMode() == Move) {
            for (size_t i = 0; i < changes.taken.size(); ++i) {
                moves.push_back({{changes.taken[i].first, changes.taken[i].second},
                                 {changes.filled[i].first, changes.filled[i].second}});
            }
            return moves;
        }
        for (const auto& t : changes.taken) {
            moves.push_back({{t.first, t.second}});
        }
        for (const auto& f : changes.filled) {
            moves.push_back({{f.first, f.second}});
        }
        return moves;
    }
    void play(const std::vector<StickSlot>& move) {
        for (StickSlot s : move) {
            clickStick(s);
        }
    }
    Rect onScreen(Element& e, int32_t offsetX, int32_t offsetY) {
        return Rect{0, 0, e.getWidth(), e.getHeight()}.translated(offsetX + e.getX(),
                                                                  offsetY + e.getY());
    }
    Rect stickRect(StickSlot s) {
        return onScreen(*board().getSprite(s), board().getX(), board().getY());
    }
    std::vector<int32_t> frames() {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < board().getChildCount(); ++i) {
            out.push_back(board().getChild(i)->getFrame());
        }
        return out;
    }
    void startCounting() {
        ASSERT_TRUE(game.redraw());
        game.display().takeWrittenRects();
        game.display().resetPixelsWritten();
    }

    // The program run again after one that ended: what that kept of the game and the
    // records. Runs end in the reverse order they were made (each makes its display the
    // active one), and only the last one made is played.
    std::unique_ptr<HeadlessGame> nextRun(const RecordingShell& last) {
        auto run =
            std::make_unique<HeadlessGame>(KZ_SOURCE_ROOT, GameSettings{}, 1,
                                           HeadlessGame::withExtras(), [&](RecordingShell& next) {
                                               next.keepsGames = true;
                                               next.keptGame = last.keptGame;
                                               *next.store = *last.store;
                                           });
        EXPECT_TRUE(run->paintAll());
        return run;
    }
    static void clickIn(HeadlessGame& run, StickSlot s) {
        auto [x, y] = run.stickCentre(s.orientation, s.index);
        ASSERT_TRUE(run.click(x, y));
    }
    static void clickButtonIn(HeadlessGame& run, Element* b) {
        auto [x, y] = HeadlessGame::centreOf(*b);
        ASSERT_TRUE(run.click(x, y));
    }
    TableRecord tableIn(HeadlessGame& run, FieldSize size, ActionType type) {
        return run.shell().savedRecords().table(RecordKey{size, type});
    }

    HeadlessGame game{KZ_SOURCE_ROOT, GameSettings{}, 1, HeadlessGame::withExtras()};
    ExtraView extra{game};
    RecordingShell& announcer = game.shell();
};

// ---- Undo and redo ----

TEST_F(ExtraPlayTest, UndoWalksBackToTheStartAndRedoForwardToTheEnd) {
    for (ActionType type : {AddFromSome, RemoveFromFull, MoveFromSome}) {
        startLongerGame(4, type);
        const auto moves = solutionMoves();
        std::vector<StickLayers> layouts = {board().getStartSticks()};
        for (size_t i = 0; i + 1 < moves.size(); ++i) {  // all but the winning move
            play(moves[i]);
            layouts.push_back(board().getCurrentSticks());
        }
        ASSERT_TRUE(extra.canUndo());
        EXPECT_FALSE(extra.canRedo());
        for (size_t i = layouts.size() - 1; i > 0; --i) {
            undoKey();
            ASSERT_EQ(board().getCurrentSticks(), layouts[i - 1]) << type;
            EXPECT_EQ(screen().getMovesCounter()->getValue(), board().getMovesMade());
        }
        EXPECT_EQ(board().getMovesMade(), 0);
        EXPECT_EQ(screen().getMovesCounter()->getValue(), 0);
        EXPECT_FALSE(extra.canUndo());
        EXPECT_TRUE(extra.canRedo());
        for (size_t i = 1; i < layouts.size(); ++i) {
            // Both redo keys.
            press(virtualkey::Z, i % 2 == 0 ? keyflag::Control | keyflag::Shift : 0);
            if (i % 2 != 0) {
                redoKey();
            }
            ASSERT_EQ(board().getCurrentSticks(), layouts[i]) << type;
        }
        EXPECT_EQ(board().getMovesMade(), static_cast<int32_t>(moves.size()) - 1);
        EXPECT_FALSE(extra.canRedo());
        // Every sprite still shows its layers.
        StickLayers shown = board().getCurrentSticks();
        for (int32_t i = 0; i < static_cast<int32_t>(shown.horizontal.size()); ++i) {
            if (board().isActiveHorizontal(i)) {
                const int32_t f = board().getHorizontalSprite(i)->getFrame() & ~1;
                EXPECT_EQ(f == Present || f == Added,
                          shown.horizontal[static_cast<size_t>(i)] != 0);
            }
        }
        clickButton(screen().getGiveUpButton());
    }
}

TEST_F(ExtraPlayTest, ANewMoveDropsWhatCouldBeRedone) {
    startLongerGame(5, RemoveFromFull);
    const auto moves = solutionMoves();
    play(moves[0]);
    play(moves[1]);
    ASSERT_TRUE(extra.command(command::Undo));
    ASSERT_TRUE(extra.canRedo());
    play(moves[1]);  // the same move again is a new move
    EXPECT_FALSE(extra.canRedo());
    EXPECT_TRUE(extra.canUndo());
    ASSERT_TRUE(extra.command(command::Undo));
    ASSERT_TRUE(extra.command(command::Undo));
    EXPECT_EQ(board().getCurrentSticks(), board().getStartSticks());
    EXPECT_FALSE(extra.canUndo());
}

TEST_F(ExtraPlayTest, RestartNextYouWinAndGiveUpLeaveNothingToUndo) {
    startLongerGame(3, AddFromSome);
    play(solutionMoves()[0]);
    ASSERT_TRUE(extra.canUndo());
    clickButton(screen().getRestartButton());
    EXPECT_FALSE(extra.canUndo());
    EXPECT_FALSE(extra.canRedo());

    play(solutionMoves()[0]);
    play(solutionMoves()[1]);
    undoKey();
    ASSERT_TRUE(extra.canRedo());
    clickButton(screen().getGiveUpButton());
    EXPECT_FALSE(extra.canUndo());
    EXPECT_FALSE(extra.canRedo());

    startLongerGame(3, RemoveFromSome);
    EXPECT_FALSE(extra.canUndo());
    for (const auto& move : solutionMoves()) {
        play(move);
    }
    ASSERT_TRUE(screen().getWinBanner()->isVisible());
    EXPECT_FALSE(extra.canUndo());
    EXPECT_FALSE(extra.canRedo());
    const StickLayers won = board().getCurrentSticks();
    undoKey();
    EXPECT_EQ(board().getCurrentSticks(), won);
    EXPECT_TRUE(screen().getWinBanner()->isVisible());
}

TEST_F(ExtraPlayTest, MovingIsOneUndoForPickUpAndDropAndPuttingBackIsNone) {
    startLongerGame(4, MoveFromSome);
    const auto moves = solutionMoves();
    clickStick(moves[0][0]);
    ASSERT_TRUE(board().isStickInHand());
    EXPECT_TRUE(extra.canUndo()) << "the stick in hand can go back";
    clickStick(moves[0][1]);
    const StickLayers afterOne = board().getCurrentSticks();
    // Taken up and put back where it was: no move.
    clickStick(moves[1][0]);
    clickStick(moves[1][0]);
    ASSERT_FALSE(board().isStickInHand());
    EXPECT_FALSE(extra.canRedo());
    // Esc and Ctrl+Z both put the stick in hand back.
    clickStick(moves[1][0]);
    EXPECT_TRUE(press(virtualkey::Escape));
    EXPECT_EQ(board().getCurrentSticks(), afterOne);
    EXPECT_FALSE(board().isStickInHand());
    clickStick(moves[1][0]);
    undoKey();
    EXPECT_EQ(board().getCurrentSticks(), afterOne);
    EXPECT_EQ(board().getMovesMade(), 1);
    undoKey();
    EXPECT_EQ(board().getCurrentSticks(), board().getStartSticks());
    EXPECT_FALSE(extra.canUndo());
    redoKey();
    EXPECT_EQ(board().getCurrentSticks(), afterOne);
}

TEST_F(ExtraPlayTest, ALayoutSetOnTheBoardThatSolvesThePuzzleWinsAsAClickWould) {
    startGame(4, MoveFromSome, 9);
    const int32_t beeps = game.host().beeps;
    board().setLayout(board().getSolutionSticks());
    ASSERT_TRUE(game.redraw());
    EXPECT_TRUE(screen().getWinBanner()->isVisible());
    EXPECT_EQ(game.host().beeps, beeps + 1);
    EXPECT_EQ(screen().getMovesCounter()->getValue(), board().getRequiredMoves());
    EXPECT_TRUE(announcer.wasHeard("You win!"));
    EXPECT_FALSE(extra.canUndo());
}

// ---- Hints ----

TEST_F(ExtraPlayTest, HintsFollowedFromTheStartSolveEveryPuzzleInExactlyItsRequiredMoves) {
    int32_t games = 0;
    for (FieldSize size : {2, 3, 4, 5, 0}) {
        for (ActionType type :
             {AddFromNone, AddFromSome, MoveFromSome, RemoveFromFull, RemoveFromSome}) {
            for (uint32_t seed : {1u, 2u, 3u}) {
                startGame(size, type, seed * 31 + static_cast<uint32_t>(size));
                const int32_t perMove = board().getMode() == Move ? 2 : 1;
                int32_t hints = 0;
                while (board().isActive()) {
                    ASSERT_LT(hints, perMove * board().getRequiredMoves());
                    ASSERT_TRUE(press(virtualkey::H));
                    ASSERT_TRUE(extra.getHintedStick().has_value());
                    clickStick(*extra.getHintedStick());
                    ++hints;
                }
                ASSERT_TRUE(screen().getWinBanner()->isVisible());
                EXPECT_EQ(hints, perMove * board().getRequiredMoves());
                EXPECT_EQ(board().getMovesMade(), board().getRequiredMoves());
                EXPECT_EQ(extra.getHintsUsed(), hints);
                ++games;
            }
        }
    }
    EXPECT_EQ(games, 75);
}

TEST_F(ExtraPlayTest, AHintBlinksForAboutTwoSecondsWithoutTouchingTheBoard) {
    startGame(4, AddFromSome, 4);
    const std::vector<int32_t> before = frames();
    ASSERT_TRUE(extra.command(command::Hint));
    ASSERT_TRUE(extra.isHintShowing());
    const StickSlot stick = *extra.getHintedStick();
    Element* marker = extra.getHintMarker(stick.orientation);
    EXPECT_EQ(game.host().timers.count(HintBlinker::kHintTimerId), 1u);
    EXPECT_EQ(game.host().timers[HintBlinker::kHintTimerId], HintBlinker::kHintBlinkMs);
    EXPECT_EQ(game.host().timers.count(GameScreen::kGameTimerId), 1u) << "the clock runs on";
    // Over the stick, showing the state the change would give it.
    EXPECT_EQ(onScreen(*marker, 0, 0), stickRect(stick));
    EXPECT_EQ(marker->getFrame(), Added);
    ASSERT_TRUE(game.redraw());
    std::vector<bool> shown;
    for (int32_t i = 1; i < HintBlinker::kHintBlinks; ++i) {
        tick(HintBlinker::kHintTimerId);
        shown.push_back(marker->isVisible());
        EXPECT_EQ(frames(), before) << "the sprites keep their states";
    }
    EXPECT_EQ(shown, (std::vector<bool>{false, true, false, true, false, true, false}));
    tick(HintBlinker::kHintTimerId);
    EXPECT_FALSE(extra.isHintShowing());
    EXPECT_FALSE(marker->isVisible());
    EXPECT_EQ(game.host().timers.count(HintBlinker::kHintTimerId), 0u) << "nothing left running";
    startCounting();
    ASSERT_TRUE(game.redraw());
    EXPECT_EQ(game.display().pixelsWritten(), 0u);
    EXPECT_FALSE(extra.timer(GameScreen::kGameTimerId)) << "the clock's ticks are not the hint's";
}

TEST_F(ExtraPlayTest, AHintEndsAtTheNextKeyOrPressButNotWhenThePointerMoves) {
    startGame(3, RemoveFromFull, 2);
    press(virtualkey::H);
    ASSERT_TRUE(extra.isHintShowing());
    mouse(msg::MouseMove, 0, 3, 3);
    mouse(msg::MouseMove, 0, 5, 9);
    EXPECT_TRUE(extra.isHintShowing());
    mouse(msg::LeftButtonDown, mouseflag::LeftButton, 5, 9);
    EXPECT_FALSE(extra.isHintShowing());
    EXPECT_EQ(game.host().timers.count(HintBlinker::kHintTimerId), 0u);
    press(virtualkey::H);
    ASSERT_TRUE(extra.isHintShowing());
    EXPECT_FALSE(press(0x70));  // F1 is not the extras', yet it is input
    EXPECT_FALSE(extra.isHintShowing());
    EXPECT_EQ(game.host().timers.count(HintBlinker::kHintTimerId), 0u);
    EXPECT_EQ(extra.getHintsUsed(), 2);
    // A tick already on its way when the hint ended is taken and stops the timer.
    EXPECT_TRUE(extra.timer(HintBlinker::kHintTimerId));
}

// ---- The keyboard ----

// Every target the arrow keys reach from the focus shown.
std::set<std::pair<int32_t, intptr_t>> reachable(ExtraView& extra,
                                                 const std::function<bool(uint32_t)>& press) {
    const auto id = [](const Focus& f) {
        return f.onStick ? std::pair<int32_t, intptr_t>{f.stick.orientation, f.stick.index}
                         : std::pair<int32_t, intptr_t>{0, reinterpret_cast<intptr_t>(f.button)};
    };
    std::set<std::pair<int32_t, intptr_t>> seen = {id(extra.getFocus())};
    std::deque<Focus> todo = {extra.getFocus()};
    while (!todo.empty()) {
        const Focus from = todo.front();
        todo.pop_front();
        for (uint32_t key :
             {virtualkey::Left, virtualkey::Right, virtualkey::Up, virtualkey::Down}) {
            extra.setFocus(from);
            press(key);
            if (seen.insert(id(extra.getFocus())).second) {
                todo.push_back(extra.getFocus());
            }
        }
    }
    return seen;
}

TEST_F(ExtraPlayTest, TheArrowsReachEveryActiveStickAndTheVisibleButtons) {
    const auto pressKey = [this](uint32_t key) { return press(key); };
    const auto buttonId = [](Button* b) {
        return std::pair<int32_t, intptr_t>{0, reinterpret_cast<intptr_t>(b)};
    };
    // Between games: Next first, and Quit.
    EXPECT_TRUE(press(virtualkey::Down));
    EXPECT_TRUE(extra.isFocusShown());
    EXPECT_EQ(extra.getFocus(), buttonFocus(screen().getNextButton()));
    EXPECT_EQ(reachable(extra, pressKey),
              (std::set<std::pair<int32_t, intptr_t>>{buttonId(screen().getQuitButton()),
                                                      buttonId(screen().getNextButton())}));
    for (uint32_t seed : {1u, 6u, 8u}) {
        startGame(seed == 1 ? 5 : 0, AddFromNone, seed);
        std::set<std::pair<int32_t, intptr_t>> expected = {buttonId(screen().getRestartButton()),
                                                           buttonId(screen().getGiveUpButton())};
        for (int32_t i = 0; i < 30; ++i) {
            if (board().isActiveHorizontal(i)) {
                expected.insert({Horizontal, i});
            }
            if (board().isActiveVertical(i)) {
                expected.insert({Vertical, i});
            }
        }
        extra.setFocus(stickFocus(Horizontal, 0));
        EXPECT_EQ(reachable(extra, pressKey), expected)
            << board().getActiveColumns() << " x " << board().getActiveRows();
        clickButton(screen().getGiveUpButton());
    }
}

TEST_F(ExtraPlayTest, AGamePlayedWithKeysAloneReachesYouWin) {
    screen().setFieldSize(4);
    screen().setActionType(MoveFromSome);
    game.board().randomSource().seed(12);
    // Return at once: the focus starts on Next.
    EXPECT_TRUE(press(virtualkey::Return));
    ASSERT_TRUE(board().isActive());
    EXPECT_TRUE(extra.getFocus().onStick) << "the field takes the focus when Next goes";
    const auto pressKey = [this](uint32_t key) { return press(key); };
    // The arrows' map of the field, then a shortest way to each stick of the solution.
    std::map<std::pair<int32_t, int32_t>, std::map<uint32_t, Focus>> ways;
    const Focus entry = extra.getFocus();
    const auto key = [](const Focus& f) {
        return std::pair<int32_t, int32_t>{f.onStick ? f.stick.orientation : 0,
                                           f.onStick ? f.stick.index : -1};
    };
    reachable(extra, pressKey);  // all targets exist; now record each step
    std::deque<Focus> todo = {entry};
    std::set<std::pair<int32_t, int32_t>> seen = {key(entry)};
    while (!todo.empty()) {
        const Focus from = todo.front();
        todo.pop_front();
        if (!from.onStick) {
            continue;  // the way runs over the field
        }
        for (uint32_t k : {virtualkey::Left, virtualkey::Right, virtualkey::Up, virtualkey::Down}) {
            extra.setFocus(from);
            press(k);
            ways[key(from)][k] = extra.getFocus();
            if (seen.insert(key(extra.getFocus())).second) {
                todo.push_back(extra.getFocus());
            }
        }
    }
    extra.setFocus(entry);
    const auto goTo = [&](StickSlot target) {
        std::map<std::pair<int32_t, int32_t>, std::pair<std::pair<int32_t, int32_t>, uint32_t>>
            back;
        std::deque<std::pair<int32_t, int32_t>> queue = {key(extra.getFocus())};
        std::set<std::pair<int32_t, int32_t>> visited = {queue.front()};
        const std::pair<int32_t, int32_t> goal{target.orientation, target.index};
        while (!queue.empty() && !visited.count(goal)) {
            const auto at = queue.front();
            queue.pop_front();
            for (const auto& [k, to] : ways[at]) {
                if (visited.insert(key(to)).second) {
                    back[key(to)] = {at, k};
                    queue.push_back(key(to));
                }
            }
        }
        ASSERT_TRUE(visited.count(goal));
        std::vector<uint32_t> path;
        for (auto at = goal; at != key(extra.getFocus()); at = back[at].first) {
            path.insert(path.begin(), back[at].second);
        }
        for (uint32_t k : path) {
            press(k);
        }
        ASSERT_EQ(extra.getFocus(), stickFocus(target.orientation, target.index));
    };
    for (const auto& move : solutionMoves()) {
        for (StickSlot s : move) {
            goTo(s);
            EXPECT_TRUE(press(virtualkey::Space));
        }
    }
    EXPECT_TRUE(screen().getWinBanner()->isVisible());
    EXPECT_TRUE(announcer.wasHeard("You win!"));
    EXPECT_EQ(board().getMovesMade(), board().getRequiredMoves());
}

TEST_F(ExtraPlayTest, TheFocusFrameIsDrawnWithDirtyRectanglesAndGoesWithTheMouse) {
    // Three elements on top of the screen's own 22, the frame last.
    ASSERT_EQ(screen().getChildCount(), 25);
    EXPECT_EQ(screen().getChild(22), extra.getHintMarker(Horizontal));
    EXPECT_EQ(screen().getChild(23), extra.getHintMarker(Vertical));
    EXPECT_EQ(screen().getChild(24), &extra.getFocusFrame());
    startGame(5, RemoveFromFull, 3);
    EXPECT_FALSE(extra.isFocusShown()) << "only once a key is used";
    press(virtualkey::Right);
    ASSERT_TRUE(extra.isFocusShown());
    const Rect first = stickRect({Horizontal, 0});
    EXPECT_EQ(extra.getFocusFrame().getSurrounded(), first);
    const int32_t t = KeyboardFocus::kFocusThickness;
    EXPECT_EQ(pixelAt(game.display().targetPixels(), first.left - 1, first.top - 1),
              KeyboardFocus::kFocusColour);
    EXPECT_EQ(pixelAt(game.display().targetPixels(), first.right, first.bottom),
              KeyboardFocus::kFocusColour);

    startCounting();
    press(virtualkey::Right);
    const Rect second = stickRect({Horizontal, 1});
    const auto grown = [t](const Rect& r) {
        return Rect{r.left - t, r.top - t, r.right + t, r.bottom + t};
    };
    const auto written = game.display().takeWrittenRects();
    ASSERT_FALSE(written.empty());
    for (const Rect& r : written) {
        EXPECT_TRUE(inside(r, grown(first)) || inside(r, grown(second)));
    }
    // Strips, felt and sticks under them, nowhere near a whole frame.
    EXPECT_LT(game.display().pixelsWritten(), 4u * 2u * (86u * 21u));

    mouse(msg::MouseMove, 0, 3, 3);
    EXPECT_FALSE(extra.isFocusShown());
    ASSERT_TRUE(game.redraw());
    EXPECT_NE(pixelAt(game.display().targetPixels(), second.left - 1, second.top - 1),
              KeyboardFocus::kFocusColour);
    // The same place again, as window systems repeat it, is no use of the mouse.
    press(virtualkey::Left);
    ASSERT_TRUE(extra.isFocusShown());
    mouse(msg::MouseMove, 0, 3, 3);
    EXPECT_TRUE(extra.isFocusShown());
}

TEST_F(ExtraPlayTest, OneUndoRedrawsOnlyTheSticksThatChangeAndTheMovesCounter) {
    for (ActionType type : {RemoveFromFull, MoveFromSome}) {
        startLongerGame(5, type);
        const auto move = solutionMoves()[0];
        play(move);
        mouse(msg::MouseMove, 0, 3, 3);  // off the field
        startCounting();
        undoKey();
        Counter* moves = screen().getMovesCounter();
        const Rect counter = onScreen(*moves, 0, 0);
        const auto written = game.display().takeWrittenRects();
        ASSERT_FALSE(written.empty());
        for (const Rect& r : written) {
            bool onAChangedStick = false;
            for (StickSlot s : move) {
                onAChangedStick = onAChangedStick || inside(r, stickRect(s));
            }
            EXPECT_TRUE(onAChangedStick || inside(r, counter)) << type;
        }
        const uint64_t pixels = game.display().pixelsWritten();
        // Felt and stick for each changed stick, plus a digit.
        EXPECT_LE(pixels, move.size() * 2u * 80u * 15u + 3u * 14u * 16u);
        RecordProperty(type == MoveFromSome ? "pixelsForOneUndoMoving" : "pixelsForOneUndo",
                       std::to_string(pixels));
        clickButton(screen().getGiveUpButton());
    }
}

TEST_F(ExtraPlayTest, KeysOfNoUseToTheExtrasAreLeftToTheScreen) {
    EXPECT_FALSE(extra.key(msg::KeyUp, virtualkey::H, 0));
    EXPECT_FALSE(extra.key(msg::KeyDown, virtualkey::H, keyflag::Alt));
    EXPECT_FALSE(extra.key(msg::KeyDown, virtualkey::Z, keyflag::Control | keyflag::Alt));
    EXPECT_FALSE(extra.key(msg::KeyDown, virtualkey::H, keyflag::Control));
    EXPECT_FALSE(extra.key(msg::KeyDown, virtualkey::Escape, 0)) << "nothing in hand";
    EXPECT_FALSE(extra.key(msg::KeyDown, 0x41, 0));
    EXPECT_TRUE(extra.command(command::About));
    EXPECT_EQ(game.shell().aboutShown, 1) << "About is the program's";
    EXPECT_FALSE(extra.isFocusShown());
    EXPECT_FALSE(board().isActive());
}

// ---- Texts ----

TEST_F(ExtraPlayTest, RestartSaysTheMovesTheCounterShows) {
    startLongerGame(3, AddFromSome);
    const std::string required = std::to_string(board().getRequiredMoves());
    play(solutionMoves()[0]);
    ASSERT_EQ(screen().getMovesCounter()->getValue(), 1);
    clickButton(screen().getRestartButton());
    ASSERT_EQ(screen().getMovesCounter()->getValue(), 0);
    EXPECT_EQ(announcer.heard.back(), "Restart, move 0 of " + required);
    const std::string description = extra.description();
    EXPECT_NE(description.find(" Move 0 of " + required + ","), std::string::npos) << description;
}

TEST_F(ExtraPlayTest, OneSquareIsSaidInTheSingular) {
    bool found = false;
    for (uint32_t seed = 1; seed < 200 && !found; ++seed) {
        startGame(2, AddFromNone, seed);
        found = board().getTargetSquares() == 1;
        if (!found) {
            clickButton(screen().getGiveUpButton());
        }
    }
    ASSERT_TRUE(found) << "no seed gives a puzzle of one square";
    const std::string& said = announcer.heard.back();
    EXPECT_EQ(said.substr(said.find(" to form")), " to form 1 square.") << said;
}

TEST_F(ExtraPlayTest, AListenerHearsTheGameTheFocusAndTheEnd) {
    EXPECT_EQ(extra.description(), "Start the game by pressing the Next Button.");
    startGame(3, AddFromNone, 5);
    const std::string instruction = "Add " + std::to_string(board().getRequiredMoves()) +
                                    " matches to form " +
                                    std::to_string(board().getTargetSquares()) + " squares.";
    EXPECT_EQ(announcer.heard.back(), instruction);
    const std::string required = std::to_string(board().getRequiredMoves());
    EXPECT_EQ(extra.description(), instruction + " Move 0 of " + required + ", time 00:00.");

    press(virtualkey::Right);
    EXPECT_EQ(announcer.heard.back(), "horizontal match, row 1, column 1, empty");
    press(virtualkey::Down);
    EXPECT_EQ(announcer.heard.back(), "vertical match, row 1, column 1, empty");
    press(virtualkey::Space);
    EXPECT_EQ(announcer.heard.back(), "Move 1 of " + required);
    press(virtualkey::Up);
    press(virtualkey::Down);
    EXPECT_EQ(announcer.heard.back(), "vertical match, row 1, column 1, added");
    press(virtualkey::Left);
    EXPECT_EQ(announcer.heard.back(), "Give Up");
    press(virtualkey::Left);
    EXPECT_EQ(announcer.heard.back(), "Restart");
    undoKey();
    EXPECT_EQ(announcer.heard.back(), "Undo, move 0 of " + required);
    undoKey();
    EXPECT_EQ(announcer.heard.back(), "Nothing to undo.");
    press(virtualkey::H);
    EXPECT_EQ(announcer.heard.back().rfind("Hint: add ", 0), 0u) << announcer.heard.back();
    // Greying follows: Undo became possible, then not, then Redo did.
    EXPECT_GE(announcer.commandChanges, 3);

    clickButton(screen().getGiveUpButton());
    EXPECT_EQ(announcer.heard.back(), "Give Up: the solution is shown.");
    EXPECT_EQ(extra.description(), instruction + " Given up: the solution is shown.");
    startGame(2, RemoveFromFull, 5);
    EXPECT_EQ(announcer.heard.back().rfind("Remove ", 0), 0u);
    for (const auto& move : solutionMoves()) {
        play(move);
    }
    EXPECT_EQ(announcer.heard.back(), "You win!");
    EXPECT_EQ(extra.description().rfind("You win! ", 0), 0u);
}

// ---- A game kept between runs ----

TEST_F(ExtraPlayTest, AGameKeptAtTheEndGoesOnInTheNextRunWithItsFieldClockHistoryAndHints) {
    announcer.keepsGames = true;
    startLongerGame(4, MoveFromSome);
    const auto moves = solutionMoves();
    const StickLayers start = board().getCurrentSticks();
    play(moves[0]);
    const StickLayers afterOne = board().getCurrentSticks();
    play(moves[1]);
    const StickLayers afterTwo = board().getCurrentSticks();
    undoKey();
    for (int second = 0; second < 7; ++second) {
        tick(GameScreen::kGameTimerId);
    }
    ASSERT_TRUE(extra.command(command::Hint));
    const PuzzleOrigin origin = board().getOrigin();
    game.session().end();
    ASSERT_TRUE(announcer.keptGame);
    EXPECT_EQ(tableIn(game, 4, MoveFromSome).played, 0) << "a kept game is not left";
    const std::string kept = *announcer.keptGame;

    std::unique_ptr<HeadlessGame> run = nextRun(announcer);
    Board& again = run->board();
    ASSERT_TRUE(again.isActive());
    EXPECT_EQ(again.getOrigin(), origin);
    EXPECT_EQ(again.getCurrentSticks(), afterOne);
    EXPECT_EQ(run->screen().getMovesCounter()->getValue(), 1);
    EXPECT_EQ(run->screen().getClockCounter()->getValue(), 7);
    EXPECT_TRUE(run->host().timerRunning()) << "the clock goes on";
    EXPECT_FALSE(run->screen().getStartText()->isVisible());
    EXPECT_TRUE(run->screen().getGiveUpButton()->isVisible());
    EXPECT_TRUE(run->shell().commandStates().undo);
    EXPECT_TRUE(run->shell().commandStates().redo);
    EXPECT_EQ(run->shell().gameWrites, 0) << "taking a game up writes nothing";
    run->session().keepGame();
    EXPECT_EQ(run->shell().keptGame, kept) << "the game came back whole, the hint's solution too";

    ASSERT_TRUE(run->command(command::Redo));
    EXPECT_EQ(again.getCurrentSticks(), afterTwo);
    ASSERT_TRUE(run->command(command::Undo));
    ASSERT_TRUE(run->command(command::Undo));
    EXPECT_EQ(again.getCurrentSticks(), start);
    EXPECT_FALSE(run->shell().commandStates().undo);

    clickButtonIn(*run, run->screen().getGiveUpButton());
    const TableRecord counted = tableIn(*run, 4, MoveFromSome);
    EXPECT_EQ(counted.played, 1);
    EXPECT_EQ(counted.givenUp, 1);
    EXPECT_EQ(counted.hints, 1) << "the hint of the first run counts with the game";
    EXPECT_FALSE(run->shell().keptGame) << "an ended game is kept no longer";
}

TEST_F(ExtraPlayTest, AKeptGameCountsOnceWhenItIsWonWithTheTimeOfEveryRun) {
    announcer.keepsGames = true;
    startLongerGame(3, RemoveFromFull);
    const auto moves = solutionMoves();
    play(moves[0]);
    for (int second = 0; second < 4; ++second) {
        tick(GameScreen::kGameTimerId);
    }
    game.session().end();
    std::unique_ptr<HeadlessGame> second = nextRun(announcer);
    for (int s = 0; s < 3; ++s) {
        ASSERT_TRUE(second->tick());
    }
    second->session().end();
    EXPECT_EQ(tableIn(*second, 3, RemoveFromFull).played, 0);
    const RecordingShell secondShell = second->shell();
    second.reset();
    std::unique_ptr<HeadlessGame> third = nextRun(secondShell);
    HeadlessGame* last = third.get();
    EXPECT_EQ(last->screen().getClockCounter()->getValue(), 7);
    EXPECT_EQ(last->board().getMovesMade(), 1);
    for (size_t i = 1; i < moves.size(); ++i) {
        for (StickSlot s : moves[i]) {
            clickIn(*last, s);
        }
    }
    ASSERT_TRUE(last->screen().getWinBanner()->isVisible());
    const TableRecord counted = tableIn(*last, 3, RemoveFromFull);
    EXPECT_EQ(counted.played, 1);
    EXPECT_EQ(counted.won, 1);
    EXPECT_EQ(counted.bestSeconds, 7);
    EXPECT_FALSE(last->shell().keptGame);
}

TEST_F(ExtraPlayTest, AGameKeptAtTheEndLeavesNoGameThatCouldNotBeStoredUnstored) {
    announcer.keepsGames = true;
    announcer.writable = false;
    startLongerGame(3, AddFromSome);
    clickButton(screen().getGiveUpButton());
    const int64_t ended = game.session().records()->table(RecordKey{3, AddFromSome}).played;
    ASSERT_GE(ended, 1);
    clickButton(screen().getNextButton());
    play(solutionMoves()[0]);
    EXPECT_EQ(announcer.unsavedNotices, std::vector<bool>{true});

    announcer.writable = true;
    game.session().end();
    ASSERT_TRUE(announcer.keptGame);
    const TableRecord stored = tableIn(game, 3, AddFromSome);
    EXPECT_EQ(stored.played, ended) << "the games that ended, not the one kept";
    EXPECT_EQ(stored.givenUp, ended);
    EXPECT_EQ(announcer.unsavedNotices, (std::vector<bool>{true, false}));
}

TEST_F(ExtraPlayTest, AGameIsWrittenAtEachChangeOfTheFieldNotForTheClockOrThePointer) {
    announcer.keepsGames = true;
    startLongerGame(3, AddFromSome);
    EXPECT_EQ(announcer.gameWrites, 1) << "a new game is kept at once";
    tick(GameScreen::kGameTimerId);
    mouse(msg::MouseMove, 0, 1, 1);
    const auto moves = solutionMoves();
    EXPECT_EQ(announcer.gameWrites, 1);
    play(moves[0]);
    EXPECT_EQ(announcer.gameWrites, 2);
    EXPECT_NE(announcer.keptGame->find("clock=1\n"), std::string::npos)
        << "the clock goes with the change";
    undoKey();
    redoKey();
    EXPECT_EQ(announcer.gameWrites, 4);
    ASSERT_TRUE(extra.command(command::Hint));
    EXPECT_EQ(announcer.gameWrites, 5) << "a hint taken is kept";
    clickButton(screen().getGiveUpButton());
    EXPECT_EQ(announcer.gameWrites, 6);
    EXPECT_FALSE(announcer.keptGame);
    game.session().end();
    EXPECT_EQ(announcer.gameWrites, 6) << "no game, nothing to keep";
}

TEST_F(ExtraPlayTest, AStickInHandGoesBackWhereItWasTakenFromInTheKeptGame) {
    announcer.keepsGames = true;
    startLongerGame(4, MoveFromSome);
    const auto moves = solutionMoves();
    play(moves[0]);
    const StickLayers afterOne = board().getCurrentSticks();
    clickStick(moves[1][0]);
    ASSERT_TRUE(board().isStickInHand());
    game.session().end();
    std::unique_ptr<HeadlessGame> run = nextRun(announcer);
    EXPECT_FALSE(run->board().isStickInHand());
    EXPECT_EQ(run->board().getCurrentSticks(), afterOne);
    EXPECT_EQ(run->board().getMovesMade(), 1);
}

TEST_F(ExtraPlayTest, ADamagedOrForeignKeptGameIsPassedOverAndReplacedByTheNextGame) {
    announcer.keepsGames = true;
    startLongerGame(3, AddFromSome);
    play(solutionMoves()[0]);
    game.session().end();
    const std::string kept = *announcer.keptGame;
    RecordingShell damaged = announcer;
    for (const std::string& text :
         {std::string("garbage"), kept.substr(0, kept.size() / 2),
          "# Kestrane Zivadorured game in progress\nversion=2\n" +
              kept.substr(kept.find("puzzle=")),
          kept.substr(0, kept.find("moves=")) + "moves=h29\nundone=0\nend\n"}) {
        damaged.keptGame = text;
        std::unique_ptr<HeadlessGame> run = nextRun(damaged);
        EXPECT_TRUE(run->screen().getStartText()->isVisible()) << text;
        EXPECT_FALSE(run->board().isActive());
        EXPECT_EQ(run->shell().gameWrites, 0) << "left as it is";
        run->session().end();
        EXPECT_EQ(run->shell().keptGame, text);
        EXPECT_EQ(tableIn(*run, 3, AddFromSome).played, 0);
        clickButtonIn(*run, run->screen().getNextButton());
        ASSERT_TRUE(run->shell().keptGame);
        EXPECT_NE(*run->shell().keptGame, text) << "the next game takes its place";
    }
}

}  // namespace
}  // namespace kz
