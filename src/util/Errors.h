// The program's error types: each carries the message the user sees in the error box.
#pragma once

#include <exception>
#include <string>

namespace foyer {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : FMessage(std::move(message)) {}
  const std::string& Message() const { return FMessage; }
  const char* what() const noexcept override { return FMessage.c_str(); }

 private:
  std::string FMessage;
};

// A failed file operation, with the file system's error code.
class EInOutError : public Exception {
 public:
  explicit EInOutError(int errorCode);
  int ErrorCode() const { return FErrorCode; }

 private:
  int FErrorCode;
};

// The text the user sees for an I/O error code.
std::string InOutErrorMessage(int errorCode);

// A file that cannot be opened as a stream ("Cannot open file %s").
class EFOpenError : public Exception {
 public:
  explicit EFOpenError(const std::string& path);
};

// A stream that ends before the data it must hold ("Stream read error").
class EReadError : public Exception {
 public:
  EReadError();
};

// A picture that cannot be decoded, or a file extension with no decoder.
class EInvalidGraphic : public Exception {
 public:
  using Exception::Exception;
  static EInvalidGraphic NotValid();
  static EInvalidGraphic UnknownExtension(const std::string& extension);
};

// A media control interface failure, with the device's own error text.
class EMCIDeviceError : public Exception {
 public:
  using Exception::Exception;
};

// An index outside its table ("Range check error").
class ERangeError : public Exception {
 public:
  ERangeError();
};

// Integer arithmetic that left its type's range ("Integer overflow").
class EIntOverflow : public Exception {
 public:
  EIntOverflow();
};

}  // namespace foyer
