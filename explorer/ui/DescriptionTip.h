#pragma once
// The data list's description tooltip: a small balloon near the pointer with the element's caption
// as its title and the cell's description as its text. Both are shown as plain text, whatever
// they hold (they come from the database).
#include <QFrame>

class QLabel;
class QTimer;

namespace qb::ui {

class DescriptionTip : public QFrame {
public:
    static constexpr int kMaxWidth = 300;
    static constexpr int kMaxTextLength = 1023;

    explicit DescriptionTip(QWidget* owner);

    // Shows the tip at the global position (already moved off the pointer). An empty text hides
    // the tip instead.
    void showTip(const QString& title, const QString& text, const QPoint& globalPos);
    QString title() const;
    QString text() const;

    // The cell description as the tip shows it: line feeds, carriage returns and tabs become
    // spaces, cut to 1023 characters.
    static QString oneLine(const QString& description);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QLabel* m_title;
    QLabel* m_text;
    QTimer* m_hideTimer;
};

} // namespace qb::ui
