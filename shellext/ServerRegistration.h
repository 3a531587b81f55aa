#pragma once
// Registration of the extension: its class keys in HKEY_CLASSES_ROOT (the class, its two program
// ids, its type library's name, and the handler entry for every file type, since the extension
// table decides where it acts), and the file managers' action files.
//
// Unregistration removes what registration made, except the keys that other classes and handlers
// share: CLSID, TypeLib, "*", "*\shellex" and "*\shellex\ContextMenuHandlers".
#include <QString>
#include <cstdint>

namespace qb::shellext {

struct RegistrationPlaces {
    QString modulePath;     // the library, named as the class's server
    QString command;        // the paskel command the action files run
    QString templateFolder; // the action files' templates
    QString dataFolder;     // the action files go below it (<prefix>/share)
};

// The places of an installed library: its own path, paskel beside it, <prefix>/share with the
// templates in <prefix>/share/quillbase/paskel.
RegistrationPlaces installedPlaces();

// kOk; kAccessDenied when the class keys may not be written (then nothing is registered);
// kFail with *why otherwise, after taking back what was registered.
int32_t registerServer(const RegistrationPlaces& places, QString* why);
// kOk; kAccessDenied when the keys may not be removed; kFail with *why when something was left.
int32_t unregisterServer(const RegistrationPlaces& places, QString* why);

} // namespace qb::shellext
