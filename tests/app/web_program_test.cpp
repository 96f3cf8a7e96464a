#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/extras_texts.h"
#include "app/common/hint_blinker.h"
#include "app/common/records_table.h"
#include "app/common/session_records.h"
#include "app/common/settings.h"
#include "app/web/art_atlas.h"
#include "app/web/local_storage_settings.h"
#include "app/web/page_extras.h"
#include "app/web/script_text.h"
#include "app/web/web_program.h"
#include "display/messages.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/todays_puzzle.h"
#include "screen/image_table.h"
#include "software/software_display.h"
#include "tests/support/headless_game.h"
#include "tests/support/recording_page.h"
#include "tests/support/resource_files.h"
#include "tests/support/solution_walk.h"
#include "tests/support/target_pixel.h"

namespace kz {
namespace {

// The recording page, whose faults fail the test that used it.
class FakePage : public RecordingPage {
  public:
    ~FakePage() override { EXPECT_EQ(faults, 0) << "a frame presented that is not opaque"; }
};

constexpr int32_t kNextX = 117;
constexpr int32_t kNextY = 439;
constexpr int32_t kQuitX = 55;

class WebProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program.start();
        page.animationFrame();
    }

    void click(int32_t x, int32_t y) { clickIn(program, x, y); }
    static void clickIn(WebProgram& in, int32_t x, int32_t y) {
        in.mouse(msg::MouseMove, 0, x, y);
        in.mouse(msg::LeftButtonDown, mouseflag::LeftButton, x, y);
        in.mouse(msg::LeftButtonUp, 0, x, y);
    }

    // Once the animation frame asked for has come, the canvas shows exactly the surface's
    // pixels.
    void expectCanvasMatchesSurface() {
        page.animationFrame();
        const SoftwareDisplay& display = program.display();
        ASSERT_EQ(page.canvas.size(), display.targetPixels().pixelCount());
        for (int32_t y = 0; y < display.height(); ++y) {
            for (int32_t x = 0; x < display.width(); ++x) {
                ASSERT_EQ(page.canvasPixel(x, y), pixelAt(display.targetPixels(), x, y))
                    << x << "," << y;
            }
        }
    }

    FakePage page;
    WebProgram program{page, sourceTreeResolver(KZ_SOURCE_ROOT)};
};

TEST_F(WebProgramTest, FirstFrameIsTheWholeIdleScreen) {
    EXPECT_EQ(program.width(), 690);
    EXPECT_EQ(program.height(), 500);
    const auto golden = decodeBitmapFile(std::string(KZ_SOURCE_ROOT) + "/tests/golden/idle.png");
    ASSERT_TRUE(golden);
    ASSERT_EQ(page.canvas.size(), golden->data().size());
    EXPECT_TRUE(page.canvas == golden->data());
    EXPECT_TRUE(page.fatalErrors.empty());
    EXPECT_TRUE(page.intervals.empty()) << "a timer runs before any game";
}

TEST_F(WebProgramTest, OnlyWrittenAreasReachTheCanvas) {
    page.presented.clear();
    const int presents = page.presents;
    // Over the felt, away from every button and stick: nothing changes, no frame is asked for.
    program.mouse(msg::MouseMove, 0, 170, 250);
    program.key(msg::KeyDown, 'A');
    EXPECT_FALSE(page.animationFrame());
    EXPECT_TRUE(page.presented.empty());

    program.mouse(msg::MouseMove, 0, kNextX, kNextY);
    EXPECT_TRUE(page.presented.empty()) << "drawn before the animation frame";
    ASSERT_TRUE(page.animationFrame());
    ASSERT_FALSE(page.presented.empty());
    EXPECT_EQ(page.presents, presents + 1);
    const Rect next{86, 413, 148, 465};
    for (const Rect& area : page.presented) {
        EXPECT_TRUE(area.left >= next.left && area.top >= next.top && area.right <= next.right &&
                    area.bottom <= next.bottom)
            << area.left << "," << area.top << " " << area.right << "," << area.bottom;
    }
    expectCanvasMatchesSurface();
}

// A tap as the page sends it: the finger lands (move, press) and the frame after it shows the
// whole change in one present; the lift (release, the finger gone) asks for no frame more. The
// game is kept once.
TEST_F(WebProgramTest, ATapIsOneFrameWithOnePresentAndOneWriteOfTheGame) {
    program.command(command::FieldSize3);
    program.command(command::AddFromNone);
    click(kNextX, kNextY);
    page.animationFrame();
    Board& board = *program.gameSession()->screen().getBoard();
    const auto [x, y] = stickCentre(board, solutionClicks(board).front());
    const int wanted = page.framesWanted;
    const int presents = page.presents;
    const int writes = page.textSaves;
    const int32_t movesBefore = board.getMovesMade();
    program.touch(msg::MouseMove, 0, x, y);
    program.touch(msg::LeftButtonDown, mouseflag::LeftButton, x, y);
    ASSERT_EQ(board.getMovesMade(), movesBefore + 1);
    EXPECT_EQ(page.framesWanted, wanted + 1);
    EXPECT_EQ(page.presents, presents);
    ASSERT_TRUE(page.animationFrame());
    EXPECT_EQ(page.presents, presents + 1);
    EXPECT_EQ(board.getHoveredStick(), nullptr) << "a finger leaves no highlight";
    program.touch(msg::LeftButtonUp, 0, x, y);
    program.pointerLeft();
    EXPECT_EQ(page.framesWanted, wanted + 1) << "the lift changed something on show";
    EXPECT_FALSE(page.animationFrame());
    EXPECT_EQ(page.presents, presents + 1);
    EXPECT_EQ(page.textSaves, writes + 1);
    expectCanvasMatchesSurface();
}

