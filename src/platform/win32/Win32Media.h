// The media control interface and program start of the system.
#pragma once

#include "platform/Platform.h"

namespace foyer {

class Win32Media final : public IMedia {
 public:
  uint32_t SendCommand(MciCommand& command) override;
  bool ErrorText(uint32_t error, std::string& text) override;
};

class Win32Programs final : public IPrograms {
 public:
  uint32_t Start(const ProgramStart& program) override;
  uint32_t StartElevated(const ProgramStart& program) override;
};

}  // namespace foyer
