#pragma once
// The modeless "Find" dialog. It keeps its fields in a FindState the window owns, so the next
// opening starts where the last search left off. "&Find Next" stores the text (moved to the end
// of the history), the flags and the direction, then asks the window to search. A pinned dialog
// stays open; an unpinned one closes after "&Find Next" and when it loses activation. The pin is
// the button in the dialog's corner (its picture shows the state).
#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace qb::console::ui {

struct FindState {
    static constexpr int kMaxTextLength = 255;
    QString text;
    QStringList history; // each text once, the latest last
    bool wholeWord = false;
    bool matchCase = false;
    bool down = true;
    bool pinned = true;

    // Stores a searched text: cut to kMaxTextLength, moved to the end of the history.
    void remember(const QString& searched);
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(FindState& state, QWidget* parent);

    // Fills the fields from the state (the dialog is opened or brought to the front).
    void loadState();

    QComboBox* whatBox() const { return m_what; }
    QCheckBox* wholeWordBox() const { return m_wholeWord; }
    QCheckBox* matchCaseBox() const { return m_matchCase; }
    QRadioButton* upButton() const { return m_up; }
    QRadioButton* downButton() const { return m_down; }
    QPushButton* findNextButton() const { return m_findNext; }
    QToolButton* pinButton() const { return m_pin; }

signals:
    void findNextRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void findNextClicked();
    void updatePin();

    FindState& m_state;
    QComboBox* m_what;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QRadioButton* m_up;
    QRadioButton* m_down;
    QPushButton* m_findNext;
    QToolButton* m_pin;
};

} // namespace qb::console::ui
