// The headless backend.
#include "toolkit/Headless.h"

#include <algorithm>

#include "util/Path.h"

namespace foyer {

TSize HeadlessBackend::MeasureText(const TFont&, const std::string& text) {
  return {static_cast<int32_t>(CharLength(text)) * kCharWidth, kLineHeight};
}

int32_t HeadlessBackend::ShowModal(TForm& form) {
  form.BeginModal();
  form.DoShow();
  form.SetVisible(true);
  int32_t result = mrCancel;
  if (ModalHook) {
    result = ModalHook(form);
  } else {
    UnansweredModals.push_back(&form);
  }
  form.SetVisible(false);
  form.EndModal();
  form.SetModalResult(result);
  return result;
}

void HeadlessBackend::BeginModalShowing(TForm& form) {
  form.BeginModal();
  form.DoShow();
  form.SetVisible(true);
  ModalShowings.push_back(&form);
  ModalShowingNames.push_back(form.Name());
}

void HeadlessBackend::EndModalShowing(TForm& form) {
  std::erase(ModalShowings, &form);
  form.SetVisible(false);
  form.EndModal();
}

void HeadlessBackend::ProcessMessages() {
  if (PumpHook) Application().Dispatch(PumpHook);
}

void HeadlessBackend::ShowError(const std::string& title, const std::string& message) {
  LastErrorTitle = title;
  Errors.push_back(message);
}

void HeadlessBackend::TimerChanged(TTimer& timer) {
  std::erase(RunningTimers, &timer);
  if (timer.Enabled() && timer.Interval() > 0 && timer.OnTimer) RunningTimers.push_back(&timer);
}

void HeadlessBackend::Run(TForm& mainForm) {
  mainForm.SetVisible(true);
}

void HeadlessBackend::FireTimer(TTimer& timer) {
  Application().Dispatch([&] { timer.Fire(); });
}

HeadlessBackend& Headless() {
  auto* backend = dynamic_cast<HeadlessBackend*>(&Application().Backend());
  if (backend == nullptr) throw Exception("The application has no headless backend");
  return *backend;
}

}  // namespace foyer
