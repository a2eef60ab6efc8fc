// What a category's folder offers.
#include "main/Catalogue.h"

#include <algorithm>
#include <bit>

#include "util/Path.h"

namespace foyer {

std::string ActionVerb(TListMode mode) {
  switch (mode) {
    case lmInstall:
      return "Install";
    case lmPlay:
      return "Play";
    case lmRun:
      return "Run";
    case lmShow:
      return "Show";
    case lmViewTxt:
    case lmViewRtf:
      return "View";
    case lmNone:
      break;
  }
  return {};
}

std::string ExtensionOf(const std::string& name) {
  const size_t dot = name.find('.');
  return dot == std::string::npos ? std::string() : LowerStr(name.substr(dot + 1));
}

bool IsListable(const std::string& name) {
  if (name == "." || name == "..") return false;
  const std::string lower = LowerStr(name);
  if (lower == "readme.txt" || lower == "viewme.bmp" || lower == "readme") return false;
  const size_t lastDot = lower.rfind('.');
  return lastDot == std::string::npos || lower.substr(lastDot) != ".readme";
}

std::vector<std::string> ZipStems(const std::vector<DirEntry>& entries) {
  std::vector<std::string> stems;
  for (const DirEntry& entry : entries) {
    if ((entry.Attr & faDirectory) != 0 || ExtensionOf(entry.Name) != "zip") continue;
    stems.push_back(LowerStr(entry.Name.substr(0, entry.Name.find('.') + 1)));
  }
  return stems;
}

bool IsZipCompanion(const std::vector<std::string>& zipStems, const std::string& name,
                    const char* extension) {
  const std::string lower = LowerStr(name);
  return std::any_of(zipStems.begin(), zipStems.end(),
                     [&](const std::string& stem) { return lower == stem + extension; });
}

TLeftOut LeftOutAsCategory(const DirEntry& entry, int32_t shown) {
  if ((entry.Attr & faDirectory) == 0 || entry.Name == "." || entry.Name == "..") {
    return TLeftOut::NotAFolder;
  }
  if ((entry.Attr & (faHidden | faSysFile)) != 0) return TLeftOut::HiddenOrSystem;
  if (entry.Name.find('.') != std::string::npos) return TLeftOut::DotInName;
  if (entry.Name == "Tremlov") return TLeftOut::Reserved;
  // Slots end at fifteen; further folders are not shown.
  if (shown >= kMaxCategories) return TLeftOut::BeyondLast;
  return TLeftOut::No;
}

bool IsReadmeName(const std::string& name) {
  const std::string lower = LowerStr(name);
  return lower == "readme" || lower == "readme.txt" || ExtensionOf(name) == "readme";
}

TContentKind KindOf(const std::string& ext) {
  struct Known {
    const char* Ext;
    TContentKind Kind;
  };
  static constexpr Known kKnown[] = {
      {"wav", ckWave},     {"mid", ckMidi},   {"exe", ckProgram},
      {"bat", ckProgram},  {"bmp", ckBitmap}, {"txt", ckText},
      {"rtf", ckRichText}, {"zip", ckZip},    {"avi", ckVideo},
  };
  for (const Known& known : kKnown) {
    if (ext == known.Ext) return known.Kind;
  }
  return ckOther;
}

namespace {

// The mode a folder of one kind is listed in.
void ChooseMode(TCategoryScan& scan) {
  const uint16_t content = scan.Kinds & ~(ckFolder | ckOther);
  const bool isOneKind = std::has_single_bit(content);
  if ((scan.Kinds & ckFolder) != 0) {
    scan.Mode = lmInstall;
    scan.Filter = "*";
    scan.SetsZipMode = true;
    scan.ZipMode = false;
    return;
  }
  // A program may have data files of any kind beside it; other kinds must be alone.
  if (content == ckProgram) {
    scan.Mode = lmRun;
    scan.Filter = "*";
    return;
  }
  if (!isOneKind || (scan.Kinds & ckOther) != 0) {
    scan.Reason = content == 0 && (scan.Kinds & ckOther) == 0 ? TNoModeReason::NoEntries
                  : isOneKind || content == 0                 ? TNoModeReason::UnknownFiles
                                                              : TNoModeReason::MixedKinds;
    return;
  }
  struct OneKind {
    TContentKind Kind;
    TListMode Mode;
    const char* Filter;
    TPlayDevice Device;
  };
  static constexpr OneKind kOneKind[] = {
      {ckWave, lmPlay, "wav", TPlayDevice::WaveAudio},
      {ckMidi, lmPlay, "Mid", TPlayDevice::Sequencer},
      {ckVideo, lmPlay, "avi", TPlayDevice::AVIVideo},
      {ckBitmap, lmShow, "bmp", TPlayDevice::None},
      {ckText, lmViewTxt, "txt", TPlayDevice::None},
      {ckRichText, lmViewRtf, "rtf", TPlayDevice::None},
      {ckZip, lmInstall, "*", TPlayDevice::None},
  };
  for (const OneKind& one : kOneKind) {
    if (content != one.Kind) continue;
    scan.Mode = one.Mode;
    scan.Filter = one.Filter;
    scan.Device = one.Device;
    scan.SetsZipMode = one.Kind == ckZip;
    scan.ZipMode = one.Kind == ckZip;
  }
}

}  // namespace

TCategoryScan ScanCategory(IFileSystem& fs, const std::string& categoryDir) {
  TCategoryScan scan;
  // A zip's notes and preview beside it count only for a list of zips: the lookups of a list of
  // folders look inside the entries alone.
  bool zipReadme = false, zipViewMe = false;
  const FindResult found = FindFiles(fs, JoinPath(categoryDir, "*.*"), faAnyFile);
  const std::vector<std::string> zipStems = ZipStems(found.Entries);
  for (const DirEntry& entry : found.Entries) {
    const std::string& name = entry.Name;
    if ((entry.Attr & faDirectory) != 0) {
      if (name == "." || name == "..") continue;
      scan.Kinds |= ckFolder;
      // A flag once raised stays: no further folder is asked about it.
      const std::string sub = JoinPath(categoryDir, name);
      if (!scan.HasReadme && fs.FileExists(JoinPath(sub, "readme.txt"))) scan.HasReadme = true;
      if (!scan.HasViewMe && fs.FileExists(JoinPath(sub, "viewme.bmp"))) scan.HasViewMe = true;
      continue;
    }
    const std::string lower = LowerStr(name);
    const std::string ext = ExtensionOf(name);
    if (IsReadmeName(name)) {
      scan.HasReadme = true;
    } else if (lower == "viewme.bmp") {
      scan.HasViewMe = true;
    } else if (name.find('.') == std::string::npos) {
      scan.Kinds |= ckOther;
    } else if (ext == "bmp" && IsZipCompanion(zipStems, name, "bmp")) {
      // A zip's preview beside it is preview material, not a picture to show.
      zipViewMe = true;
    } else if (ext == "txt" && IsZipCompanion(zipStems, name, "txt")) {
      zipReadme = true;
    } else {
      scan.Kinds |= KindOf(ext);
    }
  }
  if ((scan.Kinds & ckFolder) == 0) {
    scan.HasReadme = scan.HasReadme || zipReadme;
    scan.HasViewMe = scan.HasViewMe || zipViewMe;
  }
  ChooseMode(scan);
  return scan;
}

std::vector<const DirEntry*> ListableEntries(const std::vector<DirEntry>& found, bool isZipList) {
  const std::vector<std::string> zipStems =
      isZipList ? ZipStems(found) : std::vector<std::string>();
  std::vector<const DirEntry*> listable;
  for (const DirEntry& entry : found) {
    if (!IsListable(entry.Name)) continue;
    if (isZipList && (IsZipCompanion(zipStems, entry.Name, "bmp") ||
                      IsZipCompanion(zipStems, entry.Name, "txt"))) {
      continue;
    }
    listable.push_back(&entry);
  }
  return listable;
}

std::string ShownName(const std::string& name) {
  const std::string stem = name.substr(0, name.find('.'));
  return stem.substr(stem.find_last_of("\\:") + 1);
}

std::string RowText(const std::string& shown, const std::string& description) {
  // The name's column is counted in characters, whatever bytes they take.
  const size_t length = CharLength(shown);
  return shown + std::string(length < kNameColumn ? kNameColumn - length : 0, ' ') + " " +
         description;
}

void OfferNotes(TListOffer& offer, bool hasReadme, bool hasViewMe) {
  offer.ReadMe = offer.Mode == lmInstall && hasReadme;
  offer.ViewMe = offer.Mode == lmInstall && hasViewMe;
}

}  // namespace foyer