TEST_F(WebProgramTest, ThePageHearsTheAreasToLayOutWhenTheFieldChangesSize) {
    // At the start: the whole 5 x 5 field's touch area, then the four panels.
    ASSERT_EQ(page.areas.size(), 1u);
    ASSERT_EQ(page.areas[0].size(), 5u);
    EXPECT_EQ(page.areas[0][1], (Rect{10, 5, 162, 170}));
    EXPECT_EQ(page.areas[0][4], (Rect{10, 373, 162, 489}));
    const Rect whole = page.areas[0][0];
    program.command(command::FieldSize2);
    // Every stick of Add From None may be highlighted, so the touch below has one to reach.
    program.command(command::AddFromNone);
    click(kNextX, kNextY);
    ASSERT_EQ(page.areas.size(), 2u) << "a 2 x 2 game has a field of its own";
    const Rect small = page.areas[1][0];
    EXPECT_LT(small.width(), whole.width());
    // Two pitches and a quarter pitch past the outer sticks each way, 237.5 pixels: the 239
    // pixels that hold a point of it.
    EXPECT_EQ(small.width(), 2 * 95 + 49);
    // A touch in the small field's rim reaches its outermost stick; a mouse there, nothing.
    const int32_t y = small.top + small.height() / 2 - 40;
    program.mouse(msg::MouseMove, 0, small.left + 1, y);
    program.mouse(msg::LeftButtonDown, mouseflag::LeftButton, small.left + 1, y);
    EXPECT_EQ(program.gameSession()->screen().getBoard()->getMovesMade(), 0);
    EXPECT_EQ(program.gameSession()->screen().getBoard()->getHoveredStick(), nullptr);
    program.touch(msg::MouseMove, 0, small.left + 1, y);
    EXPECT_NE(program.gameSession()->screen().getBoard()->getHoveredStick(), nullptr);
    program.pointerLeft();
    EXPECT_EQ(program.gameSession()->screen().getBoard()->getHoveredStick(), nullptr);
    // Another game of the same size tells the page nothing new.
    click(kNextX, kNextY);
    click(kNextX, kNextY);
    EXPECT_EQ(page.areas.size(), 2u);
    expectCanvasMatchesSurface();
}

TEST_F(WebProgramTest, GameTimerIsAnIntervalOnlyWhileAGameRuns) {
    click(kNextX, kNextY);
    ASSERT_EQ(page.intervals.size(), 1u);
    EXPECT_EQ(page.intervals.begin()->second.periodMs, 1000u);
    EXPECT_EQ(page.intervals.begin()->second.timerId, GameScreen::kGameTimerId);
    page.animationFrame();
    page.presented.clear();
    program.tick(GameScreen::kGameTimerId);
    ASSERT_TRUE(page.animationFrame());
    EXPECT_FALSE(page.presented.empty()) << "a tick draws the clock";
    expectCanvasMatchesSurface();

    // Give Up lies where Next was.
    click(kNextX, kNextY);
    EXPECT_TRUE(page.intervals.empty());
    // Next again starts a fresh interval, which Quit cannot reach while it runs.
    click(kNextX, kNextY);
    EXPECT_EQ(page.intervals.size(), 1u);
}

TEST_F(WebProgramTest, ExitDuringAGameEndsTheSessionOnce) {
    click(kNextX, kNextY);
    ASSERT_EQ(page.intervals.size(), 1u);
    program.command(command::Exit);
    EXPECT_EQ(page.endings, std::vector<int>{0});
    EXPECT_TRUE(page.intervals.empty()) << "the clock runs on after the end";
    EXPECT_FALSE(program.running());

    page.presented.clear();
    program.tick(GameScreen::kGameTimerId);
    click(kNextX, kNextY);
    program.command(command::Exit);
    EXPECT_TRUE(page.presented.empty());
    EXPECT_EQ(page.endings.size(), 1u);
    EXPECT_TRUE(page.intervals.empty());
}

TEST_F(WebProgramTest, QuitButtonEndsTheSessionAfterItsDraw) {
    click(kQuitX, kNextY);
    EXPECT_EQ(page.endings, std::vector<int>{0});
    EXPECT_TRUE(page.fatalErrors.empty());
    expectCanvasMatchesSurface();
}

TEST_F(WebProgramTest, MenuCommandsReachThePage) {
    page.marks.clear();
    const int savesBefore = page.saves;
    program.command(command::FieldSize4);
    program.command(command::MoveFromSome);
    EXPECT_EQ(page.marks, (std::vector<uint16_t>{command::FieldSize4, command::MoveFromSome}));
    EXPECT_EQ(page.storage[kFieldSizeSettingName], "4");
    EXPECT_EQ(page.storage[kActionTypeSettingName], "3");
    EXPECT_GT(page.saves, savesBefore);
    EXPECT_EQ(program.settings(), (GameSettings{4, 3}));

    program.command(command::HelpContents);
    program.command(command::HelpSearch);
    program.command(command::HelpIndex);
    program.command(command::About);
    EXPECT_EQ(page.help,
              (std::vector<HelpTopic>{HelpTopic::Contents, HelpTopic::Search, HelpTopic::Index}));
    EXPECT_EQ(page.abouts, 1);
    EXPECT_TRUE(program.running());
}

