#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "display/rect.h"

namespace kz {

// One place the keyboard focus can reach, as a screen reader is to know it.
struct FocusPlace {
    bool isStick = false;
    std::string name;  // what the narrator says when the focus gets there
    Rect area;         // on the screen, in the screen's own coordinates
    bool holdsMatch = false;

    bool operator==(const FocusPlace& o) const {
        return isStick == o.isStick && name == o.name && area == o.area &&
               holdsMatch == o.holdsMatch;
    }
};

// Every place the focus can reach now, in reading order, the one it is on, and what the
// screen shows as one text: the game field's accessible description.
struct FocusPlaces {
    std::vector<FocusPlace> places;
    size_t focused = 0;  // places.size() when the focus is on none of them
    std::string description;

    bool operator==(const FocusPlaces& o) const {
        return places == o.places && focused == o.focused && description == o.description;
    }
    bool operator!=(const FocusPlaces& o) const { return !(*this == o); }
};

}  // namespace kz
