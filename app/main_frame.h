// The main frame: frame timer, benchmark sequencer and menu commands.
#pragma once

#include "platform/platform.h"

namespace vm {

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

  int sceneStartClock = 0;
  int frameCount = 0;

 private:
  void WriteProgress();
  void StartScene();

  Platform& platform_;
  char statusText_[128] = {};
};

}  // namespace vm
