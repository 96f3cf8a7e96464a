#include "puzzle/figure_turns.h"

#include <utility>

namespace kz {

Joint jointOf(const SlotPlace& place) {
    return place.orientation == Horizontal
               ? Joint{place.column, place.row, place.column + 1, place.row}
               : Joint{place.column, place.row, place.column, place.row + 1};
}

SlotPlace placeOf(const Joint& joint) {
    return {joint.y0 == joint.y1 ? Horizontal : Vertical, joint.x0, joint.y0};
}

std::vector<Joint> turnedFigure(const std::vector<Joint>& figure, int32_t turn, int32_t columns,
                                int32_t rows) {
    std::vector<Joint> turned;
    turned.reserve(figure.size());
    for (const Joint& j : figure) {
        Joint t = swapsSides(turn) ? Joint{j.y0, j.x0, j.y1, j.x1} : j;
        if ((turn & 1) != 0) {
            t.x0 = columns - t.x0;
            t.x1 = columns - t.x1;
        }
        if ((turn & 2) != 0) {
            t.y0 = rows - t.y0;
            t.y1 = rows - t.y1;
        }
        if (std::tie(t.x1, t.y1) < std::tie(t.x0, t.y0)) {
            std::swap(t.x0, t.x1);
            std::swap(t.y0, t.y1);
        }
        turned.push_back(t);
    }
    return turned;
}

}  // namespace kz