TEST(WebProgramStart, StoredSettingsReachMenuAndGame) {
    FakePage page;
    page.storage[kFieldSizeSettingName] = "2";
    page.storage[kActionTypeSettingName] = "4";
    page.storage[kDifficultySettingName] = "3";
    WebProgram program(page, sourceTreeResolver(KZ_SOURCE_ROOT));
    program.start();
    EXPECT_EQ(page.marks, (std::vector<uint16_t>{command::FieldSize2, command::RemoveFromFull,
                                                 command::DifficultyHard}));
    EXPECT_EQ(program.settings(), (GameSettings{2, 4, Hard}));
    EXPECT_EQ(page.saves, 0) << "settings stored as they are used are not written again";
}

TEST(WebProgramStart, PicturesThatCannotLoadGivePaintErrorOnce) {
    FakePage page;
    WebProgram program(page, [](int32_t, int32_t) { return std::vector<uint8_t>{}; });
    program.start();
    EXPECT_TRUE(page.fatalErrors.empty()) << "drawn before the animation frame";
    ASSERT_TRUE(page.animationFrame());
    EXPECT_EQ(page.fatalErrors, std::vector<FatalError>{FatalError::Paint});
    EXPECT_EQ(page.endings, std::vector<int>{1});
    program.mouse(msg::MouseMove, 0, kNextX, kNextY);
    program.command(command::About);
    EXPECT_EQ(page.fatalErrors.size(), 1u);
    EXPECT_EQ(page.abouts, 0);
}

TEST(StoredSettings, MissingValuesAreWrittenWithTheirDefaultsAndDamagedOnesAreKept) {
    struct Case {
        std::optional<std::string> fieldSize;
        std::optional<std::string> actionType;
        GameSettings wanted;
    };
    const std::string tooLong(40, '3');
    for (const Case& c : {Case{std::nullopt, std::nullopt, {0, 0}}, Case{"7", "6", {0, 0}},
                          Case{"banana", "-1", {0, 0}}, Case{tooLong, "5", {0, 5}},
                          Case{"5", "x", {5, 0}}, Case{"3", "2", {3, 2}}}) {
        FakePage page;
        if (c.fieldSize) {
            page.storage[kFieldSizeSettingName] = *c.fieldSize;
        }
        if (c.actionType) {
            page.storage[kActionTypeSettingName] = *c.actionType;
        }
        LocalStorageSettings stored(page);
        EXPECT_EQ(loadSettings(stored), c.wanted)
            << c.fieldSize.value_or("(none)") << " " << c.actionType.value_or("(none)");
        EXPECT_EQ(page.storage[kFieldSizeSettingName],
                  c.fieldSize.value_or(std::to_string(c.wanted.fieldSize)));
        EXPECT_EQ(page.storage[kActionTypeSettingName],
                  c.actionType.value_or(std::to_string(c.wanted.actionType)));
    }
}

TEST_F(WebProgramTest, ExtraPlayKeysAreTakenAndAnnounced) {
    EXPECT_EQ(page.enabled_, (std::map<uint16_t, bool>{{command::Undo, false},
                                                       {command::Redo, false},
                                                       {command::Hint, false},
                                                       {command::CopyPuzzleCode, false},
                                                       {command::Share, false}}))
        << "before any game nothing can be undone, hinted, copied or shared";
    EXPECT_FALSE(page.description.empty());
    // A 2 x 2 field filled from none always takes several moves, so the first move below
    // cannot win the game and leave nothing to undo.
    program.command(command::FieldSize2);
    program.command(command::AddFromNone);
    program.command(command::DifficultyHard);
    click(kNextX, kNextY);
    ASSERT_FALSE(page.announced.empty()) << "a new game is not announced";
    EXPECT_EQ(page.grades, std::vector<std::string>{"Hard"});
    EXPECT_TRUE(page.enabled_[command::Hint]);
    EXPECT_TRUE(page.enabled_[command::CopyPuzzleCode]);
    EXPECT_TRUE(page.enabled_[command::Share]);
    const std::string described = page.description;

    // An arrow moves the focus, a plain letter and an arrow held with Alt stay the browser's.
    page.announced.clear();
    EXPECT_TRUE(program.key(msg::KeyDown, virtualkey::Right));
    EXPECT_FALSE(page.announced.empty()) << "the focus is not announced";
    EXPECT_FALSE(program.key(msg::KeyDown, 'A'));
    EXPECT_FALSE(program.key(msg::KeyDown, virtualkey::Right, keyflag::Alt));

    // A hint blinks on a timer of its own, beside the game clock, and stops by itself.
    EXPECT_TRUE(program.key(msg::KeyDown, 'H'));
    ASSERT_TRUE(page.timerRuns(HintBlinker::kHintTimerId));
    ASSERT_TRUE(page.timerRuns(GameScreen::kGameTimerId));
    for (const auto& entry : page.intervals) {
        if (entry.second.timerId == HintBlinker::kHintTimerId) {
            EXPECT_EQ(entry.second.periodMs, HintBlinker::kHintBlinkMs);
        }
    }
    page.animationFrame();
    page.presented.clear();
    program.tick(HintBlinker::kHintTimerId);
    ASSERT_TRUE(page.animationFrame());
    EXPECT_FALSE(page.presented.empty()) << "the hint's tick does not blink it";
    for (int i = 0; i < 2 * HintBlinker::kHintBlinks && page.timerRuns(HintBlinker::kHintTimerId);
         ++i) {
        program.tick(HintBlinker::kHintTimerId);
    }
    EXPECT_FALSE(page.timerRuns(HintBlinker::kHintTimerId)) << "the hint blinks on and on";
    EXPECT_TRUE(page.timerRuns(GameScreen::kGameTimerId));
    expectCanvasMatchesSurface();

    // A change of the field (in a move puzzle a stick taken and put down) can be undone
    // (Ctrl+Z) and made again (Ctrl+Y).
    Board& board = *program.gameSession()->screen().getBoard();
    const std::vector<StickPlace> clicks = solutionClicks(board);
    const size_t change = board.getMode() == Move ? 2 : 1;
    ASSERT_GE(clicks.size(), change);
    for (size_t i = 0; i < change; ++i) {
        const auto [x, y] = stickCentre(board, clicks[i]);
        click(x, y);
    }
    EXPECT_TRUE(page.enabled_[command::Undo]);
    EXPECT_TRUE(program.key(msg::KeyDown, 'Z', keyflag::Control));
    EXPECT_FALSE(page.enabled_[command::Undo]);
    EXPECT_TRUE(page.enabled_[command::Redo]);
    EXPECT_TRUE(program.key(msg::KeyDown, 'Y', keyflag::Control));
    EXPECT_TRUE(page.enabled_[command::Undo]);
    EXPECT_NE(page.description, described) << "the description does not follow the moves";
}

