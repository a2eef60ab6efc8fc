// The application object: the backend, the forms, modal showing, timers and the error handler.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Form.h"
#include "util/Errors.h"

namespace foyer {

class TTimer;

// What a backend provides; the headless one binds nothing and records what it is asked.
class IBackend {
 public:
  virtual ~IBackend() = default;
  // Readies the backend for the first form: what it needs of the system fails here, inside the
  // program's start, where the error is reported. The error box works before it.
  virtual void Start() {}
  // The peer of a windowed control, or null when nothing is bound.
  virtual std::unique_ptr<IWindowPeer> CreatePeer(TWinControl& control) = 0;
  // The size of a caption's shown text in a font.
  virtual TSize MeasureText(const TFont& font, const std::string& text) = 0;
  // Shows the form modally until its modal result is set; returns it.
  virtual int32_t ShowModal(TForm& form) = 0;
  // Shows the form as a modal one while the caller goes on working: the other windows take no
  // input until EndModalShowing. The caller lets events through with ProcessMessages, and reads
  // the form's modal result to learn whether the user closed it.
  virtual void BeginModalShowing(TForm& form) = 0;
  virtual void EndModalShowing(TForm& form) = 0;
  // Dispatches the events that are waiting, without waiting for more.
  virtual void ProcessMessages() = 0;
  virtual void ShowError(const std::string& title, const std::string& message) = 0;
  // Tells the user of a screen reader what a sighted user sees happen without a window saying
  // it (an install that ended), as a status message; nothing changes on the screen.
  virtual void Announce(const std::string& /*message*/) {}
  virtual void TimerChanged(TTimer& timer) = 0;
  // Shows the main form and dispatches events until it closes.
  virtual void Run(TForm& mainForm) = 0;
  virtual void Terminate() = 0;
};

class TApplication {
 public:
  TApplication();
  ~TApplication();

  const std::string& Title() const { return FTitle; }
  void SetTitle(std::string title) { FTitle = std::move(title); }

  IBackend& Backend() { return *FBackend; }
  void SetBackend(std::unique_ptr<IBackend> backend);

  // Creates a form: builds it, stores it in the caller's global before its creation handler
  // runs, runs the handler, binds it to the backend. The first form becomes the main form.
  template <typename T>
  void CreateForm(T*& global) {
    auto form = std::make_unique<T>();
    global = form.get();
    AdoptForm(std::move(form));
  }
  TForm* MainForm() const { return FMainForm; }
  void Run();
  // Ends the event loop (the main form closed).
  void Terminate();
  bool Terminated() const { return FTerminated; }

  // Runs an event handler; an error it raises goes to the default handler, never further.
  // Returns whether the handler ran to its end.
  template <typename F>
  bool Dispatch(F&& handler) noexcept {
    try {
      handler();
      return true;
    } catch (const Exception& error) {
      HandleException(error.Message());
    } catch (const std::bad_alloc&) {
      HandleException("Out of memory");
    } catch (const std::exception& error) {
      HandleException(error.what());
    } catch (...) {
      HandleException("Unknown error");
    }
    return false;
  }
  // The default error handler: the message with a full stop, titled with the application's title.
  void HandleException(const std::string& message) noexcept;

  // Destroys every form (the end of the program, or of a test).
  void DestroyForms();

 private:
  void AdoptForm(std::unique_ptr<TForm> form);

  std::unique_ptr<IBackend> FBackend;
  std::vector<std::unique_ptr<TForm>> FForms;
  TForm* FMainForm = nullptr;
  std::string FTitle;
  bool FTerminated = false;
};

TApplication& Application();

}  // namespace foyer
