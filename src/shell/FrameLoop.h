// The frame loop, the show's only loop: each pass either handles one window
// message or renders one frame. A frame takes the show time (performance
// counter live, frame count / frame rate on the capture clock), lets the
// sequencer draw, writes the frame into the video while capturing, saves
// the shots whose time has come, presents, and reads the keyboard.
//
// It ends when the sequencer reports the end of the show (after that frame
// was presented and captured), on Escape, F2, SIGINT or SIGTERM, when the
// window is closed, and, for a shot run, after the last shot. The teardown
// is the caller's (killGLWindow), which completes a running capture.
#pragma once

namespace shell {

// Virtual-key code of the keypad minus key, which toggles capturing; typing
// "m" sets the same entry of the key table.
constexpr int keyCaptureToggle = 109;

// Runs showRun() until it ends; returns the exit code: the quit code of a
// closed window, otherwise 0, and 1 when a shot could not be saved or a
// capture failed. A frame the capture cannot write ends the run.
int runFrameLoop();

} // namespace shell
