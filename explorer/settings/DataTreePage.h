#pragma once
// The "Data Tree" page. Lines and full-row selection exclude each other in a tree view: checking
// one clears and disables the other, unchecking it enables the other again.
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
