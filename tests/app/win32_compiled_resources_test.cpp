// The resources of the built Windows program, read from the .exe as the system finds them.
//
//   win32_compiled_resources_tests [gtest options] PROGRAM.exe MACHINE
// MACHINE is x86_64 or i686. A missing program fails every test.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/common/commands.h"
#include "app/common/identity.h"
#include "app/common/menu_table.h"
#include "app/common/menu_text.h"
#include "screen/image_table.h"
#include "tests/support/pe_image.h"

namespace kz {
namespace {

// Resource types of the platform.
constexpr uint32_t kTypeCursor = 1;
constexpr uint32_t kTypeBitmap = 2;
constexpr uint32_t kTypeIcon = 3;
constexpr uint32_t kTypeMenu = 4;
constexpr uint32_t kTypeDialog = 5;
constexpr uint32_t kTypeAccelerators = 9;
constexpr uint32_t kTypeCursorGroup = 12;
constexpr uint32_t kTypeIconGroup = 14;
constexpr uint32_t kTypeVersion = 16;
constexpr uint32_t kTypeManifest = 24;

// Set by main from the command line.
std::string programPath;
std::string programMachine;

uint16_t u16(const std::vector<uint8_t>& b, size_t at) {
    return test::readU16(b, at);
}
uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return test::readU32(b, at);
}
uint32_t bigEndian32(const std::vector<uint8_t>& b, size_t at) {
    return at + 4 <= b.size() ? (uint32_t{b[at]} << 24) | (uint32_t{b[at + 1]} << 16) |
                                    (uint32_t{b[at + 2]} << 8) | b[at + 3]
                              : 0;
}

// The strings of a version resource, keyed "StringFileInfo/040904B0/CompanyName", and its
// fixed part's four version words.
struct VersionInfo {
    std::map<std::string, std::string> strings;
    std::vector<uint16_t> fileVersion;
    std::vector<uint16_t> productVersion;
};

// One block: length, value length, type, UTF-16 key, value, then child blocks, each part
// aligned to four bytes. Keys and values of this program are ASCII.
void readVersionBlock(const std::vector<uint8_t>& b, size_t at, const std::string& parent,
                      VersionInfo& out, int depth) {
    const size_t length = u16(b, at);
    const size_t valueLength = u16(b, at + 2);
    const uint16_t type = u16(b, at + 4);
    const size_t end = std::min(b.size(), at + length);
    std::string key;
    size_t p = at + 6;
    for (; p + 2 <= end && u16(b, p) != 0; p += 2) {
        key += static_cast<char>(u16(b, p));
    }
    p = (p + 2 + 3) & ~size_t{3};
    const std::string path = parent.empty() ? key : parent + "/" + key;
    if (depth == 0 && valueLength >= 52 && u32(b, p) == 0xFEEF04BDu) {
        out.fileVersion = {u16(b, p + 10), u16(b, p + 8), u16(b, p + 14), u16(b, p + 12)};
        out.productVersion = {u16(b, p + 18), u16(b, p + 16), u16(b, p + 22), u16(b, p + 20)};
    }
    if (type == 1 && valueLength > 0) {
        std::string value;
        for (size_t v = p; v + 2 <= end && u16(b, v) != 0; v += 2) {
            value += static_cast<char>(u16(b, v));
        }
        out.strings[path] = value;
    }
    // Text values are counted in characters, binary ones in bytes.
    p += type == 1 ? valueLength * 2 : valueLength;
    p = (p + 3) & ~size_t{3};
    while (depth < 4 && p + 6 <= end && u16(b, p) != 0) {
        readVersionBlock(b, p, path, out, depth + 1);
        p = (p + u16(b, p) + 3) & ~size_t{3};
    }
}

class CompiledResources : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(programPath.empty()) << "no program named on the command line";
        exe = std::make_unique<test::PeImage>(programPath);
        ASSERT_TRUE(exe->loaded()) << exe->error() << " (build the mingw presets first)";
    }

    std::unique_ptr<test::PeImage> exe;
};

TEST_F(CompiledResources, ProgramIsBuiltForItsArchitecture) {
    const std::map<std::string, uint16_t> machines = {{"x86_64", 0x8664}, {"i686", 0x014C}};
    ASSERT_EQ(machines.count(programMachine), 1u) << "machine '" << programMachine << "'";
    EXPECT_EQ(exe->machine(), machines.at(programMachine));
    EXPECT_EQ(exe->namedOrExtraEntries(), 0) << "a named resource or a second language";
}

TEST_F(CompiledResources, CtrlWIsTheOneAcceleratorAsTheControlCharacterItTypes) {
    const auto table = exe->find(kTypeAccelerators, 103);
    ASSERT_TRUE(table.has_value());
    // Entries of eight bytes: flags, key, command, padding; 0x80 marks the last one.
    ASSERT_EQ(table->size(), 8u) << "more than one entry";
    const uint16_t flags = u16(*table, 0);
    EXPECT_EQ(flags, 0x82) << "flags: NOINVERT (0x02) and the last-entry mark, no FVIRTKEY";
    EXPECT_EQ(u16(*table, 2), 23) << "Ctrl+W types character 23";
    EXPECT_EQ(u16(*table, 4), command::Exit);
    EXPECT_EQ(exe->ofType(kTypeAccelerators).size(), 1u);
}

