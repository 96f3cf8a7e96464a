#include "app/gtk/records_file.h"

#include "app/gtk/atomic_file.h"
#include "app/gtk/user_file_path.h"

namespace kz {
namespace {

// Records are a line per table played; anything far larger is not a records file.
constexpr size_t kLargestFile = 1 << 20;

}  // namespace

RecordsFile::RecordsFile(std::string path) : path_(std::move(path)) {}

std::string RecordsFile::defaultPath() {
    return userFilePath("XDG_DATA_HOME", ".local/share", "records");
}

RecordsMedium::Stored RecordsFile::read() {
    FileContents file = readRegularFile(path_, kLargestFile);
    switch (file.state) {
        case FileState::Missing:
            return {State::Missing, {}};
        case FileState::Read:
            return {State::Read, std::move(file.text)};
        case FileState::Unusable:
            break;
    }
    return {State::Unusable, {}};
}

bool RecordsFile::write(const std::string& text) {
    return replaceRegularFile(path_, text, true);
}

}  // namespace kz
