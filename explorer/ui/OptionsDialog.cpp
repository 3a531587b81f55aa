#include "explorer/ui/OptionsDialog.h"

#include "explorer/settings/OptionsPages.h"
#include "explorer/settings/SettingsStrings.h"
#include "explorer/ui/OptionsPageWidget.h"
#include "platform/StringTable.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace qb::ui {

OptionsDialog::OptionsDialog(settings::OptionsPages& pages, settings::UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), m_pages(pages), m_prompts(prompts), m_tree(new QTreeWidget(this)),
      m_stack(new QStackedWidget(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this))
{
    setWindowTitle(loadString(settings::strings::PropertiesTitle));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setMinimumWidth(150);
    m_tree->setMaximumWidth(200);

    for (const auto& page : pages.pages()) {
        const int id = page->titleId();
        auto* widget = new OptionsPageWidget(
            *page, [this, p = page.get()](const QString& control) {
                m_pages.controlChanged(*p, control);
                refreshApply();
            },
            m_stack);
        widget->setObjectName(page->title());
        m_widgets[id] = widget;
        m_stack->addWidget(widget);
        const int parentId = pages.parentTitleId(id);
        QTreeWidgetItem* item = parentId && m_items.count(parentId)
                                    ? new QTreeWidgetItem(m_items[parentId], QStringList{page->title()})
                                    : new QTreeWidgetItem(m_tree, QStringList{page->title()});
        item->setData(0, Qt::UserRole, id);
        m_items[id] = item;
    }
    // The Appearance page leads to the pages below it.
    if (OptionsPageWidget* appearance = m_widgets[settings::strings::AppearancePage]) {
        for (const settings::AppearanceLink& link : settings::OptionsPages::appearanceLinks()) {
            auto* button = new QPushButton(loadString(link.buttonTextId), appearance);
            button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
            auto* explanation = new QLabel(loadString(link.explanationId), appearance);
            explanation->setTextFormat(Qt::PlainText);
            explanation->setWordWrap(true);
            appearance->addLinkButton(button);
            appearance->addLinkRow(explanation);
            connect(button, &QPushButton::clicked, this, [this, target = link.targetTitleId] { showPage(target); });
        }
    }
    m_tree->expandAll();

    auto* body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addWidget(m_stack, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(m_buttons);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            showPage(item->data(0, Qt::UserRole).toInt());
    });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, [this] { apply(); });
    refreshApply();
    if (!pages.pages().empty())
        showPage(pages.pages().front()->titleId());
    resize(620, 380);
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::showPage(int titleId)
{
    settings::OptionsPage* page = m_pages.page(titleId);
    OptionsPageWidget* widget = pageWidget(titleId);
    if (!page || !widget)
        return;
    page->show(*widget);
    m_stack->setCurrentWidget(widget);
    if (QTreeWidgetItem* item = m_items[titleId]; item && m_tree->currentItem() != item)
        m_tree->setCurrentItem(item);
}

OptionsPageWidget* OptionsDialog::pageWidget(int titleId) const
{
    const auto it = m_widgets.find(titleId);
    return it == m_widgets.end() ? nullptr : it->second;
}

void OptionsDialog::refreshApply()
{
    m_buttons->button(QDialogButtonBox::Apply)->setEnabled(m_pages.applyEnabled());
}

void OptionsDialog::apply()
{
    m_pages.apply(m_prompts);
    refreshApply();
}

void OptionsDialog::accept()
{
    if (m_pages.ok(m_prompts))
        QDialog::accept();
    refreshApply();
}

} // namespace qb::ui
