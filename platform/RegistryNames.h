#pragma once
// How the registry hive compares, orders and checks the names of keys and values.
//
// Two names are the same when their Unicode simple case foldings are equal ("Ärger" and
// "äRGER", "Σ" and "ς"); the stored spelling is the one first written. Subkeys enumerate by the
// upper case of that folding, code unit by code unit (so "_x" comes after "Zeta": upper case,
// not lower case, decides where "_" falls); names equal there but different in folding follow by
// folding.
#include "platform/Registry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qb::reg::detail {

// The identity of a name in a hive: its case folding as big-endian UTF-16 code units.
QByteArray nameIdentity(const QString& name);
// The enumeration order of a subkey name, big-endian so that a byte comparison orders it.
QByteArray nameOrder(const QString& name);

// Splits a key path at "\" into key names. Empty parts (a leading, trailing or doubled "\") are
// skipped. False when a name is too long or is not valid text (lone surrogate, NUL character), or
// when there are more than kMaxKeyDepth names.
bool splitKeyPath(const QString& path, QStringList* names);
bool isStorableValueName(const QString& name);

} // namespace qb::reg::detail
