#include "app/common/extra_play.h"

#include <algorithm>
#include <memory>

#include "app/common/clock_text.h"
#include "app/common/commands.h"
#include "display/messages.h"
#include "puzzle/hint.h"

namespace kz {

namespace {

// A picture element that starts hidden without asking for a repaint.
class HiddenPicture : public Element {
  public:
    HiddenPicture(Element* newParent, Image* picture) : Element(newParent, 0, 0, picture) {
        visible = false;
    }
};

// The state the stick would show after the change a hint asks for.
int32_t changedState(int32_t stateFrame) {
    switch (stateFrame) {
        case Present:
            return Removed;
        case Removed:
            return Present;
        case Added:
            return Empty;
        default:
            return Added;
    }
}

}  // namespace

ExtraPlay::ExtraPlay(GameScreen& gameScreen, Host& gameHost, Announcer& gameAnnouncer)
    : screen(gameScreen), host(gameHost), announcer(gameAnnouncer) {
    Board& b = board();
    Image* pictures[2] = {b.getHorizontalSprite(0)->getImage(), b.getVerticalSprite(0)->getImage()};
    for (int i = 0; i < 2; ++i) {
        hintMarkers[i] = screen.addTopChild(std::make_unique<HiddenPicture>(&screen, pictures[i]));
    }
    auto frameOwner = std::make_unique<FocusFrame>(&screen, kFocusThickness, kFocusColour);
    frame = frameOwner.get();
    screen.addTopChild(std::move(frameOwner));
    focus.button = screen.getNextButton();
    startHistory();
    puzzleShown = b.isActive();
    screen.setListener(this);
}

ExtraPlay::~ExtraPlay() {
    endHint();
    frame->hide();
    screen.setListener(nullptr);
}

Element* ExtraPlay::getHintMarker(StickOrientation orientation) const {
    return hintMarkers[orientation == Horizontal ? 0 : 1];
}

// ---- Routing ----

bool ExtraPlay::key(uint32_t message, uint32_t wparam, int64_t /*lparam*/, uint32_t modifiers) {
    if (message != msg::KeyDown || (modifiers & keyflag::Alt) != 0) {
        return false;
    }
    endHint();
    const bool shift = (modifiers & keyflag::Shift) != 0;
    if ((modifiers & keyflag::Control) != 0) {
        if (wparam == virtualkey::Z && !shift) {
            undo();
            return true;
        }
        if (wparam == virtualkey::Z || wparam == virtualkey::Y) {
            redo();
            return true;
        }
        return false;
    }
    switch (wparam) {
        case virtualkey::H:
            hint();
            return true;
        case virtualkey::Left:
            move(GoLeft);
            return true;
        case virtualkey::Right:
            move(GoRight);
            return true;
        case virtualkey::Up:
            move(GoUp);
            return true;
        case virtualkey::Down:
            move(GoDown);
            return true;
        case virtualkey::Space:
        case virtualkey::Return:
            activate();
            return true;
        case virtualkey::Escape:
            if (playing() && board().isStickInHand()) {
                putBack();
                return true;
            }
            return false;
        default:
            return false;
    }
}

void ExtraPlay::onMouse(uint32_t message, uint32_t /*wparam*/, int32_t x, int32_t y) {
    const bool press = message == msg::LeftButtonDown || message == msg::RightButtonDown ||
                       message == msg::MiddleButtonDown || message == msg::LeftButtonDoubleClick ||
                       message == msg::RightButtonDoubleClick ||
                       message == msg::MiddleButtonDoubleClick;
    // Window systems repeat the pointer's place now and then without a move of the mouse.
    const bool moved = message == msg::MouseMove && lastPointer != Point{x, y};
    lastPointer = Point{x, y};
    if (press || moved) {
        frame->hide();
    }
    if (press) {
        endHint();
    }
}

bool ExtraPlay::command(uint16_t id) {
    endHint();
    switch (id) {
        case command::Undo:
            undo();
            return true;
        case command::Redo:
            redo();
            return true;
        case command::Hint:
            hint();
            return true;
        default:
            return false;
    }
}

bool ExtraPlay::timer(uint32_t id) {
    if (id != kHintTimerId) {
        return false;
    }
    if (hintMarker == nullptr) {
        host.stopTimer(id);  // a tick that was on its way when the hint ended
        return true;
    }
    ++blinks;
    if (blinks >= kHintBlinks) {
        endHint();
    } else {
        hintMarker->setVisible(blinks % 2 == 0);
    }
    return true;
}

// ---- The flow of play ----

void ExtraPlay::screenEvent(ScreenEvent event) {
    switch (event) {
        case ScreenEvent::GameStarted:
            endHint();
            puzzleShown = true;
            startHistory();
            followed.reset();
            hintsUsed = 0;
            keepFocusValid();
            say(instruction());
            break;
        case ScreenEvent::Restarted:
            endHint();
            startHistory();
            say("Restart, " + movesText());
            break;
        case ScreenEvent::GaveUp:
            endHint();
            startHistory();
            keepFocusValid();
            say("Give Up: the solution is shown.");
            break;
        case ScreenEvent::Won:
            endHint();
            startHistory();
            keepFocusValid();
            say("You win!");
            break;
        case ScreenEvent::MovesChanged:
            if (applying) {
                return;  // this object's own undo, redo or put-back, told by itself
            }
            if (board().isStickInHand()) {
                say("Match picked up.");
            } else if (board().getCurrentSticks() != committed()) {
                history.resize(cursor + 1);
                history.push_back(board().getCurrentSticks());
                ++cursor;
                say("M" + movesText().substr(1));
            } else {
                say("Match put back.");
            }
            break;
    }
    placeFrame();
    tellCommands();
    announcer.descriptionChanged();
}

void ExtraPlay::startHistory() {
    history.assign(1, board().getCurrentSticks());
    cursor = 0;
}

bool ExtraPlay::canUndo() {
    return playing() && (cursor > 0 || board().isStickInHand());
}

bool ExtraPlay::canRedo() {
    return playing() && cursor + 1 < history.size();
}

bool ExtraPlay::canHint() {
    return playing();
}

void ExtraPlay::applyLayout(const StickLayers& layout) {
    // A copy: a win on the way starts the history anew.
    const StickLayers target = layout;
    applying = true;
    board().setLayout(target);
    applying = false;
}

void ExtraPlay::undo() {
    endHint();
    if (!canUndo()) {
        if (playing()) {
            say("Nothing to undo.");
        }
        return;
    }
    if (board().isStickInHand()) {
        putBack();
        return;
    }
    --cursor;
    const StickLayers target = history[cursor];
    say("Undo, move " + std::to_string(board().movesFromStart(target)) + " of " +
        std::to_string(board().getRequiredMoves()));
    applyLayout(target);
    tellCommands();
    announcer.descriptionChanged();
}

void ExtraPlay::redo() {
    endHint();
    if (!canRedo()) {
        if (playing()) {
            say("Nothing to redo.");
        }
        return;
    }
    ++cursor;
    const StickLayers target = history[cursor];
    say("Redo, move " + std::to_string(board().movesFromStart(target)) + " of " +
        std::to_string(board().getRequiredMoves()));
    applyLayout(target);
    placeFrame();
    tellCommands();
    announcer.descriptionChanged();
}

void ExtraPlay::putBack() {
    endHint();
    if (!playing() || !board().isStickInHand()) {
        return;
    }
    say("Match put back.");
    applyLayout(committed());
    tellCommands();
    announcer.descriptionChanged();
}

std::vector<StickSlot> ExtraPlay::newestChanges() const {
    std::vector<StickSlot> changes;
    for (size_t i = cursor; i >= 1; --i) {
        const StickLayers& after = history[i];
        const StickLayers& before = history[i - 1];
        for (size_t s = 0; s < after.horizontal.size(); ++s) {
            if (after.horizontal[s] != before.horizontal[s]) {
                changes.push_back({Horizontal, static_cast<int32_t>(s)});
            }
        }
        for (size_t s = 0; s < after.vertical.size(); ++s) {
            if (after.vertical[s] != before.vertical[s]) {
                changes.push_back({Vertical, static_cast<int32_t>(s)});
            }
        }
    }
    return changes;
}

// ---- Hints ----

void ExtraPlay::hint() {
    endHint();
    if (!canHint()) {
        return;
    }
    const std::optional<Hint> next =
        nextHint(board(), committed(), newestChanges(), followed ? &*followed : nullptr);
    if (!next) {
        return;
    }
    followed = next->solution;
    ++hintsUsed;
    const int32_t state = board().getSprite(next->stick)->getFrame() & ~1;
    const char* verb = "add";
    switch (board().getMode()) {
        case Add:
            verb = state == Added ? "take away" : "add";
            break;
        case Remove:
            verb = state == Removed ? "put back" : "remove";
            break;
        case Move:
            verb = state == Present || state == Added ? "pick up" : "put it down at";
            break;
    }
    say(std::string("Hint: ") + verb + " " + stickText(next->stick, false));
    showHint(next->stick);
}

void ExtraPlay::showHint(StickSlot stick) {
    Element* sprite = board().getSprite(stick);
    Element* marker = getHintMarker(stick.orientation);
    // Placed and dressed while hidden, so only its showing repaints.
    marker->moveTo(board().getX() + sprite->getX(), board().getY() + sprite->getY());
    marker->setFrame(changedState(sprite->getFrame() & ~1));
    marker->setVisible(true);
    hintMarker = marker;
    hinted = stick;
    blinks = 0;
    host.startTimer(kHintTimerId, kHintBlinkMs);
}

void ExtraPlay::endHint() {
    if (hintMarker == nullptr) {
        return;
    }
    hintMarker->setVisible(false);
    hintMarker = nullptr;
    hinted.reset();
    host.stopTimer(kHintTimerId);
}

// ---- The keyboard focus ----

bool ExtraPlay::isTarget(const Focus& f) {
    if (f.onStick) {
        return puzzleShown &&
               (f.stick.orientation == Horizontal ? board().isActiveHorizontal(f.stick.index)
                                                  : board().isActiveVertical(f.stick.index));
    }
    return f.button != nullptr && f.button->isVisible();
}

ExtraPlay::Focus ExtraPlay::boardEntry() {
    Focus f;
    f.onStick = true;
    f.stick = lastStick.value_or(StickSlot{Horizontal, 0});
    if (!isTarget(f)) {
        f.stick = StickSlot{Horizontal, 0};  // the top-left stick of every field
    }
    return f;
}

void ExtraPlay::keepFocusValid() {
    if (isTarget(focus)) {
        return;
    }
    // Next after a game starts, Restart or Give Up after it ends: the field while playing,
    // Next between games, never Quit.
    if (puzzleShown && playing()) {
        focus = boardEntry();
    } else {
        focus = Focus{false, {}, screen.getNextButton()};
    }
}

Rect ExtraPlay::targetRect(const Focus& f) {
    if (f.onStick) {
        Element* sprite = board().getSprite(f.stick);
        const int32_t left = board().getX() + sprite->getX();
        const int32_t top = board().getY() + sprite->getY();
        return {left, top, left + sprite->getWidth(), top + sprite->getHeight()};
    }
    Button* b = f.button;
    return {b->getX(), b->getY(), b->getX() + b->getWidth(), b->getY() + b->getHeight()};
}

void ExtraPlay::setFocus(const Focus& target) {
    focus = target;
    if (focus.onStick) {
        lastStick = focus.stick;
    }
    keepFocusValid();
    placeFrame();
}

void ExtraPlay::placeFrame() {
    if (frame->isShown()) {
        keepFocusValid();
        frame->surround(targetRect(focus));
    }
}

void ExtraPlay::pointAt(const Focus& f) {
    const Rect r = targetRect(f);
    screen.onMouse(msg::MouseMove, 0, r.left + r.width() / 2, r.top + r.height() / 2);
}

std::optional<ExtraPlay::Focus> ExtraPlay::stickNeighbour(StickSlot from, Direction direction) {
    const SlotGrid grid = board().slotGrid();
    const int32_t active = board().getActiveColumns();
    const int32_t activeRows = board().getActiveRows();
    const auto horizontal = [&](int32_t x, int32_t y) {
        return Focus{true, grid.slotAt({Horizontal, x, y}), nullptr};
    };
    const auto vertical = [&](int32_t x, int32_t y) {
        return Focus{true, grid.slotAt({Vertical, x, y}), nullptr};
    };
    // Rows of horizontal and rows of vertical sticks take turns down the field; up and down
    // go to the neighbouring row, left and right along the row.
    const SlotPlace place = grid.placeOf(from);
    const int32_t x = place.column;
    const int32_t y = place.row;
    if (from.orientation == Horizontal) {
        switch (direction) {
            case GoRight:
                return x + 1 < active ? std::optional<Focus>(horizontal(x + 1, y)) : std::nullopt;
            case GoLeft:
                return x >= 1 ? std::optional<Focus>(horizontal(x - 1, y)) : std::nullopt;
            case GoDown:
                return y < activeRows ? std::optional<Focus>(vertical(x, y)) : std::nullopt;
            case GoUp:
                return y >= 1 ? std::optional<Focus>(vertical(x, y - 1)) : std::nullopt;
        }
    }
    const int32_t below = std::min(x, active - 1);
    switch (direction) {
        case GoRight:
            return x + 1 <= active ? std::optional<Focus>(vertical(x + 1, y)) : std::nullopt;
        case GoLeft:
            return x >= 1 ? std::optional<Focus>(vertical(x - 1, y)) : std::nullopt;
        case GoDown:
            return y + 1 <= activeRows ? std::optional<Focus>(horizontal(below, y + 1))
                                       : std::nullopt;
        case GoUp:
            return horizontal(below, y);
    }
    return std::nullopt;
}

void ExtraPlay::move(Direction direction) {
    keepFocusValid();
    if (!frame->isShown()) {
        // The first key shows where the focus is.
        frame->surround(targetRect(focus));
        pointAt(focus);
        announceFocus();
        return;
    }
    Button* leftButton =
        screen.getRestartButton()->isVisible() ? screen.getRestartButton() : screen.getQuitButton();
    Button* rightButton =
        screen.getGiveUpButton()->isVisible() ? screen.getGiveUpButton() : screen.getNextButton();
    Focus next = focus;
    if (focus.onStick) {
        if (const auto neighbour = stickNeighbour(focus.stick, direction)) {
            next = *neighbour;
        } else if (direction == GoLeft) {
            next = Focus{false, {}, rightButton};  // off the field's left edge: the buttons
        }
    } else if (direction == GoLeft && focus.button == rightButton) {
        next = Focus{false, {}, leftButton};
    } else if (direction == GoRight && focus.button == leftButton) {
        next = Focus{false, {}, rightButton};
    } else if (direction == GoRight && puzzleShown) {
        next = boardEntry();
    }
    focus = next;
    if (focus.onStick) {
        lastStick = focus.stick;
    }
    frame->surround(targetRect(focus));
    pointAt(focus);
    announceFocus();
}

void ExtraPlay::activate() {
    keepFocusValid();
    const Focus target = focus;
    frame->surround(targetRect(target));
    const bool wasPlaying = playing();
    const StickLayers before = board().getCurrentSticks();
    const bool inHandBefore = board().isStickInHand();
    const Rect r = targetRect(target);
    const int32_t cx = r.left + r.width() / 2;
    const int32_t cy = r.top + r.height() / 2;
    // What the mouse would do there: hover, press, release. The Board and the buttons apply
    // their own rules.
    screen.onMouse(msg::MouseMove, 0, cx, cy);
    screen.onMouse(msg::LeftButtonDown, mouseflag::LeftButton, cx, cy);
    screen.onMouse(msg::LeftButtonUp, 0, cx, cy);
    if (target.onStick && wasPlaying && board().getCurrentSticks() == before &&
        board().isStickInHand() == inHandBefore) {
        say("This match cannot be changed now.");
    }
    keepFocusValid();
    placeFrame();
    if (!(focus == target)) {
        announceFocus();
    }
    tellCommands();
}

void ExtraPlay::announceFocus() {
    say(focus.onStick ? stickText(focus.stick, true) : buttonName(focus.button));
}

// ---- Texts ----

std::string ExtraPlay::instruction() {
    const BoardMode mode = board().getMode();
    const char* verb = mode == Add ? "Add" : mode == Move ? "Move" : "Remove";
    const int32_t matches = board().getRequiredMoves();
    const int32_t squares = board().getTargetSquares();
    return std::string(verb) + " " + std::to_string(matches) +
           (matches == 1 ? " match" : " matches") + " to form " + std::to_string(squares) +
           (squares == 1 ? " square." : " squares.");
}

std::string ExtraPlay::movesText() {
    return "move " + std::to_string(board().getMovesMade()) + " of " +
           std::to_string(board().getRequiredMoves());
}

std::string ExtraPlay::stickText(StickSlot stick, bool withState) {
    const SlotPlace place = board().slotGrid().placeOf(stick);
    std::string text = std::string(stick.orientation == Horizontal ? "horizontal" : "vertical") +
                       " match, row " + std::to_string(place.row + 1) + ", column " +
                       std::to_string(place.column + 1);
    if (withState) {
        switch (board().getSprite(stick)->getFrame() & ~1) {
            case Present:
                text += ", present";
                break;
            case Added:
                text += ", added";
                break;
            case Removed:
                text += ", removed";
                break;
            default:
                text += ", empty";
                break;
        }
    }
    return text;
}

std::string ExtraPlay::buttonName(Button* button) {
    if (button == screen.getNextButton()) {
        return "Next";
    }
    if (button == screen.getQuitButton()) {
        return "Quit";
    }
    if (button == screen.getRestartButton()) {
        return "Restart";
    }
    return "Give Up";
}

std::string ExtraPlay::description() {
    if (!puzzleShown) {
        return "Start the game by pressing the Next Button.";
    }
    const int32_t seconds = screen.getClockCounter()->getValue();
    const std::string clock = "time " + clockText(seconds) + ".";
    if (screen.getWinBanner()->isVisible()) {
        return "You win! " + std::to_string(board().getMovesMade()) + " moves, " + clock;
    }
    if (playing()) {
        std::string text = instruction() + " M" + movesText().substr(1) + ", ";
        if (board().isStickInHand()) {
            text += "a match in hand, ";
        }
        return text + clock;
    }
    return instruction() + " Given up: the solution is shown.";
}

void ExtraPlay::tellCommands() {
    const int32_t state = (canUndo() ? 1 : 0) | (canRedo() ? 2 : 0) | (canHint() ? 4 : 0);
    if (state != commandState) {
        commandState = state;
        announcer.commandsChanged();
    }
}

void ExtraPlay::say(const std::string& text) {
    announcer.announce(text);
}

}  // namespace kz
