// The recording media control interface.
#include "platform/memory/MemoryMedia.h"

#include <algorithm>

namespace foyer {

namespace {

constexpr uint32_t kErrInvalidDevice = 257;  // MCIERR_INVALID_DEVICE_ID

}  // namespace

uint32_t MemoryMedia::SendCommand(MciCommand& command) {
  uint32_t error = 0;
  const auto failing = FailingMessages.find(command.Message);
  if (failing != FailingMessages.end()) error = failing->second;
  const bool isOpenDevice =
      std::find(OpenDevices.begin(), OpenDevices.end(), command.DeviceId) != OpenDevices.end();
  if (error == 0 && command.Message != kMciOpen && !isOpenDevice) error = kErrInvalidDevice;
  if (error == 0 && command.Message == kMciOpen) {
    const auto refused = RefusedFiles.find(command.Element);
    if (refused != RefusedFiles.end()) {
      error = refused->second;
    } else {
      command.Answer = FNextDevice++;
      OpenDevices.push_back(command.Answer);
    }
  }
  if (error == 0 && command.Message == kMciClose) std::erase(OpenDevices, command.DeviceId);
  Commands.push_back(command);
  return error;
}

bool MemoryMedia::ErrorText(uint32_t error, std::string& text) {
  const auto found = Texts.find(error);
  if (found == Texts.end()) return false;
  text = found->second;
  return true;
}

}  // namespace foyer
