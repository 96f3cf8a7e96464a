#pragma once

namespace kz {

// Who the program is, as every program shows it.
constexpr const char* kProgramTitle = "Kestrane Zivadorured";
constexpr const char* kVersionText = "Version 1.1.2";
constexpr const char* kVersionNumber = "1.1.2";
constexpr const char* kMakerName = "Kestrane Games";
// The maker has no site yet; this lives on a domain reserved for examples.
constexpr const char* kMakerWebAddress = "https://kestrane-games.example/";
// The name of the program's files, settings folder and package.
constexpr const char* kProgramFileName = "kestrane-zivadorured";
constexpr const char* kHelpFileName = "Kestrane Zivadorured Help.chm";

}  // namespace kz
