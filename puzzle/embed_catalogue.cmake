# Writes a C++ source that builds the catalogue file into a program.
#   cmake -DINPUT=puzzle-catalogue.bin -DOUTPUT=embedded_catalogue.cpp -P embed_catalogue.cmake
cmake_minimum_required(VERSION 3.25)

file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUTPUT}.new" "// Made by embed_catalogue.cmake from the catalogue file of the source tree.
#include <cstdint>

#include \"puzzle/embedded_catalogue.h\"

namespace kz {
namespace {

const uint8_t kCatalogueFile[] = {
${bytes}
};

}  // namespace

std::optional<PuzzleCatalogue> embeddedCatalogue() {
    return PuzzleCatalogue::read(kCatalogueFile, sizeof kCatalogueFile);
}

}  // namespace kz
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
