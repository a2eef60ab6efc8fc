// A medium shipped as a disc image (ISO 9660, with its Joliet or Rock Ridge names as Windows and
// Linux show the disc) or as a zip file (as a download is unpacked), unpacked into a folder of
// its own that is removed again. Read with libarchive.
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

 private:
  std::string FFolder;
  std::string FError;
};

}  // namespace foyer
