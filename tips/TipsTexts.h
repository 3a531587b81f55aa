#pragma once
// The dialog's texts, as the library has always shown them.
#include <QString>

namespace qb::tips {

inline QString tipsTitleText() { return QStringLiteral("Tip of the Day"); }
inline QString headingText() { return QStringLiteral(" Did you know..."); }
inline QString showAtStartupText() { return QStringLiteral("&Show tips at startup"); }
inline QString nextTipText() { return QStringLiteral("&Next Tip"); }
inline QString closeText() { return QStringLiteral("Close"); }
// String 107.
inline QString noTipsFileText() { return QStringLiteral("Tips file does not exist in the prescribed directory"); }

} // namespace qb::tips
