#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "software/software_display.h"
#include "tests/support/png_file.h"

namespace kz {

// Fails the test when a surface is not width x height pixels equal (red, green and blue) to
// expected, saying how many differ, and keeps what was drawn as folder/name-actual.png for a
// look.
inline void expectPixels(const SoftwareSurface& actual, int32_t width, int32_t height,
                         const uint32_t* expected, const std::string& name,
                         const std::string& folder) {
    ASSERT_EQ(actual.width(), width) << name;
    ASSERT_EQ(actual.height(), height) << name;
    size_t differing = 0;
    for (size_t i = 0; i < actual.pixelCount(); ++i) {
        differing += (actual.pixels()[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF) ? 1 : 0;
    }
    if (differing != 0) {
        const std::string path = folder + "/" + name + "-actual.png";
        savePng(actual, path);
        ADD_FAILURE() << name << ": " << differing << " pixels differ; this run: " << path;
    }
}

}  // namespace kz
