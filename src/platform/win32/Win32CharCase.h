// Letter case by the system's rules for its ANSI code page.
#pragma once

#include "platform/Platform.h"

namespace foyer {

class Win32CharCase final : public ICharCase {
 public:
  void LowerBuff(std::string& text) override;
};

}  // namespace foyer
