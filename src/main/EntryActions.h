// What the user does with an entry of the list, and with its notes and preview. The main window
// decides what to do; an implementation of IEntryActions does it: the window program's
// (dialogs, viewers, the media device, program start), or one that records, for tests and for
// front ends that only look.
#pragma once

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

// Acts on nothing: says what would have been done, an action a line ("plays intro.avi on
// AVIVideo"). The checker and the tests look through it.
class TRecordingActions final : public IEntryActions {
 public:
  std::vector<std::string> Done;

  void Install(const TEntryRef& entry) override { Done.push_back("installs " + entry.Name); }
  void Play(const TEntryRef& entry, TMPDeviceType device) override {
    Done.push_back("plays " + entry.Name + " on " + DeviceTypeName(device));
  }
  void Run(const TEntryRef& entry) override { Done.push_back("runs " + entry.Name); }
  void ShowPicture(const TEntryRef& entry) override { Done.push_back("shows " + entry.Name); }
  void ViewText(const TEntryRef& entry) override { Done.push_back("views " + entry.Name); }
  void ViewRichText(const TEntryRef& entry) override { Done.push_back("views " + entry.Name); }
  void ShowNotes(const TEntryRef& entry) override { Done.push_back("notes of " + entry.Name); }
  void ShowPreview(const TEntryRef& entry) override {
    Done.push_back("preview of " + entry.Name);
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
