#include "puzzle/random_source.h"

namespace kz {

RandomSource& randomSource() {
    static RandomSource instance;
    return instance;
}

}  // namespace kz
