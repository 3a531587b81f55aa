#pragma once
// The running program's own folder. Companions (datalink, liboltiva.so, qorvex.tip, plug-ins) are
// found relative to it, never through the current folder or a search path.
#include <QString>

namespace qb {

// The canonical folder of the running executable, without a trailing "/"; looked up once, since
// the executable does not move while it runs.
QString executableFolder();

} // namespace qb