TEST_F(WebProgramTest, PuzzleCodesPlayCopyAndShare) {
    EXPECT_FALSE(program.playPuzzleCode("3MNWJ7CXSN")) << "a wrong check character is taken";
    EXPECT_FALSE(program.playPuzzleCode(std::string(5000, '3')));
    EXPECT_TRUE(page.codes.empty()) << "a wrong code started a puzzle";
    EXPECT_TRUE(page.intervals.empty());

    const GameSettings before = program.settings();
    ASSERT_TRUE(program.playPuzzleCode("3mnwj-7cxsm"));
    EXPECT_EQ(page.codes, std::vector<std::string>{"3MNWJ7CXSM"});
    EXPECT_EQ(page.grades.back(), "") << "a code claims no grade";
    EXPECT_EQ(program.settings(), before) << "a code changed the settings";
    EXPECT_TRUE(page.timerRuns(GameScreen::kGameTimerId));
    expectCanvasMatchesSurface();

    program.command(command::CopyPuzzleCode);
    program.command(command::Share);
    EXPECT_EQ(page.clipboard, std::vector<std::string>{"3MNWJ7CXSM"});
    EXPECT_EQ(page.told, std::vector<std::string>{"Puzzle code 3MNWJ7CXSM copied."});
    EXPECT_EQ(page.shared, std::vector<std::string>{"3MNWJ7CXSM"});
    EXPECT_EQ(page.sharedLinks, std::vector<std::string>{"https://example.org/game/#p=3MNWJ7CXSM"});
    program.command(command::PlayPuzzleCode);
    EXPECT_EQ(page.codeAsks, std::vector<std::string>{""});
}

// What the Statistics box shows on the next visit of a page that kept these texts.
std::string statisticsOnNextVisit(const FakePage& page) {
    FakePage next;
    next.texts = page.texts;
    WebProgram again(next, sourceTreeResolver(KZ_SOURCE_ROOT));
    again.start();
    again.command(command::Statistics);
    EXPECT_EQ(next.statistics.size(), 1u);
    return next.statistics.empty() ? std::string() : next.statistics[0];
}

// A page whose store is still opening draws at once, passes the player over, and takes the
// records and the kept game up once the store is open, only the first time it is told.
TEST_F(WebProgramTest, InputIsPassedOverUntilTheStoreAndTheCatalogueAreBothThere) {
    click(kNextX, kNextY);
    program.command(command::Exit);  // keeps the running game
    FakePage next;
    next.texts = page.texts;
    next.now = 1798891200;  // 2027-01-02 12:00 UTC
    WebProgram waiting(next, sourceTreeResolver(KZ_SOURCE_ROOT));
    waiting.start(false, true);
    EXPECT_FALSE(waiting.tookUpStored());
    ASSERT_TRUE(next.animationFrame());
    EXPECT_FALSE(next.presented.empty()) << "the first frame waited for the store";
    const std::string kept = next.texts[kGameStorageName];
    ASSERT_NE(kept, "");
    const size_t presents = next.presented.size();
    const auto passedOver = [&](const char* when) {
        clickIn(waiting, kNextX, kNextY);
        EXPECT_FALSE(next.animationFrame()) << "a click " << when << " was played";
        EXPECT_EQ(next.presented.size(), presents);
        EXPECT_EQ(next.texts[kGameStorageName], kept) << "a click " << when << " changed the game";
        EXPECT_FALSE(waiting.playDay("2027-01-01"));
    };
    passedOver("before the store");
    waiting.takeUpStored();
    EXPECT_FALSE(waiting.tookUpStored());
    passedOver("before the catalogue");

    const std::vector<uint8_t> file =
        readFileBytes(std::string(KZ_SOURCE_ROOT) + "/resources/puzzle-catalogue.bin");
    EXPECT_TRUE(waiting.takeUpCatalogue(file.data(), file.size()));
    EXPECT_FALSE(waiting.takeUpCatalogue(nullptr, 0)) << "a second fetch replaced the catalogue";
    waiting.takeUpStored();
    EXPECT_TRUE(waiting.tookUpStored());
    clickIn(waiting, kNextX, kNextY);  // Give Up of the game taken up
    // The days that come from the catalogue play from the one handed in.
    ASSERT_TRUE(waiting.playDay("2027-01-01"));
    EXPECT_EQ(next.codes.back(), "3FBC78FNHV");
    const std::string shown = statisticsOnNextVisit(next);
    EXPECT_NE(shown.find("\"Random\",\"Mixed\",\"1\",\"0\",\"1\""), std::string::npos) << shown;
}

