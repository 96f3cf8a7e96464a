#pragma once

#include "app/common/settings_store.h"
#include "app/web/page.h"

namespace kz {

// The settings kept in the page's storage, one text under each name (loadSettings says what
// becomes of a value missing or damaged).
class LocalStorageSettings : public SettingsMedium {
  public:
    explicit LocalStorageSettings(Page& page) : page_(page) {}

    std::optional<std::string> read(const char* name) override;
    bool write(const Values& values) override;

  private:
    Page& page_;
};

}  // namespace kz
