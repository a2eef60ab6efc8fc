// Path and string helpers.
#include "util/Path.h"

#include "platform/Platform.h"
#include "util/Checked.h"
#include "util/Unicode.h"

namespace foyer {

void AddBackslash(std::string& path) {
  if (!path.empty() && path.back() != '\\') path.push_back('\\');
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  std::string result = folder;
  AddBackslash(result);
  result += name;
  return result;
}

std::string EntryStem(const std::string& folder, const std::string& name) {
  const size_t dot = name.find('.');
  return JoinPath(folder, dot == std::string::npos ? name + "." : name.substr(0, dot + 1));
}

bool IsUtf8Strings() {
  ICodePage* codePage = Platform().CodePage;
  return codePage != nullptr && codePage->IsUtf8();
}

size_t CharLength(const std::string& text) {
  return IsUtf8Strings() ? Utf8Length(text) : text.size();
}

size_t PathLength(const std::string& path) {
  return IsUtf8Strings() ? Utf16Length(path) : path.size();
}

std::string LeftStr(const std::string& text, int32_t count) {
  if (count <= 0) return {};
  const size_t length = CharLength(text);
  if (length <= static_cast<size_t>(count)) return text;
  const bool isUtf8 = IsUtf8Strings();
  return text.substr(0, isUtf8 ? Utf8Offset(text, static_cast<size_t>(count))
                               : static_cast<size_t>(count));
}

std::string RightStr(const std::string& text, int32_t count) {
  if (count <= 0) return {};
  const size_t length = CharLength(text);
  if (length <= static_cast<size_t>(count)) return text;
  // Position (length - count + 1), counted from 1, as the checked arithmetic gives it.
  const int32_t position = CheckedAdd(CheckedSub(CheckedInt32(length), count), 1);
  const auto skipped = static_cast<size_t>(position - 1);
  return text.substr(IsUtf8Strings() ? Utf8Offset(text, skipped) : skipped);
}

std::string LowerStr(const std::string& text) {
  std::string result = text;
  Platform().CodePage->LowerBuff(result);
  return result;
}

bool SameName(const std::string& a, const std::string& b) {
  // Lowered UTF-8 may change its length: only a byte a character are unequal lengths unequal.
  if (a.size() != b.size() && !IsUtf8Strings()) return false;
  return LowerStr(a) == LowerStr(b);
}

std::string NamePart(const std::string& path) {
  const size_t cut = path.find_last_of("\\:");
  const std::string name = cut == std::string::npos ? path : path.substr(cut + 1);
  return LeftStr(name, 255);
}

void ForceDirs(const std::string& path) {
  std::string dir = path;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  if (dir.size() <= 2) return;
  IFileSystem& fs = *Platform().Fs;
  if (fs.DirExists(dir)) return;
  const size_t cut = dir.find_last_of("\\:");
  ForceDirs(cut == std::string::npos ? std::string() : dir.substr(0, cut + 1));
  fs.CreateDir(dir);
}

}  // namespace foyer