TEST(WebProgramCatalogue, WithoutItThePagePlaysOnButGivesNoPuzzleForTheDaysFromIt) {
    const std::vector<uint8_t> file =
        readFileBytes(std::string(KZ_SOURCE_ROOT) + "/resources/puzzle-catalogue.bin");
    ASSERT_GT(file.size(), 4u);
    // A failed fetch, and a file cut short.
    for (const std::vector<uint8_t>& fetched :
         {std::vector<uint8_t>{}, std::vector<uint8_t>(file.begin(), file.end() - 4)}) {
        FakePage page;
        page.now = 1798891200;  // 2027-01-02 12:00 UTC
        WebProgram program(page, sourceTreeResolver(KZ_SOURCE_ROOT));
        program.start(true, true);
        EXPECT_FALSE(program.tookUpStored()) << "taken up before the catalogue's fetch ended";
        EXPECT_FALSE(
            program.takeUpCatalogue(fetched.empty() ? nullptr : fetched.data(), fetched.size()));
        ASSERT_TRUE(program.tookUpStored());
        EXPECT_FALSE(program.playDay("2027-01-01"));
        program.command(command::TodaysPuzzle);
        EXPECT_TRUE(page.codes.empty()) << "another puzzle played as the day's";
        EXPECT_EQ(std::count(page.announced.begin(), page.announced.end(), kNoPuzzleOfDayText), 2);
        // The days before need none, and the game plays on.
        ASSERT_TRUE(program.playDay("2026-12-20"));
        EXPECT_EQ(page.codes.back(),
                  puzzleCode(puzzleOfDay(dayFromText("2026-12-20").value(), nullptr).value()));
    }
}

TEST_F(WebProgramTest, RecordsAreStoredAndShownAfterAReload) {
    program.command(command::Statistics);
    ASSERT_EQ(page.statistics.size(), 1u);
    EXPECT_NE(page.statistics[0].find("\"rows\":[]"), std::string::npos) << page.statistics[0];
    EXPECT_NE(page.statistics[0].find("\"canReset\":false"), std::string::npos);
    EXPECT_NE(page.statistics[0].find(kRecordsColumns[5]), std::string::npos);

    click(kNextX, kNextY);
    click(kNextX, kNextY);  // Give Up
    ASSERT_EQ(page.texts.count(kRecordsStorageName), 1u) << "a game given up is not stored";

    // The next visit reads them.
    const std::string shown = statisticsOnNextVisit(page);
    EXPECT_NE(shown.find("\"Random\",\"Mixed\",\"1\",\"0\",\"1\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("\"canReset\":true"), std::string::npos);

    // A reset clears and stores them, and the open box shows them again.
    program.command(command::Statistics);
    program.resetRecords();
    ASSERT_EQ(page.statistics.size(), 3u);
    EXPECT_NE(page.statistics[2].find("\"rows\":[]"), std::string::npos) << page.statistics[2];
    const std::string cleared = statisticsOnNextVisit(page);
    EXPECT_NE(cleared.find("\"rows\":[]"), std::string::npos) << cleared;
}

TEST_F(WebProgramTest, RecordsGoToAFileComeBackFromOneAndFollowOtherTabs) {
    click(kNextX, kNextY);
    click(kNextX, kNextY);  // Give Up
    program.command(command::ExportRecords);
    ASSERT_EQ(page.exported.size(), 1u);
    program.command(command::ImportRecords);
    EXPECT_EQ(page.fileAsks, 1);

    page.chosenFile = page.exported[0];
    program.resetRecords();
    EXPECT_EQ(program.importRecords(), RecordsImport::Imported);
    EXPECT_EQ(program.importRecords(), RecordsImport::Imported);
    page.chosenFile.reset();
    EXPECT_EQ(program.importRecords(), RecordsImport::NotStored) << "no file was read";
    const std::string imported = statisticsOnNextVisit(page);
    EXPECT_NE(imported.find("\"Random\",\"Mixed\",\"1\",\"0\",\"1\""), std::string::npos)
        << imported;

    // Another tab stores records: they are read again and handed to the page for its box.
    const size_t shown = page.statistics.size();
    page.texts[kRecordsStorageName] =
        "table size=0 type=0 played=7 won=0 given-up=7 hints=0 streak=0 best-streak=0\n";
    program.storageChanged();
    ASSERT_EQ(page.statistics.size(), shown + 1);
    EXPECT_NE(page.statistics.back().find("\"Random\",\"Mixed\",\"7\",\"0\",\"7\""),
              std::string::npos)
        << page.statistics.back();
}

TEST_F(WebProgramTest, RecordsTheStorageRefusedAreStoredOnAnIntervalOnceItTakesThem) {
    const uint32_t retry = SessionRecords::kRetryTimerId;
    page.refusedName = kRecordsStorageName;
    click(kNextX, kNextY);
    click(kNextX, kNextY);  // Give Up
    ASSERT_EQ(page.unsavedNotices, std::vector<bool>{true});
    ASSERT_TRUE(page.timerRuns(retry)) << "nothing tries the records again";
    for (const auto& entry : page.intervals) {
        if (entry.second.timerId == retry) {
            EXPECT_EQ(entry.second.periodMs, SessionRecords::kRetryMs);
        }
    }
    program.tick(retry);
    EXPECT_EQ(page.texts.count(kRecordsStorageName), 0u);
    EXPECT_TRUE(page.timerRuns(retry));

    page.refusedName.clear();
    program.tick(retry);
    EXPECT_EQ(page.unsavedNotices, (std::vector<bool>{true, false}));
    EXPECT_FALSE(page.timerRuns(retry)) << "an interval runs with nothing to store";
    const std::string shown = statisticsOnNextVisit(page);
    EXPECT_NE(shown.find("\"Random\",\"Mixed\",\"1\",\"0\",\"1\""), std::string::npos) << shown;
}

