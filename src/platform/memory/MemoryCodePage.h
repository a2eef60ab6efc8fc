// Code pages and letter case as Windows gives them, for the in-memory and Linux platforms: the
// program's strings in code page 1252, as on a Western system before the UTF-8 code page, or in
// UTF-8; the legacy code page is 1252.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace foyer {

// The lower-case form of one Windows-1252 character; other characters come back unchanged.
char LowerChar1252(char c);

// Text in code page 1252 as UTF-8, and UTF-8 in code page 1252 with "?" for a character it
// lacks (two for one beyond 16 bits, as the system's conversion gives them).
std::string Utf8From1252(const std::string& bytes);
std::string Utf8To1252(const std::string& text);

class MemoryCodePage final : public ICodePage {
 public:
  explicit MemoryCodePage(bool isUtf8 = false) : FIsUtf8(isUtf8) {}
  bool IsUtf8() override { return FIsUtf8; }
  void SetUtf8(bool isUtf8) { FIsUtf8 = isUtf8; }
  uint32_t LegacyCodePage() override { return 1252; }
  std::string FromLegacy(const std::string& bytes) override;
  std::string FromUtf8(const std::string& text) override;
  void LowerBuff(std::string& text) override;

 private:
  bool FIsUtf8;
};

}  // namespace foyer
