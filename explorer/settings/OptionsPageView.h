#pragma once
// The controls of one options page as the page logic sees them, each addressed by the registry
// value it edits ("IsShowGrid", "MaxBackupPoints", ...). The options dialog implements it.
#include <QString>

namespace qb::settings {

class OptionsPageView {
public:
    virtual ~OptionsPageView() = default;
    // Check boxes: 0 unchecked, 1 checked, 2 indeterminate.
    virtual int checkState(const QString& control) const = 0;
    virtual void setCheckState(const QString& control, int state) = 0;
    virtual void setControlEnabled(const QString& control, bool enabled) = 0;
    // Number fields.
    virtual QString text(const QString& control) const = 0;
    virtual void setText(const QString& control, const QString& text) = 0;
    virtual void focus(const QString& control) = 0;
};

} // namespace qb::settings
