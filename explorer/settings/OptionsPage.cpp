#include "explorer/settings/OptionsPage.h"

#include "common/settings/SettingsGroup.h"
#include "explorer/settings/OptionsPageView.h"
#include "explorer/settings/SettingsStrings.h"
#include "explorer/settings/UserPrompts.h"
#include "platform/StringTable.h"

#include <optional>

namespace qb::settings {
namespace {

// An integer as a number field holds it: optional blanks, an optional sign, digits only.
std::optional<int> parseFieldNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    const int value = trimmed.toInt(&ok, 10);
    if (!ok || trimmed.startsWith(u'+'))
        return std::nullopt;
    return value;
}

QString rangeMessage(int minimum, int maximum)
{
    QString text = qb::loadString(strings::RangeMessage);
    for (const int bound : {minimum, maximum}) {
        const qsizetype at = text.indexOf(QLatin1String("%i"));
        if (at >= 0)
            text.replace(at, 2, QString::number(bound));
    }
    return text;
}

} // namespace

OptionsPage::OptionsPage(int titleId, SettingsGroup* group, std::vector<OptionField> fields)
    : m_titleId(titleId), m_group(group), m_fields(std::move(fields))
{
}

QString OptionsPage::title() const
{
    return qb::loadString(m_titleId);
}

void OptionsPage::show(OptionsPageView& view)
{
    if (m_view)
        return;
    m_view = &view;
    fill(view);
}

void OptionsPage::fill(OptionsPageView& view)
{
    if (!m_group)
        return;
    for (const OptionField& field : m_fields) {
        uint32_t value = m_group->value(field.valueName);
        if (field.kind == FieldKind::CheckBox) {
            if (value > 2) {
                value = 0;
                m_group->setValue(field.valueName, 0);
            }
            view.setCheckState(field.valueName, int(value));
        } else {
            view.setText(field.valueName, QString::number(int(value)));
        }
    }
}

bool OptionsPage::take(UserPrompts& prompts)
{
    return !m_view || takeFields(*m_view, prompts);
}

bool OptionsPage::takeFields(OptionsPageView& view, UserPrompts& prompts)
{
    if (!m_group)
        return true;
    for (const OptionField& field : m_fields) {
        if (field.kind == FieldKind::CheckBox)
            m_group->setValue(field.valueName, uint32_t(view.checkState(field.valueName)));
        else if (!takeNumber(view, prompts, field))
            return false;
    }
    return true;
}

bool OptionsPage::takeNumber(OptionsPageView& view, UserPrompts& prompts, const OptionField& field)
{
    const std::optional<int> value = parseFieldNumber(view.text(field.valueName));
    if (!value) {
        prompts.beep();
        view.focus(field.valueName);
        return false;
    }
    if (*value < field.minimum || *value > field.maximum) {
        prompts.showMessage(MessageIcon::Exclamation, qb::loadString(strings::ErrorCaption),
                            rangeMessage(field.minimum, field.maximum));
        view.focus(field.valueName);
        view.setText(field.valueName, QString::number(int(m_group->value(field.valueName))));
        return false;
    }
    m_group->setValue(field.valueName, uint32_t(*value));
    return true;
}

} // namespace qb::settings
