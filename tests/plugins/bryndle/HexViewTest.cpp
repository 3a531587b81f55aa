// The hex view offscreen: what it shows, keys, mouse, selection, copy and paste, scrolling a
// large value, and reading through a stream.
#include "CHexEditBase.h"
#include "HexClipboard.h"
#include "StreamHexBuffer.h"

#include "platform/Storage.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace bryndle;

namespace {

// A buffer of any length without memory behind it: byte i is i's low byte.
class CountingBuffer final : public HexBuffer {
public:
    explicit CountingBuffer(uint64_t length) : m_length(length) {}
    uint64_t length() const override { return m_length; }
    bool read(uint64_t offset, void* out, size_t size) override
    {
        if (!rangeWithin(offset, size, m_length))
            return false;
        for (size_t i = 0; i < size; ++i)
            static_cast<unsigned char*>(out)[i] = static_cast<unsigned char>(offset + i);
        ++reads;
        return true;
    }
    bool write(uint64_t, const void*, size_t) override { return false; }
    int reads = 0;

private:
    uint64_t m_length;
};

class HexViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        view.resize(400, 300);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        view.setFocus();
    }
    void open(const QByteArray& bytes, int perLine = 8)
    {
        view.setData(bytes);
        view.setBytesPerLine(perLine, false);
    }
    void key(int k, Qt::KeyboardModifiers m = Qt::NoModifier) { QTest::keyClick(&view, Qt::Key(k), m); }
    QByteArray shown() { return static_cast<MemoryHexBuffer&>(view.buffer()).bytes(); }
    // The viewport point in the middle of a nibble's digit.
    QPoint nibblePoint(uint64_t byte, bool low)
    {
        const HexLayout& l = view.currentLayout();
        const int i = int(byte % uint64_t(l.bytesPerLine));
        const int line = int(byte / uint64_t(l.bytesPerLine) - view.topLine());
        return {l.content.left() + l.hexCellLeft(i) + (low ? l.charWidth : 0) + l.charWidth / 2,
                l.content.top() + line * l.lineHeight + l.lineHeight / 2};
    }

    CHexEditBase view;
};

TEST_F(HexViewTest, ALineShowsAddressDigitsAndCharacters)
{
    view.setData(QByteArray("\x00\x41\xFF", 3));
    view.setAddressDigits(4);
    view.setShowAddress(true);
    view.setShowCharacters(true);
    const HexLineText line = view.lineText(0);
    EXPECT_EQ(line.address, QStringLiteral("0000"));
    EXPECT_EQ(line.hex, QStringLiteral("00 41 FF"));
    EXPECT_EQ(line.characters, QStringLiteral(".A."));
    EXPECT_EQ(view.currentLayout().totalLines, 1u);
    EXPECT_EQ(view.lineText(1).hex, QString()) << "nothing past the end";
}

TEST_F(HexViewTest, TypingHexDigitsOverwritesNibblesAndMovesOn)
{
    open(QByteArray(2, '\0'));
    QSignalSpy edited(&view, &CHexEditBase::edited);
    QTest::keyClicks(&view, "7e");
    EXPECT_EQ(shown(), QByteArray("\x7E\x00", 2));
    EXPECT_EQ(view.caretByte(), 1u);
    EXPECT_FALSE(view.caretOnLowNibble());
    EXPECT_EQ(edited.count(), 2);
    QTest::keyClicks(&view, "g");
    EXPECT_EQ(shown(), QByteArray("\x7E\x00", 2)) << "not a hex digit";
    view.setReadOnly(true);
    QTest::keyClicks(&view, "F");
    EXPECT_EQ(shown(), QByteArray("\x7E\x00", 2)) << "read-only";
}

