// What the user does with an entry of the list, and with its notes and preview. The main window
// decides what to do; an implementation of IEntryActions does it: the window program's
// (dialogs, viewers, the media device, program start), or one that records, for tests and for
// front ends that only look.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Controls.h"

namespace foyer {

// An entry of the list on screen.
struct TEntryRef {
  // The listed folder, with its trailing backslash.
  std::string Folder;
  // The entry's name in it; empty for ReadMe and ViewMe when no row is selected.
  std::string Name;
  // The list holds zip files: notes and previews are beside the entries, not inside them.
  bool ZipMode = false;
  // The category has notes: the install dialog offers the entry's.
  bool HasReadme = false;
};

class IEntryActions {
 public:
  virtual ~IEntryActions() = default;
  virtual void Install(const TEntryRef& entry) = 0;
  // Plays the entry; device is the media device the list plays on, which the player is set to.
  virtual void Play(const TEntryRef& entry, TMPDeviceType device) = 0;
  virtual void Run(const TEntryRef& entry) = 0;
  virtual void ShowPicture(const TEntryRef& entry) = 0;
  virtual void ViewText(const TEntryRef& entry) = 0;
  virtual void ViewRichText(const TEntryRef& entry) = 0;
  // The ReadMe and ViewMe buttons.
  virtual void ShowNotes(const TEntryRef& entry) = 0;
  virtual void ShowPreview(const TEntryRef& entry) = 0;
};

// What an implementation of IEntryActions was asked to do.
enum class TEntryAction : uint8_t {
  Install,
  Play,
  Run,
  ShowPicture,
  ViewText,
  ViewRichText,
  ShowNotes,
  ShowPreview
};

// One action asked, with the entry as it was given, and the media device of a play.
struct TActionCall {
  TEntryAction Action = TEntryAction::Install;
  TEntryRef Entry;
  TMPDeviceType Device = TMPDeviceType::dtAutoSelect;
};

// What the action would have done, a line ("plays intro.avi on AVIVideo").
std::string DoneText(const TActionCall& call);

// Acts on nothing: keeps every action asked, in order. The checker, the tests and front ends
// that only look read what a click would have done through it.
class TRecordingActions final : public IEntryActions {
 public:
  std::vector<TActionCall> Calls;
  // Called with each action as it is kept, while the window that asked is as it was then: a
  // test looks at the window there, or makes the action fail by throwing.
  std::function<void(const TActionCall&)> OnCall;

  void Install(const TEntryRef& entry) override { Keep(TEntryAction::Install, entry); }
  void Play(const TEntryRef& entry, TMPDeviceType device) override {
    Keep(TEntryAction::Play, entry, device);
  }
  void Run(const TEntryRef& entry) override { Keep(TEntryAction::Run, entry); }
  void ShowPicture(const TEntryRef& entry) override { Keep(TEntryAction::ShowPicture, entry); }
  void ViewText(const TEntryRef& entry) override { Keep(TEntryAction::ViewText, entry); }
  void ViewRichText(const TEntryRef& entry) override { Keep(TEntryAction::ViewRichText, entry); }
  void ShowNotes(const TEntryRef& entry) override { Keep(TEntryAction::ShowNotes, entry); }
  void ShowPreview(const TEntryRef& entry) override { Keep(TEntryAction::ShowPreview, entry); }

 private:
  void Keep(TEntryAction action, const TEntryRef& entry,
            TMPDeviceType device = TMPDeviceType::dtAutoSelect) {
    Calls.push_back({action, entry, device});
    if (OnCall) OnCall(Calls.back());
  }
};

// The window program's actions: the install dialog and copy, the media player given, program
// start, and the viewers.
class TWindowActions final : public IEntryActions {
 public:
  explicit TWindowActions(TMediaPlayer& player) : FPlayer(player) {}
  void Install(const TEntryRef& entry) override;
  void Play(const TEntryRef& entry, TMPDeviceType device) override;
  void Run(const TEntryRef& entry) override;
  void ShowPicture(const TEntryRef& entry) override;
  void ViewText(const TEntryRef& entry) override;
  void ViewRichText(const TEntryRef& entry) override;
  void ShowNotes(const TEntryRef& entry) override;
  void ShowPreview(const TEntryRef& entry) override;

 private:
  TMediaPlayer& FPlayer;
};

}  // namespace foyer
