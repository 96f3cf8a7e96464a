#include "app/win32/help_library_path.h"

namespace kz {

namespace {

bool isSlash(char c) {
    return c == '\\' || c == '/';
}

bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool isFullyQualifiedPath(const std::string& path) {
    if (path.size() >= 3 && isLetter(path[0]) && path[1] == ':' && isSlash(path[2])) {
        return true;
    }
    // \\server\share\... and \\?\C:\...
    return path.size() >= 3 && isSlash(path[0]) && isSlash(path[1]) && !isSlash(path[2]);
}

std::vector<std::string> helpLibraryCandidates(const std::optional<std::string>& registered,
                                               const std::string& systemDirectory) {
    std::vector<std::string> candidates;
    if (registered && isFullyQualifiedPath(*registered)) {
        candidates.push_back(*registered);
    }
    if (isFullyQualifiedPath(systemDirectory)) {
        std::string path = systemDirectory;
        if (!isSlash(path.back())) {
            path += '\\';
        }
        path += "hhctrl.ocx";
        if (candidates.empty() || candidates.front() != path) {
            candidates.push_back(path);
        }
    }
    return candidates;
}

}  // namespace kz
