#pragma once

#include <optional>

#include "puzzle/puzzle_catalogue.h"

namespace kz {

// The catalogue file built into the programs that carry it (the page fetches it instead);
// none only when the file built in is not one.
std::optional<PuzzleCatalogue> embeddedCatalogue();

}  // namespace kz
