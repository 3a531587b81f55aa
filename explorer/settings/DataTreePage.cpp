#include "explorer/settings/DataTreePage.h"

#include "explorer/settings/OptionsPageView.h"
#include "explorer/settings/SettingsStrings.h"

namespace qb::settings {
namespace {

const QString kLines = QStringLiteral("IsHasLines");
const QString kFullRow = QStringLiteral("IsFullRowSel");

std::vector<OptionField> treeFields()
{
    return {
        {QStringLiteral("IsHasButtons"), FieldKind::CheckBox, strings::TreeHasButtons},
        {kLines, FieldKind::CheckBox, strings::TreeHasLines},
        {kFullRow, FieldKind::CheckBox, strings::TreeFullRowSelect},
        {QStringLiteral("IsTrackSelect"), FieldKind::CheckBox, strings::TreeTrackSelect},
    };
}

} // namespace

DataTreePage::DataTreePage(DataTreeSettings& settings) : OptionsPage(strings::DataTreePage, &settings, treeFields()) {}

void DataTreePage::fill(OptionsPageView& view)
{
    OptionsPage::fill(view);
    if (view.checkState(kLines) != 0) {
        view.setCheckState(kFullRow, 0);
        view.setControlEnabled(kFullRow, false);
    }
}

void DataTreePage::controlChanged(const QString& control)
{
    OptionsPageView* v = view();
    if (!v)
        return;
    const bool isLines = control.compare(kLines, Qt::CaseInsensitive) == 0;
    if (!isLines && control.compare(kFullRow, Qt::CaseInsensitive) != 0)
        return;
    const QString& other = isLines ? kFullRow : kLines;
    const bool checked = v->checkState(control) != 0;
    if (checked)
        v->setCheckState(other, 0);
    v->setControlEnabled(other, !checked);
}

} // namespace qb::settings
