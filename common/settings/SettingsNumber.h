#pragma once
// How the settings groups keep numbers in the registry. A number is stored as its unsigned decimal
// text (REG_SZ), padded with zeros to a fixed 250 bytes; that is the form our profiles and exported
// scripts hold, so it must not change. Reading is lenient, because people edit these values by hand
// or in a script: up to 1002 bytes of data are accepted, the text may be at most 20 narrow bytes,
// and it reads the way atoi does (white space, a sign, then digits until something else; no digits
// at all is 0). A value that is missing, longer, or of another type answers nothing, so the
// caller's default stays.
//
// Where atoi would saturate, the digits wrap modulo 2^32 instead: every value we write (style
// bits with the high bit set, 4294967295 for "not set") then reads back exactly as written.
#include "platform/Registry.h"

#include <QStringView>
#include <cstdint>
#include <optional>

namespace qb::settings {

constexpr uint32_t kNumberDataSize = 250;
constexpr uint32_t kNumberReadLimit = 1002;
constexpr int kNumberTextLimit = 20; // narrow bytes, terminator included

// The value of the text's leading number (see above). Never fails.
uint32_t parseLeadingNumber(QStringView text);

// The text of REG_SZ data: UTF-16LE up to the first zero character (or the end).
QString textOfStringData(const QByteArray& data);

std::optional<uint32_t> readNumberValue(reg::HKEY key, const QString& name);
long writeNumberValue(reg::HKEY key, const QString& name, uint32_t value);

// REG_DWORD values: exactly four bytes, little-endian.
std::optional<uint32_t> readDwordValue(reg::HKEY key, const QString& name);
long writeDwordValue(reg::HKEY key, const QString& name, uint32_t value);

// Single-value operations on HKEY_CURRENT_USER\keyPath, used where a whole group is not wanted
// (SingleInstance at process start and on the General page, ShowTipOfTheDay at window start).
// Reading does not create the key; writing does.
uint32_t readDwordSetting(const QString& keyPath, const QString& name, uint32_t defaultValue);
long writeDwordSetting(const QString& keyPath, const QString& name, uint32_t value);

} // namespace qb::settings
