#pragma once
// The program's heavy desktop services live in plugins loaded when first needed (the browser
// engine when a page is wanted, the sound output once the first frame is on screen): their
// libraries are large, and a program linked to them would pay for them at every start.

#include <QObject>
#include <QString>

namespace kestrova {

// Loads the plugin "kestrova_<name>" from beside the program, the installed library folder
// ("../lib/kestrova"), $KESTROVA_PLUGIN_DIR or the build tree; null, with the reasons logged,
// when none loads. A plugin is loaded once and stays loaded.
QObject* LoadPlugin(const QString& name);

template <typename Interface> Interface* LoadPluginAs(const QString& name) {
    return qobject_cast<Interface*>(LoadPlugin(name));
}

} // namespace kestrova
