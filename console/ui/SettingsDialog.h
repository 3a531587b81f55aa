#pragma once
// "Vexa@Tessmar Settings": the General, Editor and Format pages over a copy of the settings. OK
// and Apply check the Editor page first (and so does leaving it): a field that is not an unsigned
// number beeps and takes the focus; a number out of its range says so in a message box and takes
// the focus. What passes is handed to the window through `applied`.
#include "console/settings/ConsoleSettings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace qb::console::ui {

class ConsolePrompts;

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum Page { GeneralPage = 0, EditorPage = 1, FormatPage = 2 };
    // The Editor page's fields in order: SQL window tab count, left, right, undo; then the same
    // for the result window.
    static constexpr int kEditorFieldCount = 8;

    SettingsDialog(const ConsoleSettings& settings, ConsolePrompts& prompts, QWidget* parent);

    const ConsoleSettings& settings() const { return m_settings; }
    // Checks the Editor page and takes its values; false (with the beep or message) otherwise.
    bool validateEditorPage();
    // Validates and emits applied(); false when a field was refused.
    bool apply();

    QTabWidget* tabs() const { return m_tabs; }
    QCheckBox* showDataBox() const { return m_showData; }
    QLineEdit* editorField(int index) const { return m_fields[size_t(index)]; }
    QListWidget* categoryList() const { return m_categories; }
    QLineEdit* keywordsField() const { return m_keywords; }
    QLabel* sample() const { return m_sample; }
    QPushButton* fontButton() const { return m_fontButton; }
    QPushButton* colourButton() const { return m_colourButton; }
    // The Format page's change for the selected category (what the font dialog gave).
    void setCategoryFont(const QFont& font, const QColor& colour);

signals:
    void applied(const ConsoleSettings& settings);

private:
    QWidget* makeGeneralPage();
    QWidget* makeEditorPage();
    QWidget* makeFormatPage();
    void categoryChanged();
    void pageChanged(int index);
    void chooseFont();
    void chooseColour();
    void showSample();
    void takeKeywords();

    ConsoleSettings m_settings;
    ConsolePrompts& m_prompts;
    QTabWidget* m_tabs = nullptr;
    QCheckBox* m_showData = nullptr;
    std::array<QLineEdit*, kEditorFieldCount> m_fields{};
    QListWidget* m_categories = nullptr;
    QLineEdit* m_keywords = nullptr;
    QLabel* m_sample = nullptr;
    QPushButton* m_fontButton = nullptr;
    QPushButton* m_colourButton = nullptr;
    int m_page = 0;
    bool m_turningBack = false;
};

} // namespace qb::console::ui
