#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "display/element.h"

namespace kz::test {

// A plain element that tests fill with children of any kind and switch input on.
class Holder : public Element {
  public:
    using Element::Element;
    // A root at (0, 0) without a picture.
    Holder() : Element(nullptr, 0, 0, nullptr) {}

    template <class T, class... Args>
    T* add(Args&&... args) {
        return addChild(std::make_unique<T>(this, std::forward<Args>(args)...));
    }
    void enableMouse() { mouseEnabled = true; }
    void enableKeys() { keyEnabled = true; }
};

// A holder that writes down every event its children send, with the sender.
class EventRecorder : public Holder {
  public:
    using Holder::Holder;

    struct Event {
        Element* sender;
        ElementEvent code;
        int32_t senderFrame;  // the frame the sender showed when it sent the event
    };

    void onChildEvent(Element* child, ElementEvent code) override {
        events.push_back({child, code, child->getFrame()});
    }
    // The codes received, in order.
    std::vector<ElementEvent> codes() const {
        std::vector<ElementEvent> out;
        for (const Event& e : events) {
            out.push_back(e.code);
        }
        return out;
    }

    // What each sender showed as it sent, in order.
    std::vector<int32_t> senderFrames() const {
        std::vector<int32_t> out;
        for (const Event& e : events) {
            out.push_back(e.senderFrame);
        }
        return out;
    }

    std::vector<Event> events;
};

}  // namespace kz::test
