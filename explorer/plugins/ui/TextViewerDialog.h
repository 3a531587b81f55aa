#pragma once
// "Showing data as plain text": the internal viewer's dialog. Resizable, never smaller than it
// opened; the text can be edited, and edits go with the dialog.
#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QSizeGrip;

namespace qb::plugins {

class TextViewerDialog : public QDialog {
    Q_OBJECT
public:
    // What "&About" opens over the dialog: the explorer's about box.
    using AboutBox = std::function<void(QWidget* over)>;

    TextViewerDialog(const QString& text, QWidget* parent = nullptr);

    QPlainTextEdit* textBox() const { return m_text; }

    // The about box the main window offers; until one is set, a plain one naming the program.
    static void setAboutBox(AboutBox about);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPlainTextEdit* m_text;
    QSizeGrip* m_grip;
    bool m_sized = false;
};

} // namespace qb::plugins
