#pragma once
// How the table data binds each result column into its ColumnBinding record, from the declared
// type t and size s of the column information:
//
//   s unbounded (0, 0x1FFFFFFE, 0x3FFFFFFF, 0x7FFFFFFF) and t bytes/narrow/wide  -> stream (13), 4
//   t stream (13) or interface (9)                                              -> stream (13), 4
//   t bytes or narrow text and s > 512                                          -> t by reference, s
//   t wide text and s <= 256                                                    -> wide text, 512
//   t wide text and s > 256                                                     -> wide by reference, 2 s
//   t bytes (other sizes)                                                       -> bytes, 512
//   anything else                                                               -> narrow text, 512 (the provider converts)
//
// A stream-typed column of a text or bytes type is bound inline by its declared type instead
// (first 512 bytes, flag byte 1); values longer than the inline area never enter the cache whole.
#include "dataaccess/ColumnBinding.h"
#include "dataaccess/Provider.h"

namespace qb::data {

// The record of column `ordinal` with its bound type, buffer length and flag set; value zeroed.
ColumnBinding bindingRecordFor(const ColumnInfo& column);

// The provider binding that writes the column into the record at `recordOffset` of a row buffer.
Binding providerBindingFor(const ColumnBinding& record, const ColumnInfo& column, size_t recordOffset);

} // namespace qb::data
