// Fonts by face and height, and the face for text a bitmap font cannot show.
#include "toolkit/win32/FontCache.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "util/Errors.h"

namespace foyer {

namespace {

// The TrueType twin of "MS Sans Serif": the same design and widths, with Greek, Cyrillic and
// more of its own, and the system links it to its CJK fonts (FontLink\SystemLink). Bitmap fonts
// such as MS Sans Serif and Terminal are never linked.
constexpr const char* kFallbackFace = "Microsoft Sans Serif";

// "Terminal" is an OEM font: asked for with another character set, the font mapper picks a
// different face.
bool IsTerminal(const std::string& name) {
  return lstrcmpiA(name.c_str(), "Terminal") == 0;
}

// Where "Terminal" is missing (Wine ships none) the mapper must still pick a fixed-pitch face,
// or the descriptions of a list no longer line up in one column.
BYTE PitchFor(const std::string& name) {
  return IsTerminal(name) ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE;
}

// Eight bytes at a time: the text viewer asks this of texts of many megabytes.
bool IsAsciiBytes(const std::string& text) {
  const char* bytes = text.data();
  const size_t size = text.size();
  size_t at = 0;
  for (; at + 8 <= size; at += 8) {
    uint64_t word;
    std::memcpy(&word, bytes + at, sizeof word);
    if ((word & 0x8080808080808080ULL) != 0) return false;
  }
  for (; at < size; ++at) {
    if ((static_cast<unsigned char>(bytes[at]) & 0x80) != 0) return false;
  }
  return true;
}

bool IsAscii(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
}

}  // namespace

std::wstring WideText(const std::string& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(std::max(0, length)), L'\0');
  if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
  return wide;
}

FontCache::Entry& FontCache::EntryOf(const TFont& font) {
  for (Entry& entry : FEntries) {
    if (entry.Height == font.Height && entry.Name == font.Name) return entry;
  }
  GdiFont created(CreateFontA(font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              IsTerminal(font.Name) ? OEM_CHARSET : DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              PitchFor(font.Name), font.Name.c_str()));
  if (!created) throw Exception("Cannot create the font " + font.Name);
  Entry entry{font.Name, font.Height, std::move(created), GdiFont()};
  if (const HDC dc = ProbeDC()) {
    ObjectSelection selection(dc, entry.Font.Get());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    entry.IsBitmap = (metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE)) == 0;
    CHARSETINFO charset{};
    if (TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(metrics.tmCharSet)),
                             &charset, TCI_SRCCHARSET)) {
      entry.CodePage = charset.ciACP;
    } else if (metrics.tmCharSet == OEM_CHARSET) {
      // The system's own OEM code page: under the UTF-8 code page GetOEMCP gives 65001 too.
      char number[8] = {};
      GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTCODEPAGE, number, sizeof number);
      entry.CodePage = static_cast<UINT>(std::strtoul(number, nullptr, 10));
    }
  }
  FEntries.push_back(std::move(entry));
  return FEntries.back();
}

HDC FontCache::ProbeDC() {
  if (!FProbe) FProbe = MemoryDC(CreateCompatibleDC(nullptr));
  return FProbe.Get();
}

HFONT FontCache::Get(const TFont& font) {
  return EntryOf(font).Font.Get();
}

bool FontCache::Shows(const Entry& entry, const std::wstring& text) {
  if (IsAscii(text)) return true;
  const int length = static_cast<int>(std::min<size_t>(text.size(), INT_MAX));
  if (entry.IsBitmap) {
    // Under the UTF-8 code page the font's own code page still says which characters it has.
    if (entry.CodePage == 0 || entry.CodePage == CP_UTF8) return false;
    BOOL isLacking = FALSE;
    const int size = WideCharToMultiByte(entry.CodePage, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                         nullptr, 0, nullptr, &isLacking);
    return size > 0 && !isLacking;
  }
  const HDC dc = ProbeDC();
  if (dc == nullptr) return true;
  ObjectSelection selection(dc, entry.Font.Get());
  std::vector<WORD> glyphs(text.size());
  if (GetGlyphIndicesW(dc, text.data(), length, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) ==
      GDI_ERROR) {
    return true;
  }
  return std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
}

HFONT FontCache::For(const TFont& font, const std::string& text) {
  // Most texts are ASCII, and a long one is not converted only to find that out.
  return IsAsciiBytes(text) ? Get(font) : For(font, WideText(text));
}

HFONT FontCache::For(const TFont& font, const std::wstring& text) {
  Entry& entry = EntryOf(font);
  if (Shows(entry, text)) return entry.Font.Get();
  if (!entry.Fallback) {
    entry.Fallback = GdiFont(CreateFontA(font.Height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                         DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                                         DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, kFallbackFace));
    if (!entry.Fallback) return entry.Font.Get();
  }
  return entry.Fallback.Get();
}

}  // namespace foyer
