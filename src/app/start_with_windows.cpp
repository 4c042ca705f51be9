#include "app/start_with_windows.h"

#include <stdexcept>

namespace tessera {

// The machine-wide entry comes first because it starts the program for whoever logs on. A user
// without the rights to write it still gets the program at their own log-on through the per-user
// entry, instead of a box that stays checked while nothing was registered.
//
// The program must never be started twice at log-on, so whenever the machine-wide write succeeds
// a per-user entry left from an earlier fallback is removed. That removal is a tidy-up: if it
// fails, the check box still says the truth (the program does start), so it is not reported.
//
// The value is a command line: unquoted, a path with spaces ("C:\Program Files\...") would have
// Windows try "C:\Program.exe" first. The entry is known by its name alone, so one written unquoted
// by an earlier version is simply replaced, at every start while the option is on.
void EnableStartWithWindows(RunRegistry& registry, const std::string& name, const std::string& exePath) {
    const std::string command = '"' + exePath + '"';
    if (registry.SetRunValue(RunScope::Machine, name, command)) {
        registry.DeleteRunValue(RunScope::User, name);
        return;
    }
    if (registry.SetRunValue(RunScope::User, name, command)) return;
    throw std::runtime_error("Impossible d'inscrire " + name +
                             " au démarrage de Windows : "
                             "le registre a refusé l'écriture.");
}

// Both scopes are cleared whichever one the program was registered in; the second is tried even
// when the first fails, so that as much as possible is undone before the user is told.
void DisableStartWithWindows(RunRegistry& registry, const std::string& name) {
    bool machineCleared = registry.DeleteRunValue(RunScope::Machine, name);
    bool userCleared = registry.DeleteRunValue(RunScope::User, name);
    if (machineCleared && userCleared) return;
    throw std::runtime_error("Impossible de retirer " + name +
                             " du démarrage de Windows : "
                             "le registre a refusé la suppression.");
}

}  // namespace tessera
