// SPDX-License-Identifier: GPL-3.0-or-later
// The keys of the plug-in settings file, each bound to the control or member it loads and saves.
#pragma once

#include <functional>
#include <vector>

namespace calvorin {

class IniFile;
class TMainForm;

// One key (or one step of loading) in file order. `load` copies the file into the window, `save` the
// window into the file; either may be empty (a rule run after a section is loaded has no `save`).
struct SettingsKey {
    std::function<void(const IniFile&)> load;
    std::function<void(IniFile&)> save;
};

// Every key of the settings file in the order it is read and written. Keys of extended mode are left
// out when the form's context is not in extended mode; "Modalità messaggio di Telegram" is read
// always and written only in extended mode.
std::vector<SettingsKey> SettingsKeys(TMainForm& form);

// True when the file has at least one section of ours: a file without is no settings file of Calvorin.
bool HoldsSettings(const IniFile& ini);

}  // namespace calvorin
