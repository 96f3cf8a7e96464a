#pragma once

#include "app/common/version.h"

namespace kz {

// Who the program is, as every program shows it.
constexpr const char* kProgramTitle = "Kestrane Zivadorured";
// Where the whole title has no room, as under an icon on a phone's home screen.
constexpr const char* kProgramShortName = "Kestrane";
constexpr const char* kVersionText = "Version " KZ_VERSION;
constexpr const char* kVersionNumber = KZ_VERSION;
constexpr const char* kMakerName = "Kestrane Games";
// The maker has no site yet; this lives on a domain reserved for examples.
constexpr const char* kMakerWebAddress = "https://kestrane-games.example/";
// The name of the program's files, settings folder and package.
constexpr const char* kProgramFileName = "kestrane-zivadorured";
// The name of the message catalogues of the game's texts, one per language.
constexpr const char* kTextDomain = "kestrane-zivadorured";
constexpr const char* kHelpFileName = "Kestrane Zivadorured Help.chm";

}  // namespace kz
