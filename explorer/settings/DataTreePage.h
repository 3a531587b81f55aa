#pragma once
// The "Data Tree" page. A tree view cannot draw connecting lines and select whole rows at the same
// time, so the page keeps the two boxes apart: while one is checked, the other is cleared and
// greyed out.
#include "explorer/settings/DataTreeSettings.h"
#include "explorer/settings/OptionsPage.h"

namespace qb::settings {

class DataTreePage : public OptionsPage {
public:
    explicit DataTreePage(DataTreeSettings& settings);
    void controlChanged(const QString& control) override;

protected:
    void fill(OptionsPageView& view) override;
};

} // namespace qb::settings
