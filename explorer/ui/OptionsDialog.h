#pragma once
// "Vexa@Qorvex Properties": the options pages in a tree on the left, the page shown on the right,
// and OK, Cancel and Apply. The rules (filling, taking, validating, when Apply is enabled) are
// the settings module's; this dialog only shows the controls.
#include <QDialog>
#include <map>

class QDialogButtonBox;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace qb::settings {
class OptionsPage;
class OptionsPages;
class UserPrompts;
}

namespace qb::ui {

class OptionsPageWidget;

class OptionsDialog : public QDialog {
public:
    OptionsDialog(settings::OptionsPages& pages, settings::UserPrompts& prompts, QWidget* parent = nullptr);
    ~OptionsDialog() override;

    void showPage(int titleId);
    // The controls of a page (for tests), once it was shown.
    OptionsPageWidget* pageWidget(int titleId) const;
    QTreeWidget* pageTree() const { return m_tree; }
    QDialogButtonBox* buttons() const { return m_buttons; }

    void accept() override;

private:
    void apply();
    void refreshApply();

    settings::OptionsPages& m_pages;
    settings::UserPrompts& m_prompts;
    QTreeWidget* m_tree;
    QStackedWidget* m_stack;
    QDialogButtonBox* m_buttons;
    std::map<int, OptionsPageWidget*> m_widgets;
    std::map<int, QTreeWidgetItem*> m_items;
};

} // namespace qb::ui
