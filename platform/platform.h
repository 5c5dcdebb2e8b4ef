// The window-system services the benchmark needs, behind one narrow interface.
// Implementations: FLTK + GLX for the program (platform/fltk), an EGL
// off-screen binding (platform/egl), a headless one for the runner
// (platform/headless_platform.h) and an in-memory one that tests drive
// (tests/support/memory_platform.h). Nothing outside platform/ includes toolkit or
// window-system headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

namespace vm {

// ---- Modal dialogs -------------------------------------------------------

enum class ControlKind {
  kStatic,        // plain label
  kSunkenStatic,  // label with a sunken edge
  kIcon,          // picture of a bitmap resource (id in resourceId)
  kEdit,          // single-line edit
  kListBox,       // list of text lines
  kButton,        // push button
  kDefaultButton  // push button activated by Enter
};

// Control flags.
constexpr unsigned kUpperCase = 1u << 0;    // edit: typed letters become upper case
constexpr unsigned kMultiSelect = 1u << 1;  // list: extended multiple selection
constexpr unsigned kHScroll = 1u << 2;      // list: horizontal scroll bar
constexpr unsigned kSingleLine = 1u << 3;   // edit: newlines typed or pasted become spaces

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// One control of a dialog; rectangles are in dialog units (x: 1/4 of the
// average character width, y: 1/8 of the character height of the dialog font).
struct DialogControl {
  ControlKind kind;
  int id;  // command or control id; -1 for labels
  const char* text;
  int x, y, width, height;
  unsigned flags = 0;
  int maxLength = 0;   // edit: most characters it holds, 0 = no limit
  int resourceId = 0;  // icon: bitmap resource shown
};

struct DialogTemplate {
  int templateId;
  const char* caption;
  int width, height;  // dialog units
  const DialogControl* controls;
  int controlCount;
};

class ListBox {
 public:
  virtual ~ListBox() = default;
  // Adds a line at the end; returns its index.
  virtual int AddString(const char* text) = 0;
  virtual int GetCount() const = 0;
  // Selects (or deselects) lines first..last; out-of-range lines are ignored.
  virtual void SelItemRange(bool select, int first, int last) = 0;
  // 1 if line `index` is selected, 0 if not, -1 if there is no such line.
  virtual int GetSel(int index) const = 0;
  // The current (focused or last clicked) line, -1 when there is none.
  virtual int GetCurSel() const = 0;
  // Text of line `index`, empty for a line that does not exist.
  virtual std::string GetText(int index) const = 0;
  virtual void ResetContent() = 0;
};

class EditField {
 public:
  virtual ~EditField() = default;
  virtual std::string GetText() const = 0;
  virtual void SetText(const char* text) = 0;
};

// What a dialog's logic sees of the open dialog.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual ListBox* List(int id) = 0;    // nullptr if the dialog has no such list
  virtual EditField* Edit(int id) = 0;  // nullptr if the dialog has no such edit
  virtual void EndDialog(int result) = 0;
};

// The logic of one dialog; the platform renders the template and calls these.
class DialogHandler {
 public:
  virtual ~DialogHandler() = default;
  virtual void OnInitDialog(DialogHost& /*host*/) {}
  // A button was clicked (also Enter = kIdOk, Escape or the close box = kIdCancel).
  virtual void OnCommand(DialogHost& host, int id) {
    if (id == kIdOk || id == kIdCancel) host.EndDialog(id);
  }
  virtual void OnDoubleClick(DialogHost& /*host*/, int /*listId*/) {}
};

// ---- Menu ------------------------------------------------------------------

struct MenuEntry {
  const char* popup;  // pop-up the entry belongs to ("&" marks the mnemonic)
  const char* text;
  int commandId;
};

// ---- Application callbacks -------------------------------------------------

// What the platform delivers to the program, one message at a time.
class AppEvents {
 public:
  virtual ~AppEvents() = default;
  virtual void OnTimer(int timerId) = 0;
  virtual void OnPaint() = 0;
  virtual void OnSize(int cx, int cy) = 0;
  virtual void OnMouseWheel(int16_t delta) = 0;  // 120 per notch, forward positive
  virtual void OnCommand(int commandId) = 0;     // menu commands and the close request
};

// ---- Services --------------------------------------------------------------

// The program's one timer, the frame timer: the id the platforms arm and
// deliver.
constexpr int kFrameTimerId = 1;

class Platform {
 public:
  virtual ~Platform() = default;

  virtual void SetStatusText(const char* text) = 0;
  // Arms (or re-arms with a new interval) periodic timer `id`. Ticks never pile
  // up: at most one is pending, and periods missed while the program was busy
  // are dropped.
  virtual void SetTimer(int id, int intervalMs) = 0;
  virtual void KillTimer(int id) = 0;
  // Asks for exactly one later paint of the view; the background is not erased.
  virtual void Invalidate() = 0;
  // Modal message box with an OK button and the application title as caption.
  virtual void MessageBox(const char* text) = 0;
  // Modal question with Yes and No buttons; true on Yes. Where nobody can
  // answer, the text is shown as a message and the answer is No.
  virtual bool AskYesNo(const char* text) {
    MessageBox(text);
    return false;
  }
  // Runs the dialog modally; returns the value passed to EndDialog.
  virtual int RunModal(const DialogTemplate& dialog, DialogHandler& handler) = 0;
  // Wall-clock milliseconds since the process started (monotonic).
  virtual int Clock() = 0;
  // The same clock in nanoseconds: a fast card draws a frame in tens of
  // microseconds, which a microsecond clock would misread by several percent.
  virtual int64_t ClockNs() = 0;
  virtual std::tm LocalTime() = 0;
  // Ends the process at once with `code`.
  virtual void Exit(int code) = 0;
};

// The window system's OpenGL binding for the view, step by step.
class GlBinding {
 public:
  virtual ~GlBinding() = default;
  virtual bool ObtainDC() = 0;
  // Chooses the format closest to double-buffered RGB 8/8/8 with 16 depth
  // bits and no alpha, stencil or accumulation, and sets it.
  virtual bool SetupPixelFormat() = 0;
  virtual bool CreateContext() = 0;
  virtual bool MakeCurrent() = 0;
  virtual void SwapBuffers() = 0;
  virtual bool ReleaseCurrent() = 0;
  virtual bool DeleteContext() = 0;
  virtual void ReleaseDC() = 0;
  // Why the last step that failed did, in words for a terminal.
  virtual std::string FailureReason() const { return "unknown"; }
};

// Monotonic wall-clock milliseconds since process start; shared by the real
// implementations.
int ProcessClockMs();
int64_t ProcessClockNs();

// "%A, %B %d, %Y" with English day and month names, whatever the locale.
std::string FormatLongDate(const std::tm& t);

}  // namespace vm