TEST_F(HexViewTest, CaretKeysMoveByNibbleLineAndPageAndStopAtTheEnds)
{
    open(QByteArray(1000, 'x'));
    key(Qt::Key_Right);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(0), true));
    key(Qt::Key_Right);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(1), false));
    key(Qt::Key_Left);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(0), true));
    key(Qt::Key_Down);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(8), true));
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(0), false)) << "before the start";
    key(Qt::Key_PageDown);
    EXPECT_EQ(view.caretByte(), uint64_t((view.currentLayout().wholeLines - 1) * 8));
    key(Qt::Key_End);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(999), true));
    EXPECT_EQ(view.topLine(), view.currentLayout().maxTopLine) << "scrolled to the caret";
    key(Qt::Key_Down);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(999), true)) << "past the end";
    key(Qt::Key_Home);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(0), false));

    open(QByteArray(1, 'x'));
    key(Qt::Key_End);
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(0), true));
}

TEST_F(HexViewTest, ShiftExtendsFromTheAnchorAndAPlainMoveClears)
{
    open(QByteArray(100, 'x'));
    key(Qt::Key_Down);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view.selection(), (ByteRange{8, 9}));
    key(Qt::Key_Up, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(view.selection(), (ByteRange{0, 8})) << "the anchor stays where Shift went down";
    key(Qt::Key_Right);
    EXPECT_FALSE(view.selection());
    key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(view.selection(), (ByteRange{0, 99}));
    view.setSelection(90, 500);
    EXPECT_EQ(view.selection(), (ByteRange{90, 99})) << "clamped to the data";
    view.setSelection(-1, 3);
    EXPECT_FALSE(view.selection());
}

TEST_F(HexViewTest, ClickPutsTheCaretOnTheNibbleAndDraggingSelects)
{
    open(QByteArray(64, 'x'));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, nibblePoint(10, true));
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(10), true));
    QTest::mousePress(view.viewport(), Qt::LeftButton, {}, nibblePoint(3, false));
    QTest::mouseMove(view.viewport(), nibblePoint(20, false));
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, nibblePoint(20, false));
    EXPECT_EQ(view.selection(), (ByteRange{3, 20}));
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, nibblePoint(30, false));
    EXPECT_EQ(view.selection(), (ByteRange{30, 30}));
    view.setHighlight(28, 33);
    QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, nibblePoint(30, false));
    EXPECT_EQ(view.selection(), (ByteRange{28, 33})) << "a double click in the highlight selects all of it";
}

TEST_F(HexViewTest, CopyPutsBothFormatsOnTheClipboard)
{
    QByteArray bytes;
    for (int i = 0; i < 32; ++i)
        bytes.append(char(i));
    open(bytes);
    view.setSelection(3, 12);
    key(Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("         03 04 05 06 07\n08 09 0A 0B 0C\n"));
    EXPECT_EQ(data->data(QString::fromLatin1(kBinaryDataMimeType)), encodeBinaryData(bytes.mid(3, 10)));
    view.setSelection(5, 5);
    view.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->mimeData()->text(), QStringLiteral("05\n"));
}

TEST_F(HexViewTest, PasteOverwritesFromTheSelectionAndIsCutAtTheEnd)
{
    open(QByteArray(100, '\0'));
    QSignalSpy edited(&view, &CHexEditBase::edited);
    QGuiApplication::clipboard()->setMimeData(makeMimeData(QByteArray(10, '\x55'), 0, 8));
    EXPECT_TRUE(view.canPaste());
    view.setSelection(95, 96);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shown(), QByteArray(95, '\0') + QByteArray(5, '\x55')) << "the length never changes";
    EXPECT_EQ(view.selection(), (ByteRange{95, 99}));
    EXPECT_EQ(std::pair(view.caretByte(), view.caretOnLowNibble()), std::pair(uint64_t(99), true));
    EXPECT_EQ(edited.count(), 1);

    // A block whose count claims more than it holds pastes what it holds.
    auto* lying = new QMimeData;
    QByteArray block = encodeBinaryData(QByteArray("\x01\x02\x03", 3));
    block[1] = char(0x10);
    lying->setData(QString::fromLatin1(kBinaryDataMimeType), block);
    QGuiApplication::clipboard()->setMimeData(lying);
    view.setSelection(-1, -1);
    key(Qt::Key_Home);
    view.paste();
    EXPECT_EQ(shown().left(4), QByteArray("\x01\x02\x03\x00", 4));

    QGuiApplication::clipboard()->setText(QStringLiteral("41 42\n43\n"));
    key(Qt::Key_Home);
    view.paste();
    EXPECT_EQ(shown().left(4), QByteArray("ABC\x00", 4)) << "hex text is taken too";
    QGuiApplication::clipboard()->setText(QStringLiteral("not hex"));
    EXPECT_FALSE(view.canPaste());
    view.setReadOnly(true);
    QGuiApplication::clipboard()->setText(QStringLiteral("FF"));
    EXPECT_FALSE(view.canPaste());
    view.paste();
    EXPECT_EQ(shown().left(1), QByteArray("A"));
}

