# Writes a C++ source that holds the game's bitmaps and looks them up by resource id.
#   cmake -DOUTPUT=embedded_bitmaps_data.cpp -DBITMAP_DIR=resources/bitmaps -P embed_bitmaps.cmake
cmake_minimum_required(VERSION 3.25)

file(GLOB bitmaps RELATIVE "${BITMAP_DIR}" "${BITMAP_DIR}/*.bmp")
list(SORT bitmaps)
set(arrays "")
set(entries "")
foreach(name IN LISTS bitmaps)
    string(REGEX REPLACE "\\.bmp$" "" id "${name}")
    if(NOT id MATCHES "^[0-9]+$")
        continue()
    endif()
    file(READ "${BITMAP_DIR}/${name}" hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    # Lines of 32 bytes keep the source readable for compilers and editors.
    string(REGEX REPLACE "((0x..,){32})" "\\1\n" bytes "${bytes}")
    string(APPEND arrays "const uint8_t bitmap${id}[] = {\n${bytes}\n};\n")
    string(APPEND entries "    {${id}, bitmap${id}, sizeof bitmap${id}},\n")
endforeach()

file(WRITE "${OUTPUT}.new" "// Made by embed_bitmaps.cmake from the bitmaps of the source tree.
#include <cstddef>
#include <cstdint>
#include <vector>

#include \"app/web/embedded_bitmaps.h\"

namespace kz {
namespace {

${arrays}
struct EmbeddedBitmap {
    int32_t resourceId;
    const uint8_t* bytes;
    size_t size;
};

const EmbeddedBitmap kBitmaps[] = {
${entries}};

}  // namespace

std::vector<uint8_t> embeddedBitmap(int32_t resourceId, int32_t scale) {
    if (scale != 1) {
        return {};
    }
    for (const EmbeddedBitmap& bitmap : kBitmaps) {
        if (bitmap.resourceId == resourceId) {
            return std::vector<uint8_t>(bitmap.bytes, bitmap.bytes + bitmap.size);
        }
    }
    return {};
}

}  // namespace kz
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
