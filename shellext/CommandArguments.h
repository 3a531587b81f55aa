#pragma once
// The arguments a program gets for one selected file, built from the extension's template.
//
// Nothing here goes through a shell. The template is cut into words first and the file's path is
// put into each word afterwards, so that whatever the file's name holds (blanks, quotes, ";",
// "$(...)") stays inside the one argument it was put into. Paths are the file system's bytes: a
// name that is not valid UTF-8 reaches the program unchanged.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace qb::shellext {

// Words of a template: blanks and tabs separate them; a double-quoted stretch belongs to one
// word, quotes removed ("" gives an empty word). There are no escapes: the templates hold option
// names and placeholders, and a path never comes through here.
QStringList splitTemplate(const QString& argumentTemplate);

// Each word of the template, in UTF-8, with every "%1" replaced by the path and, when the path
// holds a "/", every "%0" replaced by the path up to and including its last "/". Both in one pass
// from left to right, so that a "%0" or "%1" inside the path itself stays as it is.
QList<QByteArray> buildArguments(const QString& argumentTemplate, const QByteArray& path);

// The extension of the file's name, from its last "." on ("x.tar.UDL" gives ".UDL"); empty when
// the name has no ".". A dot in a folder name does not count.
QString fileExtension(const QByteArray& path);

// The path made absolute against the current folder, so that "%1" is always a full path and "%0"
// always has a folder (and no path can start with "-" and pass for an option).
QByteArray absolutePath(const QByteArray& path);

} // namespace qb::shellext
