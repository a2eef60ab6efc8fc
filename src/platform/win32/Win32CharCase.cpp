// Letter case by the system's rules for its ANSI code page.
#include "platform/win32/Win32CharCase.h"

#include "platform/win32/WinApi.h"

namespace foyer {

void Win32CharCase::LowerBuff(std::string& text) {
  // By length, not up to the first zero byte: the buffer may hold zeros in the middle.
  if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
}

}  // namespace foyer
