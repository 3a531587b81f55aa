#pragma once
// The "General" page. Taking it writes SingleInstance to the registry at once, even when a
// number field failed, because process start reads that value directly.
#include "explorer/settings/GeneralSettings.h"
#include "explorer/settings/OptionsPage.h"

namespace qb::settings {

class GeneralPage : public OptionsPage {
public:
    explicit GeneralPage(GeneralSettings& settings);
    bool take(UserPrompts& prompts) override;

private:
    GeneralSettings& m_settings;
};

} // namespace qb::settings