TEST(WebProgramEnd, AProgramGoneWhileRecordsWaitStopsTheirIntervalOnce) {
    FakePage page;
    page.refusedName = kRecordsStorageName;
    {
        WebProgram program(page, sourceTreeResolver(KZ_SOURCE_ROOT));
        program.start();
        for (int click = 0; click < 2; ++click) {  // Next, Give Up
            program.mouse(msg::MouseMove, 0, kNextX, kNextY);
            program.mouse(msg::LeftButtonDown, mouseflag::LeftButton, kNextX, kNextY);
            program.mouse(msg::LeftButtonUp, 0, kNextX, kNextY);
        }
        ASSERT_TRUE(page.timerRuns(SessionRecords::kRetryTimerId));
    }
    // The fake page fails the test for an interval stopped twice or never started.
    EXPECT_TRUE(page.intervals.empty());
}

TEST_F(WebProgramTest, ExitKeepsARunningGameForTheNextVisitOrCountsItAsLeftWhenStorageRefuses) {
    click(kNextX, kNextY);
    program.command(command::Exit);
    ASSERT_NE(page.texts[kGameStorageName], "");
    EXPECT_NE(statisticsOnNextVisit(page).find("\"rows\":[]"), std::string::npos);

    FakePage full;
    full.refusedName = kGameStorageName;
    WebProgram refused(full, sourceTreeResolver(KZ_SOURCE_ROOT));
    refused.start();
    clickIn(refused, kNextX, kNextY);
    refused.command(command::Exit);
    const std::string shown = statisticsOnNextVisit(full);
    EXPECT_NE(shown.find("\"Random\",\"Mixed\",\"1\",\"0\",\"0\""), std::string::npos) << shown;
}

// The next visit of a page that kept these texts, started; claimed: it takes up the kept game.
struct NextVisit {
    explicit NextVisit(const FakePage& last, bool claimed = true) {
        page.texts = last.texts;
        page.now = last.now;
        page.claimsGame = claimed;
        program.start();
    }
    FakePage page;
    WebProgram program{page, sourceTreeResolver(KZ_SOURCE_ROOT)};
};

TEST_F(WebProgramTest, ThePastPuzzleBoxAndADaysLinkPlayThatDaysPuzzle) {
    page.now = 1796990400;  // 2026-12-11 12:00 UTC
    program.command(command::PastPuzzle);
    const std::vector<std::pair<std::string, std::string>> asked = {{"2026-12-08", "2026-12-11"}};
    EXPECT_EQ(page.dayAsks, asked);

    for (const char* refused : {"2026-12-12", "2026-12-07", "2026-02-30", "12/10/2026", "", "x"}) {
        EXPECT_FALSE(program.playDay(refused)) << refused;
        EXPECT_FALSE(program.openLink(std::string("#d=") + refused)) << refused;
    }
    EXPECT_TRUE(page.codes.empty()) << "a day with no puzzle started one";

    ASSERT_TRUE(program.playDay("2026-12-10"));
    const std::string code =
        puzzleCode(puzzleOfDay(dayFromText("2026-12-10").value(), nullptr).value());
    EXPECT_EQ(page.codes, std::vector<std::string>{code});
    EXPECT_EQ(page.days, std::vector<std::string>{"2026-12-10"});
    EXPECT_NE(page.grades.back(), "") << "a graded day's puzzle says its grade";

    // Its link on the next visit goes on with the game kept; another day's replaces it.
    program.tick(GameScreen::kGameTimerId);
    program.keepGame();
    EXPECT_NE(page.texts[kGameStorageName].find("\nday=2026-12-10\npast=1\n"), std::string::npos);
    NextVisit reload(page);
    EXPECT_EQ(reload.page.days, std::vector<std::string>{"2026-12-10"});
    EXPECT_TRUE(reload.program.openLink(std::string("#d=") + "2026-12-10"));
    EXPECT_EQ(reload.page.codes.size(), 1u) << "the game goes on, not started again";
    EXPECT_TRUE(reload.program.openLink(std::string("#d=") + "2026-12-09"));
    EXPECT_EQ(reload.page.days.back(), "2026-12-09");
    EXPECT_EQ(reload.page.codes.back(),
              puzzleCode(puzzleOfDay(dayFromText("2026-12-09").value(), nullptr).value()));
}

TEST_F(WebProgramTest, ATabThatDoesNotClaimTheKeptGameNeitherTakesItUpNorTouchesIt) {
    click(kNextX, kNextY);
    const std::string code = page.codes.back();
    program.tick(GameScreen::kGameTimerId);
    program.keepGame();
    const std::string kept = page.texts[kGameStorageName];
    ASSERT_NE(kept.find(code), std::string::npos) << kept;

    // A second tab while the first lives: a new game, and the kept one left as it was
    // through its games' every change and its end.
    NextVisit other(page, false);
    EXPECT_EQ(other.page.gameClaims, 1);
    EXPECT_TRUE(other.page.codes.empty()) << "the second tab took up the kept game";
    EXPECT_FALSE(other.page.timerRuns(GameScreen::kGameTimerId));
    clickIn(other.program, kNextX, kNextY);
    ASSERT_EQ(other.page.codes.size(), 1u);
    other.program.keepGame();
    clickIn(other.program, kNextX, kNextY);  // Give Up
    clickIn(other.program, kNextX, kNextY);  // Next
    other.program.leave();
    EXPECT_EQ(other.page.texts[kGameStorageName], kept);
    // Its games count in the records all the same, the one it could not keep as left.
    const std::string shown = statisticsOnNextVisit(other.page);
    EXPECT_NE(shown.find("\"Random\",\"Mixed\",\"2\",\"0\",\"1\""), std::string::npos) << shown;

    // The tab that holds it, or the next visit once it is gone, goes on with it.
    NextVisit next(other.page);
    EXPECT_EQ(next.page.codes, std::vector<std::string>{code});
    EXPECT_EQ(next.program.gameSession()->screen().getClockCounter()->getValue(), 1);
}

