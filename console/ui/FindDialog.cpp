#include "console/ui/FindDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace qb::console::ui {

void FindState::remember(const QString& searched)
{
    text = searched.left(kMaxTextLength);
    history.removeAll(text);
    history.append(text);
}

FindDialog::FindDialog(FindState& state, QWidget* parent) : QDialog(parent), m_state(state)
{
    setWindowTitle(QStringLiteral("Find"));
    setModal(false);

    auto* whatLabel = new QLabel(QStringLiteral("Find what:"), this);
    m_what = new QComboBox(this);
    m_what->setEditable(true);
    m_what->setInsertPolicy(QComboBox::NoInsert);
    m_what->setMinimumContentsLength(24);
    m_what->lineEdit()->setMaxLength(FindState::kMaxTextLength);
    whatLabel->setBuddy(m_what);
    m_wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    m_matchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    auto* direction = new QGroupBox(QStringLiteral("&Direction"), this);
    m_up = new QRadioButton(QStringLiteral("&Up"), direction);
    m_down = new QRadioButton(QStringLiteral("&Down"), direction);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(m_down);
    m_findNext = new QPushButton(QStringLiteral("&Find Next"), this);
    m_findNext->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_pin = new QToolButton(this);
    m_pin->setCheckable(true);
    m_pin->setAutoRaise(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(whatLabel, 0, 0);
    grid->addWidget(m_what, 0, 1, 1, 2);
    grid->addWidget(m_findNext, 0, 3);
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    grid->addLayout(checks, 1, 0, 1, 2);
    grid->addWidget(direction, 1, 2);
    auto* right = new QVBoxLayout;
    right->addWidget(cancel);
    right->addStretch();
    right->addWidget(m_pin, 0, Qt::AlignRight);
    grid->addLayout(right, 1, 3);

    connect(m_what, &QComboBox::editTextChanged, this, [this](const QString& t) { m_findNext->setEnabled(!t.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &FindDialog::findNextClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
    connect(m_pin, &QToolButton::toggled, this, [this](bool on) {
        m_state.pinned = on;
        updatePin();
    });
    loadState();
}

void FindDialog::loadState()
{
    m_what->clear();
    for (auto it = m_state.history.crbegin(); it != m_state.history.crend(); ++it)
        m_what->addItem(*it);
    m_what->setEditText(m_state.text);
    m_findNext->setEnabled(!m_state.text.isEmpty());
    m_wholeWord->setChecked(m_state.wholeWord);
    m_matchCase->setChecked(m_state.matchCase);
    (m_state.down ? m_down : m_up)->setChecked(true);
    m_pin->setChecked(m_state.pinned);
    updatePin();
}

void FindDialog::updatePin()
{
    // Two pictures for the two states: a pinned dialog shows the "locked" look.
    m_pin->setIcon(style()->standardIcon(m_state.pinned ? QStyle::SP_DialogApplyButton : QStyle::SP_TitleBarNormalButton));
    m_pin->setToolTip(m_state.pinned ? QStringLiteral("Pinned: stays open after a search")
                                     : QStringLiteral("Not pinned: closes after a search"));
}

void FindDialog::findNextClicked()
{
    const QString text = m_what->currentText();
    if (text.isEmpty())
        return;
    m_state.remember(text);
    m_state.wholeWord = m_wholeWord->isChecked();
    m_state.matchCase = m_matchCase->isChecked();
    m_state.down = m_down->isChecked();
    loadState();
    emit findNextRequested();
    if (!m_state.pinned)
        hide();
}

void FindDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow() && !m_state.pinned)
        hide();
}

} // namespace qb::console::ui