TEST_F(CompiledResources, IconHoldsThreeBitmapsAndA256PixelPng) {
    const auto group = exe->find(kTypeIconGroup, 106);
    ASSERT_TRUE(group.has_value());
    ASSERT_EQ(u16(*group, 2), 1) << "an icon group";
    const uint16_t count = u16(*group, 4);
    std::set<int> sizes;
    for (uint16_t i = 0; i < count; ++i) {
        // 14-byte entries: width, height (0 meaning 256), colours, reserved, planes, bits,
        // size in bytes, the id of the icon resource.
        const size_t at = 6 + size_t{i} * 14;
        const int side = (*group)[at] == 0 ? 256 : (*group)[at];
        sizes.insert(side);
        EXPECT_EQ(u16(*group, at + 6), 32) << side << " pixels: 32 bits per pixel";
        const auto image = exe->find(kTypeIcon, u16(*group, at + 12));
        ASSERT_TRUE(image.has_value()) << "icon image of " << side << " pixels";
        EXPECT_EQ(image->size(), u32(*group, at + 8));
        if (side == 256) {
            const std::vector<uint8_t> signature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
            ASSERT_GE(image->size(), 24u);
            EXPECT_TRUE(std::equal(signature.begin(), signature.end(), image->begin()))
                << "the 256-pixel image is PNG-compressed";
            EXPECT_EQ(bigEndian32(*image, 16), 256u);
            EXPECT_EQ(bigEndian32(*image, 20), 256u);
        } else {
            EXPECT_EQ(u32(*image, 0), 40u) << "a bitmap header";
            EXPECT_EQ(u32(*image, 4), static_cast<uint32_t>(side));
            EXPECT_EQ(u32(*image, 8), static_cast<uint32_t>(2 * side)) << "image and mask";
        }
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48, 256}));
}

TEST_F(CompiledResources, VersionNamesTheMakerTheProgramAndVersion112) {
    const auto data = exe->find(kTypeVersion, 1);
    ASSERT_TRUE(data.has_value());
    VersionInfo info;
    readVersionBlock(*data, 0, "", info, 0);
    EXPECT_EQ(info.fileVersion, (std::vector<uint16_t>{1, 1, 2, 0}));
    EXPECT_EQ(info.productVersion, (std::vector<uint16_t>{1, 1, 2, 0}));
    const std::string table = "VS_VERSION_INFO/StringFileInfo/040904B0/";
    EXPECT_EQ(info.strings[table + "CompanyName"], kMakerName);
    EXPECT_EQ(info.strings[table + "FileDescription"], kProgramTitle);
    EXPECT_EQ(info.strings[table + "ProductName"], kProgramTitle);
    EXPECT_EQ(info.strings[table + "FileVersion"], kVersionNumber);
    EXPECT_EQ(info.strings[table + "ProductVersion"], kVersionNumber);
    const std::string copyright = info.strings[table + "LegalCopyright"];
    EXPECT_NE(copyright.find("Copyright"), std::string::npos) << copyright;
    EXPECT_NE(copyright.find(kMakerName), std::string::npos) << copyright;
}

TEST_F(CompiledResources, ManifestDeclaresSystemsControlsAndDpiBehaviour) {
    const auto manifests = exe->ofType(kTypeManifest);
    ASSERT_EQ(manifests.size(), 1u) << "exactly one manifest";
    ASSERT_EQ(manifests.begin()->first, 1u) << "the manifest the loader reads for a program";
    const std::string xml(manifests.begin()->second.begin(), manifests.begin()->second.end());
    for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                                "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10 and 11
        EXPECT_NE(xml.find(std::string("<supportedOS Id=\"") + windows + "\"/>"), std::string::npos)
            << windows;
    }
    EXPECT_NE(xml.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    EXPECT_NE(xml.find(">false</dpiAware>"), std::string::npos);
    EXPECT_NE(xml.find(">unaware</dpiAwareness>"), std::string::npos);
    EXPECT_EQ(xml.find("PerMonitor"), std::string::npos);
    EXPECT_NE(xml.find("level=\"asInvoker\""), std::string::npos);
}

TEST_F(CompiledResources, EveryPictureIsA24BitBitmapOfItsSize) {
    const auto bitmaps = exe->ofType(kTypeBitmap);
    EXPECT_EQ(bitmaps.size(), kImageTable.size());
    for (const ImageInfo& info : kImageTable) {
        const auto it = bitmaps.find(static_cast<uint32_t>(info.resourceId));
        ASSERT_NE(it, bitmaps.end()) << "bitmap " << info.resourceId;
        const std::vector<uint8_t>& b = it->second;
        EXPECT_EQ(u32(b, 0), 40u) << info.resourceId;
        EXPECT_EQ(static_cast<int32_t>(u32(b, 4)), info.width) << info.resourceId;
        EXPECT_EQ(static_cast<int32_t>(u32(b, 8)), info.height) << info.resourceId;
        EXPECT_EQ(u16(b, 14), 24) << info.resourceId;
    }
}

