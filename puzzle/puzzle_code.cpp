#include "puzzle/puzzle_code.h"

#include <array>

namespace kz {
namespace {

constexpr uint64_t kBase = kPuzzleCodeAlphabet.size();
constexpr int32_t kValueDigits = 8;
constexpr int32_t kSideChoices = kLargestSide - kSmallestSide + 1;
constexpr uint64_t kKindChoices = RemoveFromSome - AddFromNone + 1;
constexpr uint64_t kStates = uint64_t{1} << 32;
constexpr uint64_t kValues = kSideChoices * kSideChoices * kKindChoices * kStates;

static_assert(kBase == 29, "the check relies on a prime alphabet size");
static_assert(kPuzzleCodeFormat < static_cast<int32_t>(kBase), "the format is one character");

// Eight base-29 digits must hold every origin.
constexpr bool valueDigitsSuffice() {
    uint64_t capacity = 1;
    for (int32_t i = 0; i < kValueDigits; ++i) {
        capacity *= kBase;
    }
    return capacity >= kValues;
}
static_assert(valueDigitsSuffice(), "eight characters hold every origin");

using Digits = std::array<uint32_t, kPuzzleCodeLength>;

// The value of one character, or nothing for a character outside the alphabet.
std::optional<uint32_t> digitOf(char c) {
    if (c >= 'a' && c <= 'z') {
        c = static_cast<char>(c - 'a' + 'A');
    }
    const size_t at = kPuzzleCodeAlphabet.find(c);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<uint32_t>(at);
}

// The check character that makes the weighted sum of all ten a multiple of the base.
uint32_t checkDigit(const Digits& digits) {
    uint64_t sum = 0;
    for (int32_t i = 0; i + 1 < kPuzzleCodeLength; ++i) {
        sum += static_cast<uint64_t>(kPuzzleCodeLength - i) * digits[static_cast<size_t>(i)];
    }
    return static_cast<uint32_t>((kBase - sum % kBase) % kBase);
}

}  // namespace

std::string puzzleCode(const PuzzleOrigin& origin) {
    if (!isPlayableOrigin(origin)) {
        return {};
    }
    const uint64_t shape = (static_cast<uint64_t>(origin.columns - kSmallestSide) * kSideChoices +
                            static_cast<uint64_t>(origin.rows - kSmallestSide)) *
                               kKindChoices +
                           static_cast<uint64_t>(origin.kind - AddFromNone);
    uint64_t value = shape * kStates + origin.state;

    Digits digits{};
    digits[0] = kPuzzleCodeFormat;
    for (int32_t i = kValueDigits; i >= 1; --i) {
        digits[static_cast<size_t>(i)] = static_cast<uint32_t>(value % kBase);
        value /= kBase;
    }
    digits[kPuzzleCodeLength - 1] = checkDigit(digits);

    std::string code;
    for (uint32_t digit : digits) {
        code += kPuzzleCodeAlphabet[digit];
    }
    return code;
}

std::optional<PuzzleOrigin> puzzleFromCode(std::string_view text) {
    Digits digits{};
    size_t count = 0;
    for (char c : text) {
        if (c == ' ' || c == '-') {
            continue;
        }
        const std::optional<uint32_t> digit = digitOf(c);
        if (!digit || count == digits.size()) {
            return std::nullopt;
        }
        digits[count++] = *digit;
    }
    if (count != digits.size() || digits[0] != kPuzzleCodeFormat ||
        checkDigit(digits) != digits[kPuzzleCodeLength - 1]) {
        return std::nullopt;
    }

    uint64_t value = 0;
    for (int32_t i = 1; i <= kValueDigits; ++i) {
        value = value * kBase + digits[static_cast<size_t>(i)];
    }
    if (value >= kValues) {
        return std::nullopt;
    }
    PuzzleOrigin origin;
    origin.state = static_cast<uint32_t>(value % kStates);
    uint64_t shape = value / kStates;
    origin.kind = static_cast<ActionType>(AddFromNone + static_cast<int32_t>(shape % kKindChoices));
    shape /= kKindChoices;
    origin.rows = kSmallestSide + static_cast<int32_t>(shape % kSideChoices);
    origin.columns = kSmallestSide + static_cast<int32_t>(shape / kSideChoices);
    return origin;
}

}  // namespace kz
