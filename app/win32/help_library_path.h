#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kz {

// True for a fully qualified Windows path: a drive letter with a backslash or slash after
// the colon, or a UNC path. Everything else would be searched for, starting in the
// program's own and the current directory.
bool isFullyQualifiedPath(const std::string& path);

// Where the HTML Help control may be loaded from, best first: the path the system registers
// for the control (only when fully qualified), then the copy in the system directory.
// A library is never looked up by bare name, so a planted hhctrl.ocx next to the program or
// in the current directory is never loaded.
std::vector<std::string> helpLibraryCandidates(const std::optional<std::string>& registered,
                                               const std::string& systemDirectory);

}  // namespace kz
