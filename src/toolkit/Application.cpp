// The application object and the default error handler.
#include "toolkit/Application.h"

#include "toolkit/Headless.h"

namespace foyer {

TApplication::TApplication() : FBackend(std::make_unique<HeadlessBackend>()) {}

TApplication::~TApplication() = default;

void TApplication::SetBackend(std::unique_ptr<IBackend> backend) {
  FBackend = std::move(backend);
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form) {
  TForm* created = form.get();
  FForms.push_back(std::move(form));
  if (FMainForm == nullptr) FMainForm = created;
  created->DoCreate();
  created->Bind();
}

void TApplication::Run() {
  FTerminated = false;
  if (FMainForm != nullptr) FBackend->Run(*FMainForm);
}

void TApplication::Terminate() {
  FTerminated = true;
  FBackend->Terminate();
}

void TApplication::HandleException(const std::string& message) noexcept {
  try {
    FBackend->ShowError(FTitle, message + ".");
  } catch (...) {
    // Nothing is left to report with; the program goes on.
  }
}

void TApplication::DestroyForms() {
  while (!FForms.empty())
    FForms.pop_back();
  FMainForm = nullptr;
}

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace foyer
