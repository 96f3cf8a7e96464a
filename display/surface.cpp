#include "display/surface.h"

namespace kz {

namespace {
Display* currentDisplay = nullptr;
}

Display* activeDisplay() {
    return currentDisplay;
}

void setActiveDisplay(Display* display) {
    currentDisplay = display;
}

}  // namespace kz
