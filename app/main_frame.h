// The main frame: frame timer, benchmark sequencer and menu commands.
#pragma once

#include <cstdlib>

#include "platform/platform.h"

namespace vm {

class FrameTimeSink;
class RunKeeper;

class CMainFrame {
 public:
  explicit CMainFrame(Platform& platform) : platform_(platform) {}

  // The frame's own start-up, after the view exists: timer and defaults.
  int OnCreate();

  void OnTimer();
  void OnInitBenchs();
  void OnStopBenchs();
  void OnMainScreen() { OnStopBenchs(); }
  void OnThanks();
  void OnQuit();

  // Results and settings commands (app/result_commands.cpp).
  void OnBenchSettings();
  void OnSaveResults();
  void OnGraphicResults();
  void OnTextResults();
  void OnFaq();

  // Keeps finished runs in the history (the desktop program sets it).
  RunKeeper* keeper = nullptr;
  // Told where each scene starts and ends (the view's frame-time sink).
  FrameTimeSink* const* sceneWatch = nullptr;
  int sceneStartClock = 0;
  // Benchmark frames drawn in the current scene, found drawn by a tick.
  int frameCount = 0;

 private:
  void WriteProgress();
  void StartScene();
  FrameTimeSink* Watch() const { return sceneWatch ? *sceneWatch : nullptr; }
  int ElapsedMs();

  Platform& platform_;
  // A frame asked for (or still to come) will be drawn as a benchmark frame.
  bool benchFrameAsked_ = false;
  char statusText_[128] = {};
  // For the end-to-end tests: each benchmark frame counted, and the end of
  // a run, as a line on stderr.
  const bool traceFrames_ = std::getenv("VELMARK3_TRACE_FRAMES") != nullptr;
};

}  // namespace vm
