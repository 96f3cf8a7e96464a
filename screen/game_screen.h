#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "display/backdrop.h"
#include "display/button.h"
#include "display/counter.h"
#include "display/element.h"
#include "puzzle/puzzle_grade.h"
#include "puzzle/puzzle_origin.h"
#include "screen/board.h"
#include "screen/host.h"
#include "screen/image_table.h"

namespace kz {

// The 21 pictures in the order the screen takes them (kScreenImageOrder).
using ScreenImages = std::array<Image*, kImageCount>;

// What the screen did, and how the game stands once it has finished acting on it, for a
// listener that follows the flow of play: the listener need not read the screen back.
struct ScreenEvent {
    enum Kind {
        GameStarted,   // Next: a new puzzle is on show
        Restarted,     // Restart: the Board is back at its start
        GaveUp,        // Give Up: the solution is on show
        MovesChanged,  // the Board changed the player's layout and recounted
        Won,           // YOU WIN! is on show
    };
    Kind kind = GameStarted;
    PuzzleOrigin origin;            // the puzzle on show
    Difficulty grade = AsDesigned;  // the grade it is shown as (GameScreen::getShownGrade)
    int32_t seconds = 0;            // the game clock
    int32_t movesMade = 0;
    int32_t requiredMoves = 0;
};

class ScreenListener {
  public:
    virtual ~ScreenListener() = default;
    virtual void screenEvent(const ScreenEvent& event) = 0;
};

// The root of the element tree and the controller of a game: lays out every picture, button,
// counter and the Board, reacts to clicks and to the Board, and runs the game clock.
class GameScreen : public Element {
  public:
    static constexpr uint32_t kGameTimerId = 1;
    static constexpr uint32_t kGameTimerPeriodMs = 1000;

    // catalogue: the graded puzzles a graded Next takes where it does not search, outliving the
    // screen; none (null) plays only the cells searched.
    GameScreen(Element* newParent, int32_t newX, int32_t newY, const ScreenImages& images,
               Host& screenHost, const PuzzleCatalogue* catalogue = nullptr);

    // The width the screen takes with matchsticks of these frame widths; its height is
    // always kHeight. Known before any picture is loaded.
    static int32_t widthFor(int32_t horizontalStickWidth, int32_t verticalStickWidth);
    static constexpr int32_t kHeight = 500;

    void onChildEvent(Element* child, ElementEvent code) override;

    virtual void setFieldSize(FieldSize size);
    virtual FieldSize getFieldSize();
    virtual void setActionType(ActionType type);
    virtual ActionType getActionType();
    // One second of the game clock.
    virtual void onTimer();
    virtual void buildLayout(const ScreenImages& images);
    virtual void showInstruction(BoardMode mode, int32_t requiredMoves, int32_t targetSquares);
    // Shows Restart and Give Up while playing, Quit and Next otherwise.
    virtual void setPlaying(bool playing);

    // The grade Next draws; AsDesigned, as after construction, takes the generator's first
    // puzzle. Used by the next Next, like the other two settings.
    void setDifficulty(Difficulty grade) { difficulty = grade; }
    Difficulty getDifficulty() const { return difficulty; }
    // The grade the last Next picked for, AsDesigned for any other puzzle; and whether that
    // Next played another field size than the one set.
    Difficulty getShownGrade() const { return shownGrade; }
    const FieldResize& getResize() const { return resize; }

    // Begins searching the puzzle the next graded Next will pick, from the settings and the
    // random source as they are now, so that Next finds it picked; nothing As designed. The
    // search goes on a puzzle per searchAheadStep. A Next whose settings or random source
    // have changed since searches afresh, so the puzzles stay those of pickGradedPuzzle.
    void beginSearchAhead();
    // One more puzzle of the search; false when none is needed any more.
    bool searchAheadStep();

    // Starts a game of the puzzle an origin names, as Next starts one of a new puzzle; the
    // settings stay as they are. False, and nothing changes, for an origin the Board cannot
    // build.
    // grade: what the puzzle is known to be, shown as the grade of a graded Next is.
    bool startPuzzle(const PuzzleOrigin& origin, Difficulty grade = AsDesigned);

    // At most one listener; null for none, as after construction.
    void setListener(ScreenListener* newListener) { listener = newListener; }
    // Puts an element above every child: drawn last, offered the mouse first. A screen that
    // is given none keeps exactly its own children.
    Element* addTopChild(std::unique_ptr<Element> child) { return addChild(std::move(child)); }

    Board* getBoard() const { return board; }
    Backdrop* getBackdrop() const { return backdrop; }
    Element* getInstructionsPanel() const { return instructionsPanel; }
    Element* getMovesPanel() const { return movesPanel; }
    Element* getTimePanel() const { return timePanel; }
    Element* getControlsPanel() const { return controlsPanel; }
    Button* getRestartButton() const { return restartButton; }
    Button* getGiveUpButton() const { return giveUpButton; }
    Button* getQuitButton() const { return quitButton; }
    Button* getNextButton() const { return nextButton; }
    Element* getStartText() const { return startText; }
    Element* getWinBanner() const { return winBanner; }
    Element* getWordAdd() const { return wordAdd; }
    Element* getWordMove() const { return wordMove; }
    Element* getWordRemove() const { return wordRemove; }
    Element* getWordMatches() const { return wordMatches; }
    Element* getWordToForm() const { return wordToForm; }
    Element* getWordSquares() const { return wordSquares; }
    Counter* getMatchesCounter() const { return matchesCounter; }
    Counter* getSquaresCounter() const { return squaresCounter; }
    Counter* getMovesCounter() const { return movesCounter; }
    Counter* getClockCounter() const { return clockCounter; }
    uint32_t getTimerId() const { return timerId; }

  private:
    // A new puzzle from the settings, or the puzzle of origin when one is given.
    void startNewGame(const PuzzleOrigin* origin = nullptr, Difficulty grade = AsDesigned);
    void playerWon();
    void stopTimer();
    void tell(ScreenEvent::Kind kind);

    Host& host;
    ScreenListener* listener = nullptr;
    Board* board = nullptr;
    Backdrop* backdrop = nullptr;
    Element* instructionsPanel = nullptr;
    Element* movesPanel = nullptr;
    Element* timePanel = nullptr;
    Element* controlsPanel = nullptr;
    Button* restartButton = nullptr;
    Button* giveUpButton = nullptr;
    Button* quitButton = nullptr;
    Button* nextButton = nullptr;
    Element* startText = nullptr;
    Element* winBanner = nullptr;
    Element* wordAdd = nullptr;
    Element* wordMove = nullptr;
    Element* wordRemove = nullptr;
    Element* wordMatches = nullptr;
    Element* wordToForm = nullptr;
    Element* wordSquares = nullptr;
    Counter* matchesCounter = nullptr;
    Counter* squaresCounter = nullptr;
    Counter* movesCounter = nullptr;
    Counter* clockCounter = nullptr;
    uint32_t timerId = 0;
    Difficulty difficulty = AsDesigned;
    const PuzzleCatalogue* catalogue;
    std::unique_ptr<GradedPuzzleSearch> searchAhead;
    Difficulty shownGrade = AsDesigned;
    FieldResize resize;
};

}  // namespace kz
