#pragma once
// The tips file and the text of one tip.
//
//   [info]
//   caption=Tip of the Day        ; the dialog's title (empty or missing: the default)
//   tips=2                        ; how many tips follow
//   [tip0]
//   text=First tip\nsecond line of it
//   [tip1]
//   text=...
//
// The file is read through the profile reader (UTF-16 with a byte-order mark or UTF-8; sections
// and keys without regard to case), anew for every value, as the dialog pages through it.
//
// Fuzzing: the file side is the profile reader's (platform/Profile), a target of its own; what
// the tips add on top are the pure functions expandTipEscapes here and findLinks (HyperText.h),
// which take any text and are the entry points for a tips fuzz target.
#include <QString>

namespace qb::tips {

// Texts longer than this are cut, like a caller's 1024-character buffer.
inline constexpr int kMaxTipTextLength = 1023;

// "\n", "\t" and "\r" (backslash and letter) become a blank followed by a line feed, a tab or a
// carriage return, so the text keeps its length. No other escapes exist: any other backslash
// stays as it is.
QString expandTipEscapes(const QString& text);

class TipsFile {
public:
    explicit TipsFile(QString path) : m_path(std::move(path)) {}

    // [info] caption, at most kMaxTipTextLength characters; empty when missing.
    QString caption() const;
    // [info] tips; 0 when missing (also for a missing file).
    int count() const;
    // [tip<index>] text with the escapes applied; empty when missing.
    QString tip(int index) const;

private:
    QString m_path;
};

} // namespace qb::tips
