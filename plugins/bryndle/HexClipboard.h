#pragma once
// The clipboard formats of the hex view.
//
// "BinaryData" (a private MIME type): a 32-bit little-endian byte count, then the bytes.
// Plain text: two upper-case hex digits a byte, single spaces between, every line ended by "\n".
// A selection longer than a view line keeps the view's line breaks, its first line indented to
// the column where it starts; a shorter one is cut into lines of the view's width from its start.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

class QMimeData;

namespace bryndle {

inline constexpr char kBinaryDataMimeType[] = "application/x-quillbase-binarydata";

QByteArray encodeBinaryData(const QByteArray& bytes);
// The bytes of a block: the count it states, but never more than the block really holds;
// nullopt when it is too short to hold a count.
std::optional<QByteArray> decodeBinaryData(const QByteArray& block);

// The text of the bytes selected from `first` (the offset of bytes[0]) with n bytes a line.
QByteArray hexText(const QByteArray& bytes, uint64_t first, int bytesPerLine);
// The bytes of a text made of hex digit pairs between white space (what hexText writes);
// nullopt for anything else, or for a text without a single byte.
std::optional<QByteArray> parseHexText(const QString& text);

// Both formats of the bytes, as the view puts them on the clipboard.
QMimeData* makeMimeData(const QByteArray& bytes, uint64_t first, int bytesPerLine);
// What a paste would write, from "BinaryData" first, else from hex text; nullopt when neither
// is there.
std::optional<QByteArray> pastedBytes(const QMimeData* data);

} // namespace bryndle
