// A medium shipped as a disc image (ISO 9660) or as a zip file (as a download is unpacked),
// unpacked into a folder that the caller makes and removes. Read with libarchive; an image's
// hidden flags, which libarchive does not give, with libcdio's libiso9660.
//
// An image is read as Windows shows the disc: with its Joliet names where it has them (Rock
// Ridge names are for Linux only), else with its short ISO 9660 names. What the image marks
// hidden (the existence flag of its directory records) is hidden in the folder, by the
// user.DOSATTRIB attribute as Wine keeps it; and there, as on Windows, a name that begins with a
// dot hides nothing.
//
// An archive is untrusted: only its folders and regular files are made, with this user's
// permissions rather than its own (links, devices and FIFOs are left out, as Windows makes none
// of them), a name that leads out of the folder is refused, and its entries and the bytes of its
// files are limited. Only what the checker reads of a file is written out (CheckedBytes()); the
// rest of every file is a hole, so that the folder lists each file at its size at almost no
// cost on disk.
#pragma once

#include <cstdint>
#include <string>

namespace foyer {

struct TUnpackLimits {
  uint64_t Entries = 1000000;
  // The files' sizes together: more than any medium a person browses (a USB stick of 64 GB).
  uint64_t Bytes = uint64_t(64) << 30;
};

class TUnpackedMedium {
 public:
  // Unpacks the image or archive at path into the empty folder; Error() is empty when it could
  // be read, and says why not otherwise.
  TUnpackedMedium(const std::string& path, const std::string& folder,
                  const TUnpackLimits& limits = {});

  const std::string& Error() const { return FError; }
  // True for a disc image, false for a zip file.
  bool IsImage() const { return FIsImage; }
  // True for an image without Joliet names, which Windows shows by its short names in capitals.
  bool HasShortNamesOnly() const { return FHasShortNamesOnly; }
  // The links, devices and other entries that are neither file nor folder, left out.
  uint64_t LeftOut() const { return FLeftOut; }

 private:
  void Unpack(const std::string& path, const TUnpackLimits& limits);
  void KeepAttributes(const std::string& medium);

  std::string FFolder;
  std::string FError;
  bool FIsImage = false;
  bool FHasShortNamesOnly = false;
  uint64_t FLeftOut = 0;
};

// Removes the folder and all it holds, whatever permissions they have; follows no link.
void RemoveTree(const std::string& folder);

}  // namespace foyer
