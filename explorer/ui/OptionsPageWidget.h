#pragma once
// The controls of one options page: a check box or a number field per option, addressed by the
// registry value each edits. Every change is reported through the callback.
#include "explorer/settings/OptionsPageView.h"

#include <QWidget>
#include <functional>
#include <map>

class QAbstractButton;
class QCheckBox;
class QLineEdit;

namespace qb::settings {
class OptionsPage;
}

namespace qb::ui {

class OptionsPageWidget : public QWidget, public settings::OptionsPageView {
public:
    using Changed = std::function<void(const QString& control)>;

    OptionsPageWidget(const settings::OptionsPage& page, Changed changed, QWidget* parent = nullptr);

    int checkState(const QString& control) const override;
    void setCheckState(const QString& control, int state) override;
    void setControlEnabled(const QString& control, bool enabled) override;
    QString text(const QString& control) const override;
    void setText(const QString& control, const QString& text) override;
    void focus(const QString& control) override;

    QCheckBox* checkBox(const QString& control) const;
    QLineEdit* numberField(const QString& control) const;
    // The Appearance page's buttons and their explanations, in order.
    void addLinkButton(QAbstractButton* button);
    void addLinkRow(QWidget* widget);

private:
    QWidget* control(const QString& name) const;

    Changed m_changed;
    std::map<QString, QWidget*> m_controls; // keys in lower case: value names compare without case
    bool m_filling = false;
};

} // namespace qb::ui
