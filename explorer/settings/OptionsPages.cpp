#include "explorer/settings/OptionsPages.h"

#include "explorer/settings/DataTreePage.h"
#include "explorer/settings/GeneralPage.h"
#include "explorer/settings/OptionsGroups.h"
#include "explorer/settings/SettingsStrings.h"

namespace qb::settings {
namespace {

std::vector<OptionField> dataListFields()
{
    return {
        {QStringLiteral("UseIndividualProp"), FieldKind::CheckBox, strings::ListIndividualProperties},
        {QStringLiteral("IsShowGrid"), FieldKind::CheckBox, strings::ListShowGrid},
        {QStringLiteral("IsFullRowSel"), FieldKind::CheckBox, strings::ListFullRowSelect},
        {QStringLiteral("IsFlatSB"), FieldKind::CheckBox, strings::ListFlatScrollBars},
        {QStringLiteral("ShowTT1"), FieldKind::CheckBox, strings::ListTooltipOnClick},
        {QStringLiteral("ShowTT2"), FieldKind::CheckBox, strings::ListTooltipOnShiftClick},
    };
}

std::vector<OptionField> reportWindowFields()
{
    return {
        {QStringLiteral("IsShowGrid"), FieldKind::CheckBox, strings::ReportShowGrid},
        {QStringLiteral("IsFullRowSel"), FieldKind::CheckBox, strings::ReportFullRowSelect},
        {QStringLiteral("IsFlatSB"), FieldKind::CheckBox, strings::ReportFlatScrollBars},
    };
}

} // namespace

OptionsPages::OptionsPages(OptionsGroups& groups)
{
    m_pages.push_back(std::make_unique<GeneralPage>(groups.general()));
    m_pages.push_back(std::make_unique<OptionsPage>(strings::AppearancePage, nullptr, std::vector<OptionField>{}));
    m_pages.push_back(std::make_unique<OptionsPage>(strings::DataListPage, &groups.dataList(), dataListFields()));
    m_pages.push_back(std::make_unique<DataTreePage>(groups.dataTree()));
    m_pages.push_back(std::make_unique<OptionsPage>(strings::ReportWindowPage, &groups.reportWindow(), reportWindowFields()));
}

OptionsPages::~OptionsPages() = default;

OptionsPage* OptionsPages::page(int titleId) const
{
    for (const auto& p : m_pages)
        if (p->titleId() == titleId)
            return p.get();
    return nullptr;
}

int OptionsPages::parentTitleId(int titleId) const
{
    switch (titleId) {
    case strings::DataListPage:
    case strings::DataTreePage:
    case strings::ReportWindowPage:
        return strings::AppearancePage;
    default:
        return 0;
    }
}

std::vector<AppearanceLink> OptionsPages::appearanceLinks()
{
    return {
        {strings::DataListButton, strings::DataListExplanation, strings::DataListPage},
        {strings::DataTreeButton, strings::DataTreeExplanation, strings::DataTreePage},
        {strings::ReportViewButton, strings::ReportWindowExplanation, strings::ReportWindowPage},
    };
}

void OptionsPages::controlChanged(OptionsPage& page, const QString& control)
{
    page.controlChanged(control);
    m_applyEnabled = true;
}

bool OptionsPages::apply(UserPrompts& prompts)
{
    for (const auto& p : m_pages) {
        if (!p->take(prompts))
            return false;
        if (p->wasShown() && !p->fields().empty())
            m_applied.insert(p->titleId());
    }
    m_applyEnabled = false;
    return true;
}

} // namespace qb::settings
