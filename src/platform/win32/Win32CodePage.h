// Code pages and letter case by the system's own rules.
#pragma once

#include "platform/Platform.h"

namespace foyer {

class Win32CodePage final : public ICodePage {
 public:
  Win32CodePage();
  bool IsUtf8() override { return FIsUtf8; }
  uint32_t LegacyCodePage() override { return FLegacy; }
  std::string FromLegacy(const std::string& bytes) override;
  std::string FromUtf8(const std::string& text) override;
  void LowerBuff(std::string& text) override;

 private:
  bool FIsUtf8;
  uint32_t FLegacy;
};

}  // namespace foyer
