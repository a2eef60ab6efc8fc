// Code pages and letter case by the system's own rules.
#include "platform/win32/Win32CodePage.h"

#include <climits>
#include <cstdlib>

#include "platform/win32/WinApi.h"

namespace foyer {

namespace {

std::wstring Wide(const std::string& text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length : 0), L'\0');
  if (length > 0) MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty() || wide.size() > INT_MAX) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
  if (length > 0) {
    WideCharToMultiByte(codePage, 0, wide.data(), size, text.data(), length, nullptr, nullptr);
  }
  return text;
}

// The user's ANSI code page as the locale gives it, which the UTF-8 code page of the process
// does not change; the process's own when the locale names none.
uint32_t UserLegacyCodePage() {
  char number[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number) > 0) {
    const unsigned long value = std::strtoul(number, nullptr, 10);
    if (value != 0 && value != CP_UTF8) return static_cast<uint32_t>(value);
  }
  return GetACP() == CP_UTF8 ? 1252 : GetACP();
}

}  // namespace

Win32CodePage::Win32CodePage() : FIsUtf8(GetACP() == CP_UTF8), FLegacy(UserLegacyCodePage()) {}

std::string Win32CodePage::FromLegacy(const std::string& bytes) {
  // Before the UTF-8 code page the program's strings are in the legacy code page already.
  if (!FIsUtf8 || bytes.empty()) return bytes;
  return Narrow(Wide(bytes, FLegacy), CP_UTF8);
}

std::string Win32CodePage::FromUtf8(const std::string& text) {
  if (text.empty()) return text;
  // Made well-formed either way: an ill-formed sequence becomes U+FFFD.
  return Narrow(Wide(text, CP_UTF8), FIsUtf8 ? CP_UTF8 : CP_ACP);
}

void Win32CodePage::LowerBuff(std::string& text) {
  if (text.empty()) return;
  if (!FIsUtf8) {
    // By length, not up to the first zero byte: the buffer may hold zeros in the middle.
    CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return;
  }
  // CharLowerBuffA would lower the bytes of a UTF-8 string one by one; a character at a time
  // through UTF-16 instead, where a lowered character may take other bytes than it did.
  std::wstring wide = Wide(text, CP_UTF8);
  if (wide.empty() || wide.size() > ULONG_MAX) return;
  CharLowerBuffW(wide.data(), static_cast<DWORD>(wide.size()));
  text = Narrow(wide, CP_UTF8);
}

}  // namespace foyer
