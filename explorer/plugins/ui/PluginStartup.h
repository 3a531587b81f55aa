#pragma once
// Starting the viewer plug-ins for a main window: the host with the text viewer and the
// libraries of the plugins folder beside the running program.
#include "explorer/plugins/BlobPlugin.h"

#include <QString>
#include <memory>
#include <vector>

namespace qb::plugins {

// "<folder of the running executable>/plugins/".
QString pluginsFolder();

// The internal plug-ins: the text viewer, showing its dialog.
std::vector<std::unique_ptr<BlobPlugin>> makeInternalPlugins();

// One main window begins / ends using the plug-ins (each window calls both once).
void startPlugins();
void stopPlugins();

} // namespace qb::plugins
