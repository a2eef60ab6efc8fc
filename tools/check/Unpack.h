// A medium shipped as a disc image (ISO 9660) or as a zip file (as a download is unpacked),
// unpacked into a folder of its own that is removed again. Read with libarchive; an image's
// hidden flags, which libarchive does not give, with libcdio's libiso9660.
//
// An image is read as Windows shows the disc: with its Joliet names where it has them (Rock
// Ridge names are for Linux only), else with its short ISO 9660 names. What the image marks
// hidden (the existence flag of its directory records) is hidden in the folder, by the
// user.DOSATTRIB attribute as Wine keeps it; and there, as on Windows, a name that begins with a
// dot hides nothing.
#pragma once

#include <string>

namespace foyer {

class TUnpackedMedium {
 public:
  // Unpacks the image or archive at path; Folder() is empty when it could not be read, and
  // Error() says why.
  explicit TUnpackedMedium(const std::string& path);
  ~TUnpackedMedium();
  TUnpackedMedium(const TUnpackedMedium&) = delete;
  TUnpackedMedium& operator=(const TUnpackedMedium&) = delete;

  const std::string& Folder() const { return FFolder; }
  const std::string& Error() const { return FError; }
  // True for a disc image, false for a zip file.
  bool IsImage() const { return FIsImage; }
  // True for an image without Joliet names, which Windows shows by its short names in capitals.
  bool HasShortNamesOnly() const { return FHasShortNamesOnly; }

 private:
  void KeepAttributes(const std::string& medium);

  std::string FFolder;
  std::string FError;
  bool FIsImage = false;
  bool FHasShortNamesOnly = false;
};

}  // namespace foyer
