// The settings dialog of runs started without switches: "Full Screen"
// (checked) and "Randomize" (unchecked) with "Cancel" and "OK", captioned
// ".glint.". OK always gives a 640 x 480 screen and the chosen full-screen
// state, and seeds the random generator with the time when "Randomize" is
// checked. Needs a screen.
#pragma once

#include "platform/DialogWindow.h"
#include "shell/ShowSettings.h"

#include <functional>

namespace shell {

// Runs a dialog and answers like platform::runDialog (the default).
using DialogRunner = std::function<int(platform::DialogTemplate& dialog, int& errorCode)>;

// Shows the dialog and applies its choice to `settings`. Returns false when
// the user cancelled or closed it, which ends the run with exit code 0. A
// dialog that cannot be created is reported and leaves `settings` as they are.
bool runSettingsDialog(ShowSettings& settings, const DialogRunner& runDialog = platform::runDialog);

} // namespace shell
