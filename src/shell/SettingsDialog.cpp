#include "shell/SettingsDialog.h"

#include "platform/MessageBox.h"

#include <cstdlib>
#include <ctime>
#include <string>

namespace shell {

namespace {

constexpr int idOk = 1;
constexpr int idFullScreen = 1001;
constexpr int idRandomize = 1000;

// Dialog 101 of the program: 65 x 87 dialog units.
platform::DialogTemplate settingsTemplate()
{
    using Kind = platform::DialogControl::Kind;
    platform::DialogTemplate dialog;
    dialog.caption = ".glint.";
    dialog.width = 65;
    dialog.height = 87;
    dialog.controls = {
        {Kind::CheckBox, idFullScreen, "Full Screen", 7, 7, 51, 10, true},
        {Kind::CheckBox, idRandomize, "Randomize", 7, 25, 51, 10, false},
        {Kind::Button, platform::dialogCancelId, "Cancel", 7, 43, 50, 14, false},
        {Kind::DefaultButton, idOk, "OK", 7, 65, 50, 14, false},
    };
    return dialog;
}

bool isChecked(const platform::DialogTemplate& dialog, int id)
{
    for (const platform::DialogControl& control : dialog.controls)
        if (control.id == id)
            return control.checked;
    return false;
}

} // namespace

bool runSettingsDialog(ShowSettings& settings, const DialogRunner& runDialog)
{
    platform::DialogTemplate dialog = settingsTemplate();
    int errorCode = 0;
    int command = runDialog(dialog, errorCode);
    if (command < 0) {
        // Without its dialog the run goes on with the settings it already has.
        platform::showMessage("Error " + std::to_string(errorCode), "CreateDialog", platform::MessageIcon::Warning);
        return true;
    }
    if (command != idOk)
        return false;
    settings.width = 640;
    settings.height = 480;
    settings.fullScreen = isChecked(dialog, idFullScreen);
    if (isChecked(dialog, idRandomize))
        std::srand(static_cast<unsigned>(std::time(nullptr)));
    return true;
}

} // namespace shell
