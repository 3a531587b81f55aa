#pragma once
// The "Tip of the Day" dialog: one tip at a time from the tips file, from tip0 up in one pass,
// and the "Show tips at startup" check box, whose state at closing is the result. Nothing is
// kept between two dialogs and nothing is written.
#include "tips/TipText.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace qb::tips {

class HyperTextControl;

class TipsDialog : public QDialog {
    Q_OBJECT
public:
    // `showAtStartup`: the box starts checked exactly when it is 1. `centreOver`: the window the
    // dialog is centred over (null: the parent's window); `parent`: the owner for modality.
    TipsDialog(const QString& tipsPath, int showAtStartup, QWidget* centreOver, QWidget* parent);

    // Shows the dialog modally; the check box's state when it was closed (Close or Escape).
    bool run();

    bool showAtStartup() const;
    HyperTextControl* textArea() const { return m_text; }
    QPushButton* nextButton() const { return m_next; }
    QCheckBox* showAtStartupBox() const { return m_show; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showNextTip();
    // Centred over the window (or the work area when there is no visible one), kept inside the
    // work area.
    void place(QWidget* centreOver);

    TipsFile m_file;
    int m_count = 0;
    int m_nextIndex = 0;
    QCheckBox* m_show;
    QPushButton* m_next;
    QPushButton* m_close;
    HyperTextControl* m_text;
    QWidget* m_centreOver;
};

} // namespace qb::tips
