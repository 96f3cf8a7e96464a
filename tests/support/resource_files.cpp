#include "tests/support/resource_files.h"

#include <fstream>

namespace kz {

std::vector<uint8_t> readFileBytes(const std::string& path) {
    // In one read: the game session fuzzer loads every picture for each input.
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return {};
    }
    const std::streamoff size = in.tellg();
    if (size < 0) {
        return {};
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return {};
    }
    return bytes;
}

SoftwareDisplay::BitmapResolver bitmapDirectoryResolver(const std::string& directory) {
    return [directory](int32_t resourceId, int32_t scale) {
        const std::string name = std::to_string(resourceId);
        return readFileBytes(scale == 1
                                 ? directory + "/" + name + ".bmp"
                                 : directory + "/" + std::to_string(scale) + "x/" + name + ".png");
    };
}

SoftwareDisplay::BitmapResolver sourceTreeResolver(const std::string& sourceRoot) {
    return bitmapDirectoryResolver(sourceRoot + "/resources/bitmaps");
}

}  // namespace kz
