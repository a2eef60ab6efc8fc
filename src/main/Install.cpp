// The install action: the target folder from the dialog, then the copy, with progress and Cancel.
#include "dialogs/CopyFail.h"
#include "dialogs/CopyProgress.h"
#include "dialogs/OpenDir.h"
#include "main/EntryActions.h"
#include "main/EntryNotes.h"
#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "util/FileCopy.h"
#include "util/Path.h"

namespace foyer {

void TWindowActions::Install(const TEntryRef& entry) {
  const std::string& name = entry.Name;
  if (entry.HasReadme) {
    const std::string readme = FirstFileOf(InstallNotesFiles(entry.Folder, name, entry.ZipMode));
    if (!readme.empty()) OpenDirDialog->FReadmeFile = readme;
  }
  if (!OpenDirDialog->Execute("Select Install Directory for \"" + name + "\"")) return;
  const std::string target = OpenDirDialog->FSelectedDir;

  const std::string source = JoinPath(entry.Folder, name);
  bool isCopied = false;
  bool isCancelled = false;
  uint64_t filesDone = 0;
  uint64_t filesTotal = 0;
  {
    IFileSystem& fs = *Platform().Fs;
    // The progress window, if the copy took long enough to show one, goes before the alert.
    TInstallProgress progress(name, source);
    // An empty box names no folder: copying into whatever folder is current would scatter the
    // files where the user never looks.
    if (target.empty()) {
      isCopied = false;
    } else if (entry.ZipMode) {
      // The file goes into a folder that must exist already.
      isCopied = CopyOneFile(source, JoinPath(target, name), &progress);
    } else if (fs.DirExists(source)) {
      isCopied = CopyTree(source, target, &progress);
    } else if (fs.FileExists(source)) {
      // A plain file among folder entries goes into the chosen folder, made as for a tree.
      ForceDirs(target);
      isCopied = CopyOneFile(source, JoinPath(target, name), &progress);
    }
    // Any other entry went away since it was listed: nothing can be installed.
    isCancelled = progress.IsCancelled();
    filesDone = progress.FilesDone();
    filesTotal = progress.FilesTotal();
  }
  // A cancelled install says how far it got, so the user knows what was written. A screen
  // reader hears how it ended as well, a finished one above all, which no window reports.
  if (isCancelled) {
    Application().Backend().Announce("Install of \"" + name + "\" cancelled: copied " +
                                     std::to_string(filesDone) + " of " +
                                     std::to_string(filesTotal) + " files");
    CopyFailBox->ShowCancelled(filesDone, filesTotal);
  } else if (!isCopied) {
    Application().Backend().Announce("Install of \"" + name + "\" failed");
    CopyFailBox->ShowFailed();
  } else {
    Application().Backend().Announce("Installed \"" + name + "\" in " + target);
  }
}

}  // namespace foyer
