#pragma once
// One page of the options dialog over its settings group: fills the controls when the page is
// first shown and takes them back into the group, validating number fields. Pages that were never
// shown have nothing to take.
#include "explorer/settings/OptionField.h"

#include <QString>
#include <vector>

namespace qb::settings {

class OptionsPageView;
class SettingsGroup;
class UserPrompts;

class OptionsPage {
public:
    // A page without group and fields (Appearance) only leads to other pages.
    OptionsPage(int titleId, SettingsGroup* group, std::vector<OptionField> fields);
    virtual ~OptionsPage() = default;
    OptionsPage(const OptionsPage&) = delete;
    OptionsPage& operator=(const OptionsPage&) = delete;

    int titleId() const { return m_titleId; }
    QString title() const;
    const std::vector<OptionField>& fields() const { return m_fields; }

    // Fills the controls the first time the page is shown (later showings keep what the user
    // typed) and remembers the view for taking. A check-box value outside 0..2 is reset to 0.
    void show(OptionsPageView& view);
    bool wasShown() const { return m_view != nullptr; }

    // Takes the controls into the group in field order, stopping at the first field that fails
    // validation. True when everything was taken or the page was never shown.
    virtual bool take(UserPrompts& prompts);

    // Called for every change of a control (after the change).
    virtual void controlChanged(const QString&) {}

protected:
    virtual void fill(OptionsPageView& view);
    bool takeFields(OptionsPageView& view, UserPrompts& prompts);
    OptionsPageView* view() const { return m_view; }
    SettingsGroup* group() const { return m_group; }

private:
    bool takeNumber(OptionsPageView& view, UserPrompts& prompts, const OptionField& field);

    int m_titleId;
    SettingsGroup* m_group;
    std::vector<OptionField> m_fields;
    OptionsPageView* m_view = nullptr;
};

} // namespace qb::settings
