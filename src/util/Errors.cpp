// Messages of the program's error types.
#include "util/Errors.h"

namespace foyer {

std::string InOutErrorMessage(int errorCode) {
  switch (errorCode) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(errorCode);
  }
}

EInOutError::EInOutError(int errorCode)
    : Exception(InOutErrorMessage(errorCode)), FErrorCode(errorCode) {}

EFOpenError::EFOpenError(const std::string& path) : Exception("Cannot open file " + path) {}

EReadError::EReadError() : Exception("Stream read error") {}

EInvalidGraphic EInvalidGraphic::NotValid() {
  return EInvalidGraphic("Bitmap image is not valid");
}

EInvalidGraphic EInvalidGraphic::UnknownExtension(const std::string& extension) {
  return EInvalidGraphic("Unknown picture file extension (." + extension + ")");
}

ERangeError::ERangeError() : Exception("Range check error") {}

EIntOverflow::EIntOverflow() : Exception("Integer overflow") {}

}  // namespace foyer
