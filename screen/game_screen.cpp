#include "screen/game_screen.h"

#include <array>
#include <memory>
#include <utility>
#include <vector>

namespace kz {

namespace {

// Positions of the pictures in the screen's constructor order.
enum ImageSlot : size_t {
    HorizontalStickImage,
    VerticalStickImage,
    FeltImage,
    InstructionsPanelImage,
    MovesPanelImage,
    TimePanelImage,
    ControlsPanelImage,
    RestartImage,
    GiveUpImage,
    QuitImage,
    NextImage,
    StartTextImage,
    WinBannerImage,
    AddImage,
    MoveImage,
    RemoveImage,
    MatchesImage,
    ToFormImage,
    SquaresImage,
    SmallDigitsImage,
    LargeDigitsImage,
};

constexpr int32_t kBoardX = 195;
constexpr int32_t kBoardY = 5;
constexpr int32_t kLargestField = 5;
constexpr int32_t kSideColumnWidth = 200;
constexpr int32_t kPanelX = 10;
constexpr int32_t kPanelGap = 5;

}  // namespace

int32_t GameScreen::widthFor(int32_t horizontalStickWidth, int32_t verticalStickWidth) {
    return Board::widthFor(kLargestField, horizontalStickWidth, verticalStickWidth) +
           kSideColumnWidth;
}

GameScreen::GameScreen(Element* newParent, int32_t newX, int32_t newY, const ScreenImages& images,
                       Host& screenHost, const PuzzleCatalogue* gradedCatalogue)
    : Element(newParent, newX, newY, nullptr), host(screenHost), catalogue(gradedCatalogue) {
    buildLayout(images);
}

void GameScreen::buildLayout(const ScreenImages& images) {
    const auto imageAt = [&images](ImageSlot slot) { return images[slot]; };
    const auto below = [](Element* e) { return e->getY() + e->getHeight() + kPanelGap; };

    auto boardOwner =
        std::make_unique<Board>(this, kBoardX, kBoardY, imageAt(HorizontalStickImage),
                                imageAt(VerticalStickImage), kLargestField, kLargestField);
    board = boardOwner.get();

    auto makePicture = [this](int32_t px, int32_t py, Image* picture) {
        return std::make_unique<Element>(this, px, py, picture);
    };
    auto instructionsOwner = makePicture(kPanelX, 5, imageAt(InstructionsPanelImage));
    instructionsPanel = instructionsOwner.get();
    auto movesOwner = makePicture(kPanelX, below(instructionsPanel), imageAt(MovesPanelImage));
    movesPanel = movesOwner.get();
    auto timeOwner = makePicture(kPanelX, below(movesPanel), imageAt(TimePanelImage));
    timePanel = timeOwner.get();
    auto controlsOwner = makePicture(kPanelX, below(timePanel), imageAt(ControlsPanelImage));
    controlsPanel = controlsOwner.get();

    const int32_t leftButtonX =
        kPanelX + controlsPanel->getWidth() / 2 - imageAt(QuitImage)->getFrameWidth();
    const int32_t rightButtonX = kPanelX + controlsPanel->getWidth() / 2;
    const int32_t buttonY = controlsPanel->getY() + 40;
    auto makeButton = [this](int32_t px, int32_t py, Image* picture) {
        return std::make_unique<Button>(this, px, py, picture, 0, 1, 1);
    };
    auto restartOwner = makeButton(leftButtonX, buttonY, imageAt(RestartImage));
    restartButton = restartOwner.get();
    auto giveUpOwner = makeButton(rightButtonX, buttonY, imageAt(GiveUpImage));
    giveUpButton = giveUpOwner.get();
    auto quitOwner = makeButton(leftButtonX, buttonY, imageAt(QuitImage));
    quitButton = quitOwner.get();
    auto nextOwner = makeButton(rightButtonX, buttonY, imageAt(NextImage));
    nextButton = nextOwner.get();

    // Centred across the Instructions panel.
    const auto centredX = [this](Image* picture) {
        return instructionsPanel->getX() +
               (instructionsPanel->getWidth() - picture->getFrameWidth()) / 2;
    };
    const int32_t panelTop = instructionsPanel->getY();
    auto startOwner =
        makePicture(centredX(imageAt(StartTextImage)), panelTop + 55, imageAt(StartTextImage));
    startText = startOwner.get();
    auto winOwner =
        makePicture(centredX(imageAt(WinBannerImage)), panelTop + 75, imageAt(WinBannerImage));
    winBanner = winOwner.get();
    auto addOwner = makePicture(centredX(imageAt(AddImage)), panelTop + 55, imageAt(AddImage));
    wordAdd = addOwner.get();
    auto moveOwner = makePicture(centredX(imageAt(MoveImage)), panelTop + 55, imageAt(MoveImage));
    wordMove = moveOwner.get();
    auto removeOwner =
        makePicture(centredX(imageAt(RemoveImage)), panelTop + 55, imageAt(RemoveImage));
    wordRemove = removeOwner.get();

    // A two-digit number and a word, centred together with a gap of 5.
    const int32_t smallDigitWidth = imageAt(SmallDigitsImage)->getFrameWidth();
    const auto rowStart = [&](Image* word) {
        return instructionsPanel->getX() +
               (instructionsPanel->getWidth() - 2 * smallDigitWidth - word->getFrameWidth() - 5) /
                   2;
    };
    const int32_t matchesRowX = rowStart(imageAt(MatchesImage));
    const int32_t matchesRowY = below(wordAdd);
    auto matchesOwner =
        makePicture(matchesRowX + 2 * smallDigitWidth + 5, matchesRowY, imageAt(MatchesImage));
    wordMatches = matchesOwner.get();
    auto toFormOwner =
        makePicture(centredX(imageAt(ToFormImage)), below(wordMatches), imageAt(ToFormImage));
    wordToForm = toFormOwner.get();
    const int32_t squaresRowX = rowStart(imageAt(SquaresImage));
    const int32_t squaresRowY = below(wordToForm);
    auto squaresOwner =
        makePicture(squaresRowX + 2 * smallDigitWidth + 5, squaresRowY, imageAt(SquaresImage));
    wordSquares = squaresOwner.get();

    auto matchesCounterOwner = std::make_unique<Counter>(this, matchesRowX, matchesRowY,
                                                         imageAt(SmallDigitsImage), 2, 0, true);
    matchesCounter = matchesCounterOwner.get();
    auto squaresCounterOwner = std::make_unique<Counter>(this, squaresRowX, squaresRowY,
                                                         imageAt(SmallDigitsImage), 2, 0, true);
    squaresCounter = squaresCounterOwner.get();
    const int32_t largeDigitWidth = imageAt(LargeDigitsImage)->getFrameWidth();
    auto movesCounterOwner = std::make_unique<Counter>(
        this, movesPanel->getX() + movesPanel->getWidth() / 2 - largeDigitWidth,
        movesPanel->getY() + 50, imageAt(LargeDigitsImage), 2, 0, true);
    movesCounter = movesCounterOwner.get();
    auto clockOwner = std::make_unique<Counter>(
        this, timePanel->getX() + timePanel->getWidth() / 2 - 4 * largeDigitWidth,
        timePanel->getY() + 50, imageAt(LargeDigitsImage), 8, 0, false, true);
    clockCounter = clockOwner.get();

    for (Element* hidden :
         {winBanner, static_cast<Element*>(restartButton), static_cast<Element*>(giveUpButton),
          wordAdd, wordMove, wordRemove, wordMatches, wordToForm, wordSquares,
          static_cast<Element*>(matchesCounter), static_cast<Element*>(squaresCounter)}) {
        hidden->setVisible(false);
    }

    width = board->getWidth() + kSideColumnWidth;
    height = kHeight;
    auto backdropOwner = std::make_unique<Backdrop>(this, 0, 0, width, height, imageAt(FeltImage));
    backdrop = backdropOwner.get();

    std::vector<std::unique_ptr<Element>> drawingOrder;
    drawingOrder.reserve(22);
    drawingOrder.push_back(std::move(backdropOwner));
    drawingOrder.push_back(std::move(instructionsOwner));
    drawingOrder.push_back(std::move(movesOwner));
    drawingOrder.push_back(std::move(timeOwner));
    drawingOrder.push_back(std::move(controlsOwner));
    drawingOrder.push_back(std::move(restartOwner));
    drawingOrder.push_back(std::move(giveUpOwner));
    drawingOrder.push_back(std::move(quitOwner));
    drawingOrder.push_back(std::move(nextOwner));
    drawingOrder.push_back(std::move(addOwner));
    drawingOrder.push_back(std::move(moveOwner));
    drawingOrder.push_back(std::move(removeOwner));
    drawingOrder.push_back(std::move(matchesOwner));
    drawingOrder.push_back(std::move(toFormOwner));
    drawingOrder.push_back(std::move(squaresOwner));
    drawingOrder.push_back(std::move(startOwner));
    drawingOrder.push_back(std::move(winOwner));
    drawingOrder.push_back(std::move(matchesCounterOwner));
    drawingOrder.push_back(std::move(squaresCounterOwner));
    drawingOrder.push_back(std::move(movesCounterOwner));
    drawingOrder.push_back(std::move(clockOwner));
    drawingOrder.push_back(std::move(boardOwner));
    setChildren(std::move(drawingOrder));

    mouseEnabled = true;
    timerId = 0;
}

void GameScreen::setFieldSize(FieldSize size) {
    board->setFieldSize(size);
}

FieldSize GameScreen::getFieldSize() {
    return board->getFieldSize();
}

void GameScreen::setActionType(ActionType type) {
    board->setActionType(type);
}

ActionType GameScreen::getActionType() {
    return board->getActionType();
}

void GameScreen::onTimer() {
    clockCounter->increment();
}

void GameScreen::onChildEvent(Element* child, ElementEvent code) {
    if (child == nextButton) {
        if (code == Button::ButtonClick) {
            startNewGame();
        }
    } else if (child == quitButton) {
        if (code == Button::ButtonClick) {
            host.quit(0);
        }
    } else if (child == giveUpButton) {
        if (code == Button::ButtonClick) {
            board->showSolution();
            setPlaying(false);
            stopTimer();
            tell(ScreenEvent::GaveUp);
        }
    } else if (child == restartButton) {
        if (code == Button::ButtonClick) {
            board->restart();
            movesCounter->setValue(0);
            tell(ScreenEvent::Restarted);
        }
    } else if (child == board) {
        if (code == Board::MovesChanged) {
            movesCounter->setValue(board->getMovesMade());
            tell(ScreenEvent::MovesChanged);
        } else if (code == Board::Solved) {
            playerWon();
        }
    }
}

bool GameScreen::startPuzzle(const PuzzleOrigin& origin, Difficulty grade) {
    if (!board->canBuild(origin)) {
        return false;
    }
    startNewGame(&origin, grade);
    return true;
}

void GameScreen::beginSearchAhead() {
    searchAhead.reset();
    if (difficulty != AsDesigned) {
        searchAhead = std::make_unique<GradedPuzzleSearch>(
            board->randomSource(), difficulty, board->getFieldSize(), board->getActionType(),
            board->getMaxColumns(), board->getMaxRows(), catalogue);
    }
}

bool GameScreen::searchAheadStep() {
    if (searchAhead &&
        searchAhead->answers(board->randomSource(), difficulty, board->getFieldSize(),
                             board->getActionType(), board->getMaxColumns(), board->getMaxRows())) {
        return searchAhead->step();
    }
    return false;
}

void GameScreen::startNewGame(const PuzzleOrigin* origin, Difficulty grade) {
    shownGrade = grade;
    resize = {};
    if (origin != nullptr) {
        board->newPuzzleFrom(*origin);
    } else if (difficulty == AsDesigned) {
        board->newPuzzle();
    } else {
        // Picked from the same random source, so the puzzle has a code like any other.
        const FieldSize size = board->getFieldSize();
        const ActionType kind = board->getActionType();
        const int32_t columns = board->getMaxColumns();
        const int32_t rows = board->getMaxRows();
        RandomSource& random = board->randomSource();
        const GradedPick picked =
            searchAhead && searchAhead->answers(random, difficulty, size, kind, columns, rows)
                ? searchAhead->take(random)
                : pickGradedPuzzle(random, difficulty, size, kind, columns, rows, catalogue);
        board->newPuzzleFrom(picked.origin);
        shownGrade = difficulty;
        resize = picked.resize;
    }
    searchAhead.reset();
    const BoardMode mode = board->getMode();
    const int32_t required = board->getRequiredMoves();
    const int32_t target = board->getTargetSquares();
    showInstruction(mode, required, target);
    movesCounter->setValue(0);
    clockCounter->setValue(0);
    stopTimer();
    timerId = host.startTimer(kGameTimerId, kGameTimerPeriodMs);
    setPlaying(true);
    tell(ScreenEvent::GameStarted);
}

void GameScreen::playerWon() {
    for (Element* e :
         {wordAdd, wordMove, wordRemove, wordMatches, wordToForm, wordSquares,
          static_cast<Element*>(matchesCounter), static_cast<Element*>(squaresCounter)}) {
        e->setVisible(false);
    }
    winBanner->setVisible(true);
    host.beep();
    setPlaying(false);
    stopTimer();
    tell(ScreenEvent::Won);
}

void GameScreen::stopTimer() {
    host.stopTimer(timerId);
}

void GameScreen::tell(ScreenEvent::Kind kind) {
    if (listener != nullptr) {
        listener->screenEvent({kind, board->getOrigin(), shownGrade, clockCounter->getValue(),
                               board->getMovesMade(), board->getRequiredMoves()});
    }
}

void GameScreen::showInstruction(BoardMode mode, int32_t requiredMoves, int32_t targetSquares) {
    matchesCounter->setValue(requiredMoves);
    squaresCounter->setValue(targetSquares);
    startText->setVisible(false);
    for (Element* e : {wordMatches, wordToForm, wordSquares, static_cast<Element*>(matchesCounter),
                       static_cast<Element*>(squaresCounter)}) {
        e->setVisible(true);
    }
    // The verb of the mode first, then the other two hidden in their usual order: the
    // rectangles that become dirty, and so the blits, follow that order.
    const std::array<Element*, 3> verbs = {wordAdd, wordMove, wordRemove};
    Element* shown = mode == Add      ? wordAdd
                     : mode == Move   ? wordMove
                     : mode == Remove ? wordRemove
                                      : nullptr;
    if (shown != nullptr) {
        shown->setVisible(true);
        for (Element* verb : verbs) {
            if (verb != shown) {
                verb->setVisible(false);
            }
        }
    }
    winBanner->setVisible(false);
}

void GameScreen::setPlaying(bool playing) {
    quitButton->setVisible(!playing);
    nextButton->setVisible(!playing);
    restartButton->setVisible(playing);
    giveUpButton->setVisible(playing);
}

}  // namespace kz
