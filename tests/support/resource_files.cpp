#include "tests/support/resource_files.h"

#include <fstream>
#include <iterator>

namespace kz {

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return {};
    }
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

SoftwareDisplay::BitmapResolver bitmapDirectoryResolver(const std::string& directory) {
    return [directory](int32_t resourceId) {
        return readFileBytes(directory + "/" + std::to_string(resourceId) + ".bmp");
    };
}

SoftwareDisplay::BitmapResolver sourceTreeResolver(const std::string& sourceRoot) {
    return bitmapDirectoryResolver(sourceRoot + "/resources/bitmaps");
}

}  // namespace kz
