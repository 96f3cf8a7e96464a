// The Linux program's settings file: whatever the file holds, reading it gives usable
// settings, a save is read back as saved, and a second save of the same settings leaves the
// file as the first one wrote it.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "app/common/settings.h"
#include "app/gtk/settings_file.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "settings file: %s\n", what);
    std::abort();
}

// One private folder per process; /dev/shm keeps the many writes off the disk.
const std::string& settingsPath() {
    static const std::string path = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : P_tmpdir;
        std::string pattern = std::string(base) + "/kz-fuzz-settings-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            fail("no temporary folder");
        }
        return pattern + "/settings.ini";
    }();
    return path;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool usable(const kz::GameSettings& s) {
    return kz::isValidFieldSize(s.fieldSize) && kz::isValidActionType(s.actionType);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // Settings to save afterwards, taken from the end so the file's text comes first.
    const int32_t wantedSize = input.ConsumeIntegralInRange<int32_t>(0, 5);
    const int32_t wantedType = input.ConsumeIntegralInRange<int32_t>(0, 5);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::string& path = settingsPath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    kz::SettingsFile store(path);
    if (!usable(store.load())) {
        fail("a value the menus do not name was read");
    }
    const kz::GameSettings wanted{kz::validFieldSizeOrDefault(wantedSize),
                                  kz::validActionTypeOrDefault(wantedType)};
    if (!store.save(wanted)) {
        fail("a save into a writable folder failed");
    }
    if (!(store.load() == wanted)) {
        fail("the saved settings did not come back");
    }
    const std::string saved = fileText(path);
    if (!store.save(wanted) || fileText(path) != saved) {
        fail("saving the same settings again changed the file");
    }
    unlink(path.c_str());
    return 0;
}
