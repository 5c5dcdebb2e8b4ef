#pragma once

#include "platform/platform.h"

class Fl_Window;

namespace vm {

// The window that dialogs and message boxes belong to: they open centred on
// it and tell the window manager they are its dialogs (no minimise or
// maximise). Until it is set they open centred on the screen.
void SetDialogOwner(Fl_Window* owner);

// True when a window manager (one that follows the desktop conventions)
// runs on the display.
bool WindowManagerRunning();

// A modal message box captioned `caption`: OK only, or Yes and No (No is the
// default, and Escape or the close box answer it). True on OK or Yes.
bool RunFltkMessage(const char* caption, const char* text, bool yesNo);

// Builds the dialog from its template and runs it modally in a nested loop
// (timer ticks and paints go on meanwhile).
int RunFltkDialog(const DialogTemplate& dialog, DialogHandler& handler);

// Pixel size of FL_HELVETICA in every control of a dialog.
constexpr int kDialogFontSize = 12;

// Pixel size of one dialog unit at the dialog font, x and y.
void DialogUnitScale(double& sx, double& sy);

}  // namespace vm
