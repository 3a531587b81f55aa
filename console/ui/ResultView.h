#pragma once
// The result window: read-only text that the runs append to, each piece in its category's
// format or in the format of the text before it. Appends are not undoable (a long result would
// otherwise be kept twice); the window follows the end while the user has not scrolled away.
#include "console/ui/ConsoleTextView.h"

#include <QTextCharFormat>

namespace qb::console::ui {

class ResultView : public ConsoleTextView {
public:
    explicit ResultView(QWidget* parent = nullptr);

    // CR LF, CR and LF each become one line break. `format` null: the format of the text before.
    void append(const QString& text, const QTextCharFormat* format);
    // Between these two the window is not repainted (a rowset while "show data" is off). Pairs
    // may nest.
    void holdRepaint();
    void releaseRepaint();
    bool repaintHeld() const { return m_held > 0; }

private:
    void followEnd();
    void scrollToEnd();

    int m_held = 0;
    bool m_scrollPending = false; // a scroll to the end is queued
};

} // namespace qb::console::ui
