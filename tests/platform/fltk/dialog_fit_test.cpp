// Every text of every dialog fits its rectangle at the dialog font and scale,
// wrapped only where the rectangle is tall enough; every dialog fits a
// 1024 x 768 screen with its title bar.
#include <gtest/gtest.h>
// After gtest: the X headers that FLTK brings define None.
#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "app/velmark3_app.h"
#include "dialogs/faq_dlg.h"
#include "dialogs/save_results_dlg.h"
#include "dialogs/settings_dlg.h"
#include "dialogs/text_results_dlg.h"
#include "platform/fltk/fltk_dialog.h"

namespace {

TEST(DialogFit, EveryTextFitsItsRectangle) {
  fl_open_display();
  double sx, sy;
  vm::DialogUnitScale(sx, sy);
  for (const vm::DialogTemplate* d :
       {&vm::kAboutDialog, &vm::kSettingsDialog, &vm::kSaveResultsDialog, &vm::kTextResultsDialog,
        &vm::kFaqDialog}) {
    EXPECT_LE(d->width * sx, 1024) << d->caption;
    EXPECT_LE(d->height * sy, 768 - 30) << d->caption;
    for (const vm::DialogControl* c = d->controls; c < d->controls + d->controlCount; ++c) {
      if (!c->text || !*c->text) continue;
      // FLTK's frame of each kind; labels keep 3 pixels free left and right.
      const bool label =
          c->kind == vm::ControlKind::kStatic || c->kind == vm::ControlKind::kSunkenStatic;
      const Fl_Boxtype frame = !label                                ? FL_UP_BOX
                               : c->kind == vm::ControlKind::kStatic ? FL_NO_BOX
                                                                     : FL_THIN_DOWN_BOX;
      const int w = static_cast<int>(c->width * sx + 0.5) - Fl::box_dw(frame) - (label ? 6 : 0);
      const int h = static_cast<int>(c->height * sy + 0.5) - Fl::box_dh(frame);
      fl_font(FL_HELVETICA, vm::kDialogFontSize);
      int textW = w, textH = 0;
      fl_measure(c->text, textW, textH, 0);  // wrapped at the width
      EXPECT_LE(textW, w) << d->caption << ": " << c->text;
      EXPECT_LE(textH, h) << d->caption << ": " << c->text;
    }
  }
}

}  // namespace
