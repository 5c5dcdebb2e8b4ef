#pragma once

#include "platform/platform.h"

namespace vm {

// Builds the dialog from its template and runs it modally in a nested loop
// (timer ticks and paints go on meanwhile).
int RunFltkDialog(const DialogTemplate& dialog, DialogHandler& handler);

// Pixel size of FL_HELVETICA in every control of a dialog.
constexpr int kDialogFontSize = 12;

// Pixel size of one dialog unit at the dialog font, x and y.
void DialogUnitScale(double& sx, double& sy);

}  // namespace vm
