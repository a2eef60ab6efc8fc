// The headless backend: nothing is bound, text metrics are fixed, tests answer modal windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "toolkit/Application.h"

namespace foyer {

class HeadlessBackend : public IBackend {
 public:
  // Every shown character of a caption is this wide, and a line this high, in any font.
  static constexpr int32_t kCharWidth = 6;
  static constexpr int32_t kLineHeight = 13;

  std::unique_ptr<IWindowPeer> CreatePeer(TWinControl&) override { return nullptr; }
  TSize MeasureText(const TFont& font, const std::string& text) override;
  int32_t ShowModal(TForm& form) override;
  void BeginModalShowing(TForm& form) override;
  void EndModalShowing(TForm& form) override;
  // Runs the pump hook, as if events were waiting.
  void ProcessMessages() override;
  void ShowError(const std::string& title, const std::string& message) override;
  void Announce(const std::string& message) override { Announcements.push_back(message); }
  void TimerChanged(TTimer& timer) override;
  void Run(TForm& mainForm) override;
  void Terminate() override {}

  // Answers a modal window: it may click the window's controls; its result is the modal result.
  // Without a hook a modal window is recorded as unanswered and closes with Cancel.
  std::function<int32_t(TForm&)> ModalHook;
  std::vector<TForm*> UnansweredModals;
  // The forms up as modal ones while their caller works, and every form that ever was.
  std::vector<TForm*> ModalShowings;
  std::vector<std::string> ModalShowingNames;
  // Stands for the events a user makes while a caller lets them through: it may click the
  // controls of the forms in ModalShowings.
  std::function<void()> PumpHook;
  // The messages the default error handler showed, each as the box shows it.
  std::vector<std::string> Errors;
  std::string LastErrorTitle;
  // The status messages announced, in order.
  std::vector<std::string> Announcements;
  // The timers that are enabled, in the order they were enabled.
  std::vector<TTimer*> RunningTimers;

  // Raises the timer's event as its interval would have.
  void FireTimer(TTimer& timer);
};

// The headless backend the application holds, for tests.
HeadlessBackend& Headless();

}  // namespace foyer
