#include "app/common/saved_game.h"

#include <utility>

#include "app/common/stored_number.h"
#include "puzzle/move_rules.h"
#include "puzzle/puzzle_board.h"
#include "puzzle/puzzle_code.h"
#include "puzzle/slot_grid.h"

namespace kz {
namespace {

constexpr std::string_view kHeading = "# Kestrane Zivadorured game in progress";
// The game clock stops at 59:59:59.
constexpr int64_t kLongestClock = 215999;
// The 5 x 5 field the text numbers the slots in; both its layers are as long.
constexpr SlotGrid kTextGrid(kLargestSide, kLargestSide);

// Digits only, no leading zero, at most largest.
std::optional<int64_t> number(std::string_view text, int64_t largest) {
    return storedNumber(text, largest, LeadingZeros::Refused);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    if (text.empty()) {
        return parts;
    }
    for (size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator)) {
        parts.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    parts.push_back(text);
    return parts;
}

std::optional<StickSlot> slotOf(std::string_view text) {
    if (text.size() < 2 || (text[0] != 'h' && text[0] != 'v')) {
        return std::nullopt;
    }
    const std::optional<int64_t> index = number(text.substr(1), kTextGrid.horizontalSlots() - 1);
    if (!index) {
        return std::nullopt;
    }
    return StickSlot{text[0] == 'h' ? Horizontal : Vertical, static_cast<int32_t>(*index)};
}

std::string slotText(StickSlot slot) {
    return (slot.orientation == Horizontal ? "h" : "v") + std::to_string(slot.index);
}

// Slots joined by separator; each slot once.
std::optional<SavedGame::Move> slotsOf(std::string_view text, char separator) {
    SavedGame::Move slots;
    for (std::string_view part : split(text, separator)) {
        const std::optional<StickSlot> slot = slotOf(part);
        if (!slot) {
            return std::nullopt;
        }
        for (const StickSlot& earlier : slots) {
            if (earlier == *slot) {
                return std::nullopt;
            }
        }
        slots.push_back(*slot);
    }
    return slots;
}

std::string slotsText(const SavedGame::Move& slots, char separator) {
    std::string text;
    for (const StickSlot& slot : slots) {
        text += (text.empty() ? "" : std::string(1, separator)) + slotText(slot);
    }
    return text;
}

// The text's key=value lines in order, between the heading and `end`.
class Lines {
  public:
    explicit Lines(std::vector<std::pair<std::string_view, std::string_view>> all)
        : lines(std::move(all)) {}

    // The value of the next line when it has this key; the line is then taken.
    std::optional<std::string_view> take(std::string_view key) {
        if (next >= lines.size() || lines[next].first != key) {
            return std::nullopt;
        }
        return lines[next++].second;
    }
    // The next line's number when it has this key and a number up to largest.
    std::optional<int64_t> takeNumber(std::string_view key, int64_t largest) {
        const std::optional<std::string_view> value = take(key);
        return value ? number(*value, largest) : std::nullopt;
    }
    bool allTaken() const { return next == lines.size(); }