TEST_F(HexViewTest, EndAndHomeOnAValueOfGigabytesScrollWithoutReadingItAll)
{
    auto buffer = std::make_unique<CountingBuffer>(5ull << 30);
    CountingBuffer* counting = buffer.get();
    view.setBuffer(std::move(buffer));
    view.setShowAddress(true);
    view.setBytesPerLine(1, false);
    const HexLayout& l = view.currentLayout();
    EXPECT_EQ(l.addressDigits, 9);
    EXPECT_GT(l.totalLines, uint64_t(INT_MAX)) << "more lines than a scroll bar counts";
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view.caretByte(), (5ull << 30) - 1);
    EXPECT_EQ(view.topLine(), view.currentLayout().maxTopLine);
    view.repaint();
    const HexLineText last = view.lineText(view.currentLayout().totalLines - 1);
    EXPECT_EQ(last.address, QStringLiteral("13FFFFFFF"));
    EXPECT_EQ(last.hex, QStringLiteral("FF"));
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(view.topLine(), 0u);
    view.repaint();
    EXPECT_LT(counting->reads, 20) << "only the lines on screen are read";
}

TEST_F(HexViewTest, AStreamIsReadByPagesEditsStayInTheViewAndAnUnreadableValueShowsQuestionMarks)
{
    qb::Storage storage;
    QbStream* stream = storage.createStream(QStringLiteral("v"));
    QByteArray bytes(300000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 131) >> 3);
    uint32_t done = 0;
    ASSERT_EQ(stream->table->write(stream, bytes.constData(), uint32_t(bytes.size()), &done), QB_S_OK);
    QbResult r = QB_E_UNEXPECTED;
    auto buffer = std::make_unique<StreamHexBuffer>(stream, &r);
    ASSERT_EQ(r, QB_S_OK);
    EXPECT_EQ(buffer->length(), uint64_t(bytes.size()));
    for (uint64_t at : {0ull, 65530ull, 131071ull, 299990ull}) {
        char got[10];
        ASSERT_TRUE(buffer->read(at, got, 10)) << at;
        EXPECT_EQ(QByteArray(got, 10), bytes.mid(qsizetype(at), 10)) << at;
    }
    char past[2];
    EXPECT_FALSE(buffer->read(299999, past, 2));
    ASSERT_TRUE(buffer->write(65535, "\x01\x02", 2)) << "across a page boundary";
    char edited[2];
    ASSERT_TRUE(buffer->read(65535, edited, 2));
    EXPECT_EQ(QByteArray(edited, 2), QByteArray("\x01\x02", 2));
    uint64_t position = 0;
    stream->table->seek(stream, 65535, QB_STREAM_SEEK_SET, &position);
    stream->table->read(stream, edited, 2, &done);
    EXPECT_EQ(QByteArray(edited, 2), bytes.mid(65535, 2)) << "the stream keeps the value";

    view.setBuffer(std::move(buffer));
    view.setBytesPerLine(8, false);
    storage.destroyElement(QStringLiteral("v")); // the host took the value back
    EXPECT_EQ(view.lineText(30000).hex, QStringLiteral("?? ?? ?? ?? ?? ?? ?? ??"));
    EXPECT_EQ(view.lineText(30000).characters, QStringLiteral("????????"));
    stream->table->release(stream);
}

} // namespace
