#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace kz::test {

// A fresh directory of its own under $TMPDIR (the system's temporary directory when that is
// not set), removed with everything in it when the object goes, even where a test took the
// owner's rights away.
class TempDir {
  public:
    TempDir() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::temp_directory_path(error);
        if (error) {
            return;
        }
        std::string pattern = (base / "kz-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            dir = pattern;
        }
    }
    ~TempDir() {
        if (dir.empty()) {
            return;
        }
        restoreOwnerRights();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // Empty when no directory could be made.
    const std::filesystem::path& path() const { return dir; }
    std::filesystem::path operator/(const std::string& name) const { return dir / name; }

    // Writes a file below the directory, making the folders on the way; returns its path.
    std::string write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        const std::filesystem::path file = dir / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::string write(const std::string& name, const std::string& text) const {
        return write(name, std::vector<uint8_t>(text.begin(), text.end()));
    }

  private:
    void restoreOwnerRights() const {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ignored);
        // A folder's rights are restored when it is reached, before it is entered.
        std::error_code error;
        for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_directory(ignored)) {
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
            }
        }
    }

    std::filesystem::path dir;
};

// A test with a temporary directory of its own, `temp`.
class TempDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(temp.path().empty()) << "no temporary directory could be made";
    }

    TempDir temp;
};

}  // namespace kz::test
