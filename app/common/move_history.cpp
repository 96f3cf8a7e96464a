#include "app/common/move_history.h"

#include <utility>

namespace kz {
namespace {

void addChanges(const std::vector<uint8_t>& after, const std::vector<uint8_t>& before,
                StickOrientation orientation, std::vector<StickSlot>& changes) {
    for (size_t s = 0; s < after.size() && s < before.size(); ++s) {
        if (after[s] != before[s]) {
            changes.push_back({orientation, static_cast<int32_t>(s)});
        }
    }
}

}  // namespace

void MoveHistory::start(const StickLayers& layout) {
    layouts.assign(1, layout);
    cursor = 0;
}

void MoveHistory::record(const StickLayers& layout) {
    layouts.resize(cursor + 1);
    layouts.push_back(layout);
    ++cursor;
}

void MoveHistory::restore(std::vector<StickLayers> all, size_t shown) {
    if (shown < all.size()) {
        layouts = std::move(all);
        cursor = shown;
    }
}

const StickLayers& MoveHistory::undo() {
    if (canUndo()) {
        --cursor;
    }
    return current();
}

const StickLayers& MoveHistory::redo() {
    if (canRedo()) {
        ++cursor;
    }
    return current();
}

std::vector<StickSlot> MoveHistory::changesNewestFirst() const {
    std::vector<StickSlot> changes;
    for (size_t i = cursor; i >= 1; --i) {
        addChanges(layouts[i].horizontal, layouts[i - 1].horizontal, Horizontal, changes);
        addChanges(layouts[i].vertical, layouts[i - 1].vertical, Vertical, changes);
    }
    return changes;
}

}  // namespace kz