// A string of a resource as UTF-16 code units, up to its terminating zero; at moves past it.
std::string utf16At(const std::vector<uint8_t>& b, size_t& at) {
    std::string text;
    for (; at + 2 <= b.size() && u16(b, at) != 0; at += 2) {
        text += static_cast<char>(u16(b, at));
    }
    at += 2;
    return text;
}

// The items of one level of a menu template, as "depth kind label id" lines, up to the item
// that carries the end flag.
void readMenuLevel(const std::vector<uint8_t>& b, size_t& at, int depth,
                   std::vector<std::string>& out) {
    constexpr uint16_t kChecked = 0x0008;
    constexpr uint16_t kPopup = 0x0010;
    constexpr uint16_t kEnd = 0x0080;
    while (at + 2 <= b.size()) {
        const uint16_t flags = u16(b, at);
        at += 2;
        const std::string level = std::to_string(depth);
        if (flags & kChecked) {
            ADD_FAILURE() << "a mark in the resource; the settings set the marks";
        }
        if (flags & kPopup) {
            out.push_back(level + " popup " + utf16At(b, at));
            readMenuLevel(b, at, depth + 1, out);
        } else {
            const uint16_t id = u16(b, at);
            at += 2;
            const std::string label = utf16At(b, at);
            out.push_back(id == 0 && label.empty()
                              ? level + " separator"
                              : level + " item " + label + " " + std::to_string(id));
        }
        if (flags & kEnd) {
            return;
        }
    }
}

// The menu bar, read from the template the system loads, is the shared menu table without
// the lines that are not in the Windows menu.
TEST_F(CompiledResources, MenuIsTheSharedMenuTable) {
    const auto data = exe->find(kTypeMenu, 101);
    ASSERT_TRUE(data.has_value());
    ASSERT_EQ(u16(*data, 0), 0) << "a plain menu template";
    size_t at = 4 + u16(*data, 2);
    std::vector<std::string> seen;
    readMenuLevel(*data, at, 0, seen);
    EXPECT_EQ(at, data->size()) << "the template ends with its last level";

    std::vector<std::string> expected;
    int skipBelow = -1;  // depth of a left-out popup whose lines go with it
    for (const MenuEntry& e : kMenuTable) {
        if (skipBelow >= 0 && e.depth > skipBelow) {
            continue;
        }
        skipBelow = -1;
        if (!e.inWindowsMenu) {
            skipBelow = e.depth;
            continue;
        }
        const std::string level = std::to_string(e.depth);
        if (e.kind == MenuEntry::Popup) {
            expected.push_back(level + " popup " + e.label);
        } else if (e.kind == MenuEntry::Separator) {
            expected.push_back(level + " separator");
        } else {
            const std::string label =
                e.key.isSet() ? std::string(e.label) + "\t" + keyText(e.key) : std::string(e.label);
            expected.push_back(level + " item " + label + " " + std::to_string(e.command));
        }
    }
    EXPECT_EQ(seen, expected);
}

// The About box's caption and version line come from the program's identity.
TEST_F(CompiledResources, AboutBoxShowsTheTitleAndTheVersion) {
    const auto data = exe->find(kTypeDialog, 130);
    ASSERT_TRUE(data.has_value());
    std::vector<std::string> texts;
    for (size_t at = 0; at + 2 <= data->size(); at += 2) {
        size_t from = at;
        const std::string text = utf16At(*data, from);
        if (text.size() >= 4) {
            texts.push_back(text);
            at = from - 2;
        }
    }
    // A scan in steps of two bytes also reads the numbers in front of a text as characters,
    // so a text is found at the end of what was read.
    const auto has = [&](const std::string& wanted) {
        return std::any_of(texts.begin(), texts.end(), [&](const std::string& text) {
            return text.size() >= wanted.size() &&
                   text.compare(text.size() - wanted.size(), wanted.size(), wanted) == 0;
        });
    };
    EXPECT_TRUE(has(std::string("About ") + kProgramTitle));
    EXPECT_TRUE(has(kVersionText));
    EXPECT_TRUE(has("Visit us at:"));
    EXPECT_TRUE(has("MS Sans Serif"));
}

TEST_F(CompiledResources, MenuAboutBoxAndHandCursorArePresent) {
    EXPECT_TRUE(exe->find(kTypeMenu, 101).has_value());
    EXPECT_TRUE(exe->find(kTypeDialog, 130).has_value());
    EXPECT_TRUE(exe->find(kTypeCursorGroup, 131).has_value());
    EXPECT_EQ(exe->ofType(kTypeCursor).size(), 1u);
}

}  // namespace
}  // namespace kz

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc >= 3) {
        kz::programPath = argv[1];
        kz::programMachine = argv[2];
    }
    return RUN_ALL_TESTS();
}
