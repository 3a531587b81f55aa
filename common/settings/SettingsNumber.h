#pragma once
// The registry form of setting values. Numbers are REG_SZ text of the unsigned decimal value,
// always written with a data size of 250 bytes (text, terminator, zero padding). Reading accepts
// up to 1002 bytes; the text must fit 20 bytes once converted to the narrow form, and is read like
// the C library's atoi: leading white space skipped, an optional sign, digits up to the first
// non-digit, so text that does not begin with a number reads as 0. Anything missing, too long or
// of another type leaves the caller's default in place (the functions answer nothing).
//
// Unlike atoi, the digits are taken modulo 2^32, so every value written as "%lu" (style bits with
// the high bit set, 4294967295 for "not set") reads back as written instead of saturating.
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
