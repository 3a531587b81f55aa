#pragma once
// The hex view: bytes as a hex dump with optional address and character columns, a caret on one
// nibble, a selection, keyboard and mouse editing in place, and copy and paste. A reusable widget:
// it reads and writes its bytes through a HexBuffer, so a value of any size is shown without
// being held in memory (only the lines on screen are read).
//
// Offsets are 64-bit throughout. A value with more lines than a scroll bar counts is scrolled in
// steps of several lines.
#include "HexBuffer.h"
#include "HexLayout.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <memory>
#include <optional>

namespace bryndle {

struct HexColours {
    QColor addressBackground{90, 0, 0};
    QColor addressText{255, 0, 0};
    QColor characterBackground{0, 20, 0};
    QColor characterText{0, 255, 0};
    QColor hexBackground{180, 210, 190};
    QColor hexText{0, 0, 255};
    QColor highlightFill{0, 90, 210};
    QColor highlightOutline{0, 255, 255};
    QColor highlightText{0, 200, 0};
    QColor outside{210, 210, 210};
};

struct ByteRange {
    uint64_t first = 0;
    uint64_t last = 0; // inclusive
    bool contains(uint64_t i) const { return i >= first && i <= last; }
    bool operator==(const ByteRange&) const = default;
};

// The texts of one line as the view draws them.
struct HexLineText {
    QString address;    // upper-case hex, zero-padded to the digits shown
    QString hex;        // "00 41 FF": two digits a byte, one space between; "??" for a byte that cannot be read
    QString characters; // printable bytes as themselves, others as "."; "?" where unreadable
};
// `bytes` holds `count` bytes of the line starting at `lineStart`, or garbage when !readable.
HexLineText formatLine(uint64_t lineStart, const unsigned char* bytes, int count, bool readable, int addressDigits);

class CHexEditBase : public QAbstractScrollArea {
    Q_OBJECT
public:
    // Copies larger than this are not made: the clipboard would hold the bytes four times over.
    static constexpr uint64_t kMaxCopyBytes = 64ull << 20;

    explicit CHexEditBase(QWidget* parent = nullptr);
    ~CHexEditBase() override;

    // New content: selection and highlight cleared, caret on byte 0's high nibble, back at the top.
    void setData(const QByteArray& bytes, bool redraw = true);
    void setBuffer(std::unique_ptr<HexBuffer> buffer, bool redraw = true);
    HexBuffer& buffer() const { return *m_buffer; }
    uint64_t length() const { return m_buffer->length(); }

    void setAddressDigits(int digits, bool redraw = true);
    void setShowAddress(bool show, bool redraw = true);
    void setShowCharacters(bool show, bool redraw = true);
    void setBytesPerLine(int bytes, bool automatic, bool redraw = true);
    void setMultiLine(bool multiLine, bool redraw = true);
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }
    const HexOptions& options() const { return m_options; }
    void setColours(const HexColours& colours);

    // Clamped to the data; a bound of -1 clears it.
    void setSelection(int64_t first, int64_t last, bool redraw = true);
    void selectAll();
    std::optional<ByteRange> selection() const { return m_selection; }
    void setHighlight(int64_t first, int64_t last, bool redraw = true);
    std::optional<ByteRange> highlight() const { return m_highlight; }

    // The texts of a line of the data as drawn (empty past the end).
    HexLineText lineText(uint64_t line);

    uint64_t caretByte() const { return m_caret; }
    bool caretOnLowNibble() const { return m_lowNibble; }
    uint64_t topLine() const { return m_topLine; }
    int horizontalOffset() const;
    // The layout as it stands now (recomputed first when something changed).
    const HexLayout& currentLayout();

    void copy();
    void paste();
    // The clipboard holds something a paste would write, and the view may be written.
    bool canPaste() const;

signals:
    // The user changed bytes (typing or pasting).
    void edited();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
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
    struct Hit {
        uint64_t byte = 0;
        bool low = false;
    };
    void reset(bool redraw);
    void layoutChanged(bool redraw);
    void updateScrollBars();
    void setTopLine(uint64_t line);
    void onVerticalScroll(int value);
    Hit hitTest(QPoint viewportPoint);
    // Moves the caret (clamped to the data) and, with `extend`, selects from the anchor to it.
    void moveCaret(int64_t byte, bool low, bool extend);
    void ensureCaretVisible();
    void typeNibble(int value);
    void dragTo(QPoint viewportPoint);
    void paintLine(QPainter& p, const HexLayout& l, int x0, int y, uint64_t line, const unsigned char* bytes,
                   int count, bool readable);
    // Paints the selected or highlighted cells of a line over its plain text.
    void paintMarks(QPainter& p, const HexLayout& l, int x0, int y, uint64_t lineStart, const HexLineText& text, int count);

    std::unique_ptr<HexBuffer> m_buffer;
    HexOptions m_options;
    HexColours m_colours;
    HexLayout m_layout;
    QFont m_cellFont; // the font as drawn: whole-pixel cells
    bool m_layoutDirty = true;
    bool m_readOnly = false;

    uint64_t m_caret = 0;
    bool m_lowNibble = false;
    uint64_t m_anchor = 0;
    std::optional<ByteRange> m_selection;
    std::optional<ByteRange> m_highlight;

    uint64_t m_topLine = 0;
    uint64_t m_scrollScale = 1; // lines per scroll-bar step

    // Dragging: the rectangle the pointer must leave first, the automatic scrolling timer.
    QRect m_dragStart;
    bool m_dragging = false;
    bool m_leftDragStart = false;
    QPoint m_lastPointer;
    QBasicTimer m_scrollTimer;
    int m_scrollTicks = 0;
};

using HexView = CHexEditBase;

} // namespace bryndle