  private:
    std::vector<std::pair<std::string_view, std::string_view>> lines;
    size_t next = 0;
};

std::optional<Lines> linesOf(std::string_view text) {
    std::vector<std::pair<std::string_view, std::string_view>> lines;
    bool headed = false;
    bool ended = false;
    for (size_t newline = text.find('\n'); newline != std::string_view::npos;
         newline = text.find('\n')) {
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        if (ended) {
            return std::nullopt;
        }
        if (!headed) {
            if (line != kHeading) {
                return std::nullopt;
            }
            headed = true;
            continue;
        }
        if (line == "end") {
            ended = true;
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) {
            return std::nullopt;
        }
        lines.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    if (!ended || !text.empty()) {
        return std::nullopt;
    }
    return Lines(std::move(lines));
}

uint8_t& stickAt(StickLayers& layout, StickSlot slot) {
    return (slot.orientation == Horizontal ? layout.horizontal
                                           : layout.vertical)[static_cast<size_t>(slot.index)];
}

// Every slot lies in the board's layers and in its active field.
bool inField(const PuzzleBoard& board, const SavedGame::Move& slots) {
    const SlotGrid grid = board.slotGrid();
    for (const StickSlot& slot : slots) {
        if (!grid.holds(slot) ||
            !grid.inField(slot, board.getActiveColumns(), board.getActiveRows())) {
            return false;
        }
    }
    return true;
}

// The layout with every slot of the list turned over.
StickLayers turned(StickLayers layout, const SavedGame::Move& slots) {
    for (const StickSlot& slot : slots) {
        uint8_t& stick = stickAt(layout, slot);
        stick = stick != 0 ? 0 : 1;
    }
    return layout;
}

bool solves(PuzzleBoard& board, const StickLayers& layout) {
    return board.movesFromStart(layout) == board.getRequiredMoves() &&
           board.formsTargetSquares(layout);
}

}  // namespace

std::optional<SavedGame> readSavedGame(std::string_view text) {
    std::optional<Lines> lines = linesOf(text);
    if (!lines) {
        return std::nullopt;
    }
    if (lines->takeNumber("version", 999'999) != kSavedGameFormatVersion) {
        return std::nullopt;
    }
    SavedGame game;
    const std::optional<std::string_view> code = lines->take("puzzle");
    const std::optional<PuzzleOrigin> origin =
        code ? puzzleFromCode(*code) : std::optional<PuzzleOrigin>();
    // Only the code exactly as written names the puzzle.
    if (!origin || puzzleCode(*origin) != *code) {
        return std::nullopt;
    }
    game.origin = *origin;
    const std::optional<int64_t> sizeNumber = lines->takeNumber("size", 5);
    const std::optional<int64_t> typeNumber = lines->takeNumber("type", 5);
    if (!sizeNumber || !typeNumber) {
        return std::nullopt;
    }
    game.table = {static_cast<int32_t>(*sizeNumber), static_cast<int32_t>(*typeNumber)};
    if (!isValidRecordKey(game.table)) {
        return std::nullopt;
    }
    if (const std::optional<std::string_view> day = lines->take("day")) {
        game.day = dayFromText(*day);
        if (!game.day || dayText(*game.day) != *day) {
            return std::nullopt;
        }
        if (const std::optional<std::string_view> past = lines->take("past")) {
            if (*past != "1") {
                return std::nullopt;
            }
            game.pastDay = true;
        }
    }
    if (const std::optional<std::string_view> grade = lines->take("grade")) {
        const std::optional<int64_t> value = number(*grade, Hard);
        if (!value || *value < Easy) {
            return std::nullopt;
        }
        game.grade = static_cast<Difficulty>(*value);
    }
    const std::optional<int64_t> seconds = lines->takeNumber("clock", kLongestClock);
    const std::optional<int64_t> hintCount = lines->takeNumber("hints", kLongestSavedGame);
    if (!seconds || !hintCount) {
        return std::nullopt;
    }
    game.seconds = static_cast<int32_t>(*seconds);
    game.hints = *hintCount;
    const std::optional<std::string_view> moves = lines->take("moves");
    if (!moves) {
        return std::nullopt;
    }
    for (std::string_view move : split(*moves, ' ')) {
        std::optional<SavedGame::Move> slots = slotsOf(move, '+');
        if (!slots || slots->empty() || slots->size() > 2 ||
            game.moves.size() == kLongestSavedGame) {
            return std::nullopt;
        }
        game.moves.push_back(std::move(*slots));
    }
    const std::optional<int64_t> undoneCount =
        lines->takeNumber("undone", static_cast<int64_t>(game.moves.size()));
    if (!undoneCount) {
        return std::nullopt;
    }
    game.undone = static_cast<size_t>(*undoneCount);
    if (const std::optional<std::string_view> solution = lines->take("hint-solution")) {
        game.hintSolution = slotsOf(*solution, ' ');
        if (!game.hintSolution) {
            return std::nullopt;
        }
    }
    if (!lines->allTaken()) {
        return std::nullopt;
    }
    return game;
}

std::string writeSavedGame(const SavedGame& game) {
    std::string text =
        std::string(kHeading) + "\nversion=" + std::to_string(kSavedGameFormatVersion) +
        "\npuzzle=" + puzzleCode(game.origin) + "\nsize=" + std::to_string(game.table.fieldSize) +
        "\ntype=" + std::to_string(game.table.actionType) + "\n";
    if (game.day) {
        text += "day=" + dayText(*game.day) + "\n";
        if (game.pastDay) {
            text += "past=1\n";
        }
    }
    if (game.grade != AsDesigned) {
        text += "grade=" + std::to_string(game.grade) + "\n";
    }
    text += "clock=" + std::to_string(game.seconds) + "\nhints=" + std::to_string(game.hints) +
            "\nmoves=";
    for (size_t i = 0; i < game.moves.size(); ++i) {
        text += (i == 0 ? "" : " ") + slotsText(game.moves[i], '+');
    }
    text += "\nundone=" + std::to_string(game.undone) + "\n";
    if (game.hintSolution) {
        text += "hint-solution=" + slotsText(*game.hintSolution, ' ') + "\n";
    }
    return text + "end\n";
}

std::optional<ReplayedGame> replaySavedGame(const SavedGame& game, int32_t largestColumns,
                                            int32_t largestRows) {
    PuzzleBoard board;
    board.configureField(largestColumns, largestRows);
    if (game.undone > game.moves.size() || !board.newPuzzleFrom(game.origin)) {
        return std::nullopt;
    }
    ReplayedGame replayed;
    // The start as the Board shows it: a stick is there or not.
    StickLayers start = board.getStartSticks();
    for (std::vector<uint8_t>* layer : {&start.horizontal, &start.vertical}) {
        for (uint8_t& stick : *layer) {
            stick = stick != 0 ? 1 : 0;
        }
    }
    replayed.layouts.push_back(std::move(start));
    for (const SavedGame::Move& move : game.moves) {
        const StickLayers& before = replayed.layouts.back();
        if (!inField(board, move) ||
            !isOneMove(board.getMode(), board.getStartSticks(), before, move)) {
            return std::nullopt;
        }
        StickLayers after = turned(before, move);
        // Its slots in the order the program writes them, or the text is not one it wrote
        // (and would not be written back as it was).
        if (solves(board, after) || changedSlots(before, after) != move) {
            return std::nullopt;
        }
        replayed.layouts.push_back(std::move(after));
    }
    replayed.shown = game.moves.size() - game.undone;
    if (game.hintSolution) {
        if (!inField(board, *game.hintSolution) ||
            !isReachableChange(board.getMode(), board.getStartSticks(), *game.hintSolution)) {
            return std::nullopt;
        }
        StickLayers solution = turned(replayed.layouts.front(), *game.hintSolution);
        if (!solves(board, solution) ||
            changedSlots(replayed.layouts.front(), solution) != *game.hintSolution) {
            return std::nullopt;
        }
        replayed.hintSolution = std::move(solution);
    }
    return replayed;
}

SavedGame::Move changedSlots(const StickLayers& from, const StickLayers& to) {
    SavedGame::Move changes;
    const auto compare = [&changes](const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                    StickOrientation orientation) {
        for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
            if ((a[i] != 0) != (b[i] != 0)) {
                changes.push_back({orientation, static_cast<int32_t>(i)});
            }
        }
    };
    compare(from.horizontal, to.horizontal, Horizontal);
    compare(from.vertical, to.vertical, Vertical);
    return changes;
}

std::vector<SavedGame::Move> movesBetween(const std::vector<StickLayers>& layouts) {
    std::vector<SavedGame::Move> moves;
    for (size_t i = 1; i < layouts.size(); ++i) {
        moves.push_back(changedSlots(layouts[i - 1], layouts[i]));
    }
    return moves;
}

}  // namespace kz
