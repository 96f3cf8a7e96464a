#pragma once

#include <memory>
#include <utility>

#include "display/element.h"

namespace kz::test {

// A plain element that tests fill with children of any kind.
class Holder : public Element {
  public:
    using Element::Element;
    template <class T, class... Args>
    T* add(Args&&... args) {
        return addChild(std::make_unique<T>(this, std::forward<Args>(args)...));
    }
};

}  // namespace kz::test
