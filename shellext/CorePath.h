#pragma once
// The folder the installation registered as holding the suite's programs ("core path" in
// HKEY_LOCAL_MACHINE). It is only read: a user who may not change the machine's registry still
// gets working commands.
#include <QByteArray>
#include <QString>
#include <optional>

namespace qb::shellext {

// The folder, ending in "/", in the file system's bytes; nullopt when it is missing or not an
// absolute path (a relative one would depend on where the file manager happens to run), with the
// reason in *why.
std::optional<QByteArray> readCorePath(QString* why);

} // namespace qb::shellext
