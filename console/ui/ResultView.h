#pragma once
// The result window: read-only text that the runs append to, each piece in its category's
// format or in the format of the text before it. The text lives in a ResultText (plain storage,
// no object per line) and only the lines in sight are laid out, when they are painted, so a
// result of a million rows costs about its characters. Every line has the same height (the
// tallest of the fonts in use), which makes the vertical scroll bar count lines.
//
// The window follows the end while the user has not scrolled away. While text streams in it is
// repainted and scrolled to the end at most once every kRefreshInterval; the first append after
// a quiet spell shows at the end of its turn of the event loop. Between holdRepaint and
// releaseRepaint (pairs may nest) it is not repainted at all, and the release scrolls to the end.
//
// The user reads, selects (mouse, keyboard, double-click for a word), copies and searches; the
// caret marks where a keyboard selection goes on.
#include "console/settings/ConsoleSettings.h"
#include "console/ui/ResultText.h"
#include "console/ui/TextPane.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <chrono>

class QTextLayout;

namespace qb::console::ui {

class ResultView : public QAbstractScrollArea, public TextPane {
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kRefreshInterval{100};
    // Pixels between the viewport's edge and the text, above and on the left.
    static constexpr int kInset = 4;

    explicit ResultView(QWidget* parent = nullptr);

    // CR LF, CR and LF each become one line break. `format` null: the format of the text before.
    void append(const QString& text, const QTextCharFormat* format);
    // Between these two the window is not repainted (a rowset while "show data" is off). Pairs
    // may nest.
    void holdRepaint();
    void releaseRepaint();
    bool repaintHeld() const { return m_held > 0; }
    // Appended text waits for its repaint (and the scroll to the end).
    bool refreshPending() const { return m_refreshQueued; }

    // Tab stops every tabCount average characters of tabFont, the left and right margins.
    void applyEditorOptions(const EditorOptions& options, const QFont& tabFont);
    const EditorOptions& editorOptions() const { return m_options; }

    // The text with LF line breaks (a copy).
    QString toPlainText() const { return m_text.text(); }
    qsizetype lineCount() const { return m_text.lineCount(); }
    QString lineText(qsizetype line) const { return m_text.lineText(line); }
    QString selectedText() const;
    qsizetype caretPosition() const { return m_caret; }
    qsizetype selectionStart() const { return std::min(m_anchor, m_caret); }
    qsizetype selectionEnd() const { return std::max(m_anchor, m_caret); }
    // Selects from anchor to caret (positions in toPlainText()) and scrolls the caret into view.
    void setSelection(qsizetype anchor, qsizetype caret);
    int lineHeight() const { return m_lineHeight; }
    // Where a line starts on the viewport (its top left corner), and the position under a
    // viewport point (the nearest line and character).
    QPoint lineOrigin(qsizetype line) const;
    qsizetype positionAt(const QPointF& point) const;

    // TextPane.
    QPlainTextEdit* editor() override { return nullptr; }
    bool hasText() const override { return !m_text.isEmpty(); }
    bool hasSelection() const override { return m_anchor != m_caret; }
    bool isClearable() const override { return true; }
    void copy() override;
    void selectAll() override;
    void clearText() override;
    bool findText(const TextSearch& search) override;
    std::pair<int, int> caretRowColumn(uint32_t tabCount) const override;

signals:
    void cursorPositionChanged();
    void selectionChanged();
    void textChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // Streaming: ResultView.cpp.
    void scheduleRefresh();
    void refresh();
    void scrollToEnd();
    void applyUpdatesEnabled();

    // Geometry and painting: ResultView.cpp.
    void layoutLine(QTextLayout& layout, qsizetype line) const;
    void updateLineHeight();
    void updateScrollBars();
    int visibleLines() const;
    void notePaintedWidth(qreal width);
    void drawLine(QPainter& painter, qsizetype line);
    void ensureCaretVisible();

    // Input: ResultViewInput.cpp.
    // The position one line up or down (lines < 0 up) at the column the caret keeps.
    qsizetype positionLinesAway(qsizetype lines) const;
    qsizetype positionOfX(qsizetype line, qreal x) const;
    qreal caretX() const;
    void moveCaret(qsizetype position, bool keepAnchor, bool keepColumn = false);
    void selectWordAt(qsizetype position);
    // Where Ctrl+Right and Ctrl+Left go: the start of the next word, the start of this or the
    // previous one (line breaks count as spaces).
    qsizetype wordAfter(qsizetype position) const;
    qsizetype wordBefore(qsizetype position) const;
    bool isSpaceAt(qsizetype position) const;
    void dragTo(const QPointF& point);
    void restartBlink();

    ResultText m_text;
    EditorOptions m_options;
    qreal m_tabStop = 0;
    int m_lineHeight = 1;
    qreal m_widestAdvance = 1; // of every font in use
    size_t m_formatsMeasured = 0; // the text's formats counted in m_lineHeight
    // The widest line seen: the longest one measured when it changes, then every painted one.
    qreal m_contentWidth = 0;
    qsizetype m_measuredLine = -1;
    qsizetype m_measuredLength = -1;

    qsizetype m_anchor = 0;
    qsizetype m_caret = 0;
    qreal m_caretColumnX = -1; // the x that up and down keep; -1: the caret's own
    bool m_caretShown = false;
    QBasicTimer m_blink;
    bool m_dragging = false;
    QPointF m_dragPoint;
    QBasicTimer m_autoScroll;

    int m_held = 0;
    bool m_followEnd = false;      // the next refresh scrolls to the end
    bool m_refreshQueued = false;  // a refresh is queued or timed
    bool m_refreshWaits = false;   // ... and the window does not repaint until it comes
    QElapsedTimer m_sinceRefresh;
};

} // namespace qb::console::ui
