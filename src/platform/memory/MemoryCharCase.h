// Letter case of the Windows-1252 code page, as the system's ANSI lower-casing gives it.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace foyer {

// The lower-case form of one Windows-1252 character; other characters come back unchanged.
char LowerChar1252(char c);

class MemoryCharCase final : public ICharCase {
 public:
  void LowerBuff(std::string& text) override;
};

}  // namespace foyer
