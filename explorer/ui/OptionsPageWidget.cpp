#include "explorer/ui/OptionsPageWidget.h"

#include "explorer/settings/OptionsPage.h"
#include "platform/StringTable.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qb::ui {

OptionsPageWidget::OptionsPageWidget(const settings::OptionsPage& page, Changed changed, QWidget* parent)
    : QWidget(parent), m_changed(std::move(changed))
{
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(page.title(), this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    for (const settings::OptionField& field : page.fields()) {
        const QString key = field.valueName.toLower();
        if (field.kind == settings::FieldKind::CheckBox) {
            auto* box = new QCheckBox(loadString(field.labelId), this);
            box->setObjectName(field.valueName);
            layout->addWidget(box);
            m_controls[key] = box;
            connect(box, &QCheckBox::stateChanged, this, [this, name = field.valueName] {
                if (!m_filling)
                    m_changed(name);
            });
        } else {
            auto* row = new QHBoxLayout;
            auto* label = new QLabel(loadString(field.labelId), this);
            auto* edit = new QLineEdit(this);
            edit->setObjectName(field.valueName);
            edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("00000000")));
            label->setBuddy(edit);
            row->addWidget(label);
            row->addWidget(edit);
            if (field.suffixId)
                row->addWidget(new QLabel(loadString(field.suffixId), this));
            row->addStretch(1);
            layout->addLayout(row);
            m_controls[key] = edit;
            connect(edit, &QLineEdit::textEdited, this, [this, name = field.valueName] { m_changed(name); });
        }
    }
    layout->addStretch(1);
}

void OptionsPageWidget::addLinkButton(QAbstractButton* button)
{
    addLinkRow(button);
}

void OptionsPageWidget::addLinkRow(QWidget* widget)
{
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->insertWidget(box->count() - 1, widget);
}

QWidget* OptionsPageWidget::control(const QString& name) const
{
    const auto it = m_controls.find(name.toLower());
    return it == m_controls.end() ? nullptr : it->second;
}

QCheckBox* OptionsPageWidget::checkBox(const QString& control) const
{
    return qobject_cast<QCheckBox*>(this->control(control));
}

QLineEdit* OptionsPageWidget::numberField(const QString& control) const
{
    return qobject_cast<QLineEdit*>(this->control(control));
}

int OptionsPageWidget::checkState(const QString& control) const
{
    const QCheckBox* box = checkBox(control);
    if (!box)
        return 0;
    switch (box->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void OptionsPageWidget::setCheckState(const QString& control, int state)
{
    QCheckBox* box = checkBox(control);
    if (!box)
        return;
    // Set by the page logic, not by the user: no change to report.
    m_filling = true;
    box->setTristate(state == 2);
    box->setCheckState(state == 1 ? Qt::Checked : state == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    m_filling = false;
}

void OptionsPageWidget::setControlEnabled(const QString& control, bool enabled)
{
    if (QWidget* w = this->control(control))
        w->setEnabled(enabled);
}

QString OptionsPageWidget::text(const QString& control) const
{
    const QLineEdit* edit = numberField(control);
    return edit ? edit->text() : QString();
}

void OptionsPageWidget::setText(const QString& control, const QString& text)
{
    if (QLineEdit* edit = numberField(control))
        edit->setText(text);
}

void OptionsPageWidget::focus(const QString& control)
{
    if (QWidget* w = this->control(control)) {
        w->setFocus(Qt::OtherFocusReason);
        if (QLineEdit* edit = numberField(control))
            edit->selectAll();
    }
}

} // namespace qb::ui
