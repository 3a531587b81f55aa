#pragma once
// The tip of the day, host side: at each window start (force clear) and from Help > Tip of the
// Day (force set). The flag ShowTipOfTheDay (HKEY_CURRENT_USER, the explorer's versioned key;
// 1 when missing) says whether to show the dialog unasked. The tips library is loaded for the
// one call from the executable's folder, by full path, and bound by name; the dialog's answer
// becomes the new flag. The flag is written back whenever the key could be opened, also when
// nothing was shown, so a first start leaves it in place.
//
// Runs on the GUI thread; the library shows its dialog there.
#include "quillbase/qbwindow.h"

#include <QString>
#include <functional>

namespace qb::explorer {

enum class TipsOutcome {
    NotWanted,      // the flag was 0 and the call not forced
    Shown,          // the dialog was shown; its answer is the new flag
    LibraryMissing, // reported through showError
    ExportMissing,  // nothing shown, the flag kept
};

struct TipsLauncher {
    // Where liboltiva.so and qorvex.tip are: the executable's folder unless set.
    QString folder;
    // The window's error box ("Vexa@Qorvex: Error message"); called with the complete text.
    std::function<void(const QString& text)> showError;

    TipsOutcome show(QbWindow owner, bool force) const;
};

// "Program can't load the "liboltiva.so" library. Please, reinstall this software."
QString tipsLibraryMissingText();

} // namespace qb::explorer
