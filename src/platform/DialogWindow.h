// Small modal dialogs described by a template of dialog-unit rectangles, the
// way the show's settings dialog is laid out: check boxes and push buttons.
// The dialog is its own decorated window with the template's caption,
// centred on the desktop; it ends when a button is pressed, on Enter (the
// default button), and with the cancel id on Escape, when it is closed or on
// a stop signal. Needs the SDL window system (a screen); drawn with Dear
// ImGui on OpenGL.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The command id that Escape and closing the dialog give.
constexpr int dialogCancelId = 2;

struct DialogControl {
    enum class Kind { CheckBox, Button, DefaultButton };
    Kind kind = Kind::Button;
    int id = 0;
    std::string text;
    // Position and size in dialog units.
    int x = 0, y = 0, width = 0, height = 0;
    // Check boxes: the state, set before and read after the dialog.
    bool checked = false;
};

struct DialogTemplate {
    std::string caption;
    int width = 0, height = 0; // dialog units
    std::vector<DialogControl> controls;
};

// Runs the dialog until it ends and returns the id of the command that ended
// it; the check boxes' `checked` hold their final states. Returns -1 when the
// dialog cannot be created, with a system error code in `errorCode`.
int runDialog(DialogTemplate& dialog, int& errorCode);

} // namespace platform
