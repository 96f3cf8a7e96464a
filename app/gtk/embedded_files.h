#pragma once

#include <glib.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace kz {

// A file built into the program (the bitmaps and the icons), held for as long as needed.
class EmbeddedFile {
  public:
    // Looks the file up by its path below resources/, e.g. "bitmaps/102.bmp". Empty when
    // the program was built without it.
    explicit EmbeddedFile(const std::string& path);
    ~EmbeddedFile();
    EmbeddedFile(const EmbeddedFile&) = delete;
    EmbeddedFile& operator=(const EmbeddedFile&) = delete;

    // The picture of a resource id in the set drawn scale times larger (1: the design's).
    static std::string bitmapPath(int resourceId, int scale = 1);

    bool empty() const { return size_ == 0; }
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }

  private:
    GBytes* bytes_ = nullptr;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
};

}  // namespace kz
