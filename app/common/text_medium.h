#pragma once

#include <string>

namespace kz {

// Where a program keeps a text of the game between runs: the records, the game in progress.
// The Linux program's files, the page's storage.
class TextMedium {
  public:
    enum class State {
        Missing,   // nothing is stored yet
        Read,      // text holds what is stored
        Unusable,  // something is there that cannot be read, or another window of the program
                   // holds it: it must not be replaced
    };
    struct Stored {
        State state = State::Missing;
        std::string text;
    };

    virtual ~TextMedium() = default;
    virtual Stored read() = 0;
    // Replaces the stored text as a whole or not at all; false when it could not.
    virtual bool write(const std::string& text) = 0;
    // Keeps every other writer (another window of the program) from the text between a read
    // and the write after it; false when that cannot be had now.
    virtual bool lock() { return true; }
    virtual void unlock() {}
};

// A medium that keeps nothing: for a program that keeps no such text.
class NoTextMedium : public TextMedium {
  public:
    Stored read() override { return {}; }
    bool write(const std::string&) override { return false; }
};

}  // namespace kz
