#pragma once
// The console's settings in the registry, under HKEY_CURRENT_USER\<root>:
//   \1.6\view                left, top, right, bottom, IsFullWnd, xyMainSplitterPos
//   \1.6\view\rebar          one REG_DWORD per toolbar band, named by the band id in decimal
//   \1.6\Property\General    IsShowDataDuringExec
//   \1.6\Property\Editor     "SQLWnd TabCount" ... "RsltWnd UndoSize"
//   \1.6\Property\Format     per category prefix: " FaceName", " TextColor", " Effects",
//                            " PitchAndFamily", " CharSet", " Height"; "SQLWndTxtProp0 Keywords"
// Numbers are decimal REG_SZ text written with 250 bytes of data (SettingsNumber). The face name
// and the keyword list are written whole, with their terminator: a face name such as "DejaVu Sans
// Mono" does not fit the old 32-byte field, and a cut name would not come back as the chosen font.
// Values written in that old fixed length still read, as everything up to the first zero.
//
// A key that cannot be opened (reading) or created (writing) ends the pass there: what was read
// by then is kept, the rest keeps its value. Nothing is reported to the user.
#include "console/settings/ConsoleSettings.h"

namespace qb::console {

class ConsoleSettingsStore {
public:
    explicit ConsoleSettingsStore(QString rootPath = consoleRootPath()) : m_rootPath(std::move(rootPath)) {}

    // Reads over what `settings` holds (normally the defaults). Answers 0 or the registry error
    // that ended the pass.
    long load(ConsoleSettings& settings) const;
    // Writes the view, General, Editor and Format keys and the toolbar band. Answers 0 or the
    // first registry error.
    long save(const ConsoleSettings& settings) const;

    const QString& rootPath() const { return m_rootPath; }

private:
    QString m_rootPath;
};

} // namespace qb::console
