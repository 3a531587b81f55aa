#pragma once
// One control of an options page: the registry value it edits, its kind, its label (string ids)
// and, for number fields, the accepted range.
#include <QString>

namespace qb::settings {

enum class FieldKind { CheckBox, Number };

struct OptionField {
    QString valueName;
    FieldKind kind = FieldKind::CheckBox;
    int labelId = 0;  // the check box text, or the text before a number field
    int suffixId = 0; // the text after a number field, if any
    int minimum = 0;
    int maximum = 0;
};

} // namespace qb::settings