TEST_F(WebProgramTest, AHiddenPageKeepsItsGameWithTheClockAndItsOwnLinkKeepsItGoing) {
    click(kNextX, kNextY);
    const std::string code = page.codes.back();
    for (int second = 0; second < 3; ++second) {
        program.tick(GameScreen::kGameTimerId);
    }
    program.keepGame();  // hidden
    EXPECT_NE(page.texts[kGameStorageName].find("\nclock=3\n"), std::string::npos);
    EXPECT_TRUE(program.running()) << "a hidden page plays on when it shows again";

    NextVisit reload(page);
    EXPECT_EQ(reload.page.codes, std::vector<std::string>{code}) << "the code for the address";
    EXPECT_TRUE(reload.page.timerRuns(GameScreen::kGameTimerId));
    // The address it was left with names its own puzzle, in any spelling a code may have.
    std::string spelt = code.substr(0, 5) + "-" + code.substr(5);
    for (char& c : spelt) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_TRUE(reload.program.openLink("#p=" + spelt));
    EXPECT_EQ(reload.page.codes.size(), 1u) << "the game goes on, not started again";
    const GameScreen& screen = reload.program.gameSession()->screen();
    EXPECT_EQ(screen.getClockCounter()->getValue(), 3);

    // Another puzzle's link replaces it, and the game replaced counts as left.
    EXPECT_FALSE(reload.program.openLink(std::string("#p=") + "no code"));
    EXPECT_TRUE(reload.program.openLink(std::string("#p=") + "3MNWJ7CXSM"));
    EXPECT_EQ(reload.page.codes.back(), "3MNWJ7CXSM");
    reload.program.command(command::Statistics);
    EXPECT_NE(reload.page.statistics.back().find("\"Random\",\"Mixed\",\"1\",\"0\",\"0\""),
              std::string::npos)
        << reload.page.statistics.back();
}

TEST(PageExtrasTexts, NewBestTimeAndStatisticsText) {
    WinReport first;
    first.seconds = 42;
    first.newBestTime = true;
    EXPECT_EQ(newBestTimeText(English{}, first), "New best time: 00:42.");
    WinReport faster = first;
    faster.previousBest = 3725;
    EXPECT_EQ(newBestTimeText(English{}, faster), "New best time: 00:42 (the best was 1:02:05).");

    const std::string json = statisticsJson(Records(), CalendarDay{});
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.back(), '}');
    // Texts are string literals with their quotes escaped: the apostrophe of "today's"
    // stays, no raw control character or '<' is left.
    EXPECT_NE(json.find("\"none\":\"No games played yet."), std::string::npos) << json;
    EXPECT_EQ(json.find('<'), std::string::npos);
    EXPECT_EQ(scriptString("a\"b\\c\n<"), "\"a\\\"b\\\\c\\u000a\\u003c\"");

    // The grades played come as a second table, under their own titles.
    EXPECT_NE(json.find("\"gradeRows\":[]"), std::string::npos) << json;
    Records graded;
    graded.setTable({3, AddFromSome}, TableRecord{1, 1, 0, 52, 0, 1, 1});
    graded.setGrade(Hard, TableRecord{1, 1, 0, 52, 0, 1, 1});
    const std::string withGrade = statisticsJson(graded, CalendarDay{});
    EXPECT_NE(withGrade.find("\"gradeColumns\":[\"Grade\",\"Played\","), std::string::npos)
        << withGrade;
    EXPECT_NE(withGrade.find("\"gradeRows\":[[\"Hard\",\"1\",\"1\",\"0\",\"00:52\""),
              std::string::npos)
        << withGrade;
}

// A larger set as the page fetches it: the pictures of the source tree's set one below the
// other in the image table's order, as red, green, blue, alpha bytes.
struct AtlasPixels {
    explicit AtlasPixels(int32_t atlasScale) : scale(atlasScale) {
        for (const ImageInfo& image : kImageTable) {
            width = std::max(width, image.width * scale);
            height += image.height * scale;
        }
        rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
        int32_t top = 0;
        for (const ImageInfo& image : kImageTable) {
            auto picture =
                decodeBitmap(sourceTreeResolver(KZ_SOURCE_ROOT)(image.resourceId, scale));
            EXPECT_NE(picture, nullptr) << image.resourceId;
            for (int32_t y = 0; picture && y < picture->height(); ++y) {
                for (int32_t x = 0; x < picture->width(); ++x) {
                    const uint32_t p =
                        picture->data()[static_cast<size_t>(y * picture->width() + x)];
                    uint8_t* out = &rgba[(static_cast<size_t>(top + y) * width + x) * 4];
                    out[0] = static_cast<uint8_t>(p >> 16);
                    out[1] = static_cast<uint8_t>(p >> 8);
                    out[2] = static_cast<uint8_t>(p);
                    out[3] = 0xFF;
                }
            }
            top += image.height * scale;
        }
    }
    int32_t scale;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgba;
};

