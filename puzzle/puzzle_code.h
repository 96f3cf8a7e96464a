#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "puzzle/puzzle_origin.h"

namespace kz {

// The short code a player can note down or pass on, from which the same puzzle follows.
//
// A code is ten characters of a 29-character alphabet with none of the look-alikes 0, O, 1,
// I, L, U or Z. The first character names the format, so that codes of this release keep
// working when a later one reads more; format 1 is written "3". The next eight are the
// origin as a base-29 number, most significant first: the random source's state plus 2^32
// times ((columns - 2) * 4 + (rows - 2)) * 5 + (kind - 1). The last is a check character:
// with the ten character values v0..v9, the sum of (10 - i) * vi is a multiple of 29. As 29
// is prime and neighbouring weights differ by one, every change of one character and every
// swap of two different neighbours breaks that sum.
constexpr int32_t kPuzzleCodeLength = 10;
constexpr std::string_view kPuzzleCodeAlphabet = "23456789ABCDEFGHJKMNPQRSTVWXY";
constexpr int32_t kPuzzleCodeFormat = 1;

// The code of a playable origin (isPlayableOrigin); empty for any other.
std::string puzzleCode(const PuzzleOrigin& origin);

// The origin a code names. Letters may be of either case, and spaces and hyphens between
// the characters are passed over; anything else that is not a code of a known format (a
// character outside the alphabet, a wrong length or check, a value no puzzle has) gives
// nothing.
std::optional<PuzzleOrigin> puzzleFromCode(std::string_view text);

}  // namespace kz
