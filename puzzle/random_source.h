#pragma once

#include <cstdint>

namespace kz {

// The source of chance of a board: a 15-bit linear congruential generator. Puzzles depend on
// every draw, so the constants and the output bits must not change.
class RandomSource {
  public:
    void seed(uint32_t s) { state = s; }

    // A value in 0..32767.
    int32_t next() {
        ++draws;
        state = state * 214013u + 2531011u;
        return static_cast<int32_t>((state >> 16) & 0x7FFF);
    }

    uint32_t currentState() const { return state; }

    // Values drawn since construction; seeding leaves it alone. It only measures the work of
    // the generator and never feeds into the values.
    uint64_t drawCount() const { return draws; }

  private:
    uint32_t state = 0;
    uint64_t draws = 0;
};

}  // namespace kz
