#pragma once
// The options dialog ("Vexa@Qorvex Properties", command 32782) without its widgets: the pages in
// tree order, the Appearance page's links to the pages below it, the state of "Apply", and the
// rules of "Apply" and "OK". The dialog shows a page through OptionsPage::show with its view and
// reports every control change here.
#include "explorer/settings/OptionsPage.h"

#include <memory>
#include <set>
#include <vector>

namespace qb::settings {

class OptionsGroups;

// A button of the Appearance page and the page it leads to.
struct AppearanceLink {
    int buttonTextId;
    int explanationId;
    int targetTitleId;
};

class OptionsPages {
public:
    explicit OptionsPages(OptionsGroups& groups);
    ~OptionsPages();

    // General, Appearance, Data List, Data Tree, Report Window; the last three sit below
    // Appearance in the tree.
    const std::vector<std::unique_ptr<OptionsPage>>& pages() const { return m_pages; }
    OptionsPage* page(int titleId) const;
    // The title id of the page's parent in the tree, or 0 for a top-level page.
    int parentTitleId(int titleId) const;
    static std::vector<AppearanceLink> appearanceLinks();

    void controlChanged(OptionsPage& page, const QString& control);
    bool applyEnabled() const { return m_applyEnabled; }

    // Applies the pages in order; a page that refuses (a value out of range) stops the rest, so
    // nothing after it is stored half-checked. When every page took its values, "Apply" is
    // disabled again. Answers whether all pages succeeded.
    bool apply(UserPrompts& prompts);
    // The same; the dialog closes only when it answers true.
    bool ok(UserPrompts& prompts) { return apply(prompts); }

    // Pages taken successfully while the dialog was open: the window applies what they changed
    // (the recent-list maximum for General, the list flags for Data List, ...).
    bool wasApplied(int titleId) const { return m_applied.count(titleId) != 0; }

private:
    std::vector<std::unique_ptr<OptionsPage>> m_pages;
    std::set<int> m_applied;
    bool m_applyEnabled = false;
};

} // namespace qb::settings
