#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>
#include <vector>

#include "app/common/commands.h"

namespace kz {

// Where the HTML help lives and which file each help command opens.
class HelpPages {
  public:
    // Directories to look in, best first; the first that holds the contents page wins.
    explicit HelpPages(std::vector<std::string> directories);

    // Next to the program as installed (<prefix>/share/kestrane-zivadorured/help), then
    // the copy a build keeps beside the program.
    static std::vector<std::string> defaultDirectories();

    static const char* fileName(HelpTopic page);

    // The file:// address of a page, or nothing when no directory holds it.
    std::optional<std::string> uri(HelpTopic page) const;

  private:
    std::vector<std::string> directories_;
};

// Opens a page in the user's browser. When there is no help or no browser nothing is shown.
void openHelpPage(GtkWindow* parent, const HelpPages& pages, HelpTopic page);

}  // namespace kz