TEST(ArtAtlas, CutsTheSetIntoThePicturesOfTheTable) {
    const AtlasPixels pixels(3);
    const std::optional<ArtAtlas> atlas =
        ArtAtlas::cut(3, pixels.width, pixels.height, pixels.rgba.data());
    ASSERT_TRUE(atlas);
    for (const ImageInfo& image : kImageTable) {
        const auto cut = decodeBitmap(atlas->bitmap(image.resourceId));
        const auto file = decodeBitmap(sourceTreeResolver(KZ_SOURCE_ROOT)(image.resourceId, 3));
        ASSERT_TRUE(cut && file) << image.resourceId;
        EXPECT_EQ(cut->width(), image.width * 3);
        EXPECT_TRUE(cut->data() == file->data()) << "picture " << image.resourceId;
    }
    EXPECT_TRUE(atlas->bitmap(1).empty());

    // Anything but the set of the scale it is said to be is refused.
    EXPECT_FALSE(ArtAtlas::cut(2, pixels.width, pixels.height, pixels.rgba.data()));
    EXPECT_FALSE(ArtAtlas::cut(3, pixels.width, pixels.height - 3, pixels.rgba.data()));
    EXPECT_FALSE(ArtAtlas::cut(3, pixels.width + 1, pixels.height, pixels.rgba.data()));
    EXPECT_FALSE(ArtAtlas::cut(3, pixels.width, pixels.height, nullptr));
    EXPECT_FALSE(ArtAtlas::cut(1, 152, 1000, pixels.rgba.data()));
}

// The page on a screen of twice the pixels: the frame from the fetched set, the game's areas
// presented multiplied, and the same picture as the headless game at that scale.
TEST(WebProgramScaled, DrawsFromTheFetchedSetAndPresentsTheAreasMultiplied) {
    const AtlasPixels pixels(2);
    const std::optional<ArtAtlas> atlas =
        ArtAtlas::cut(2, pixels.width, pixels.height, pixels.rgba.data());
    ASSERT_TRUE(atlas);
    FakePage page;
    WebProgram program(
        page,
        [&](int32_t id, int32_t scale) {
            return scale == 2 ? atlas->bitmap(id) : std::vector<uint8_t>{};
        },
        2);
    program.start();
    ASSERT_TRUE(page.animationFrame());
    EXPECT_EQ(program.scale(), 2);
    EXPECT_EQ(program.width(), 690) << "the game keeps its coordinates";
    EXPECT_EQ(page.canvasWidth, 1380);
    ASSERT_EQ(page.canvas.size(), 1380u * 1000u);
    HeadlessGame headless(KZ_SOURCE_ROOT, {}, 2);
    ASSERT_TRUE(headless.paintAll());
    EXPECT_TRUE(page.canvas ==
                std::vector<uint32_t>(headless.display().targetPixels().pixels(),
                                      headless.display().targetPixels().pixels() + 1380u * 1000u));

    page.presented.clear();
    program.mouse(msg::MouseMove, 0, kNextX, kNextY);  // the Next button's caption
    ASSERT_TRUE(page.animationFrame());
    ASSERT_FALSE(page.presented.empty());
    for (const Rect& area : page.presented) {
        EXPECT_TRUE(area.left >= 86 * 2 && area.top >= 413 * 2 && area.right <= 148 * 2 &&
                    area.bottom <= 465 * 2);
        EXPECT_TRUE(area.left % 2 == 0 && area.top % 2 == 0 && area.right % 2 == 0 &&
                    area.bottom % 2 == 0)
            << "whole game pixels";
    }
    ASSERT_TRUE(headless.moveTo(kNextX, kNextY));
    EXPECT_TRUE(page.canvas ==
                std::vector<uint32_t>(headless.display().targetPixels().pixels(),
                                      headless.display().targetPixels().pixels() + 1380u * 1000u));
}

// A page laid out larger after the start: the frame drawn again from the larger set, in the
// middle of a game, as a page that had the set from the start shows it; a set that cannot be
// had leaves the frame as it was.
TEST(WebProgramScaled, TakesALargerSetInTheMiddleOfAGame) {
    const auto files = sourceTreeResolver(KZ_SOURCE_ROOT);
    const auto withoutTwice = [&](int32_t id, int32_t scale) {
        return scale == 2 ? std::vector<uint8_t>{} : files(id, scale);
    };
    FakePage page;
    WebProgram program(page, withoutTwice);
    FakePage sharpPage;
    WebProgram sharp(sharpPage, withoutTwice, 3);
    for (WebProgram* each : {&program, &sharp}) {
        each->start();
        // One puzzle in both: Next draws by the second each board was made in.
        ASSERT_TRUE(each->playPuzzleCode("3MNWJ7CXSM"));
    }
    ASSERT_TRUE(page.animationFrame());
    ASSERT_TRUE(sharpPage.animationFrame());

    EXPECT_FALSE(program.useScale(2)) << "no such set";
    EXPECT_EQ(program.scale(), 1);
    EXPECT_EQ(page.canvasWidth, 690);
    ASSERT_TRUE(program.useScale(3));
    ASSERT_TRUE(page.animationFrame());
    EXPECT_EQ(program.scale(), 3);
    EXPECT_EQ(program.width(), 690) << "the game keeps its coordinates";
    EXPECT_EQ(page.canvasWidth, 2070);
    ASSERT_EQ(page.canvas.size(), 2070u * 1500u);
    EXPECT_TRUE(page.canvas == sharpPage.canvas)
        << "the game in progress, drawn from the larger set";
    EXPECT_FALSE(program.useScale(3)) << "the set in use";
}

}  // namespace
}  // namespace kz
