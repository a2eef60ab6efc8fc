// Path and string helpers.
#include "util/Path.h"

#include "platform/Platform.h"
#include "util/Checked.h"

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

std::string LeftStr(const std::string& text, int32_t count) {
  if (count <= 0) return {};
  if (text.size() > static_cast<size_t>(count)) return text.substr(0, static_cast<size_t>(count));
  return text;
}

std::string RightStr(const std::string& text, int32_t count) {
  if (count <= 0) return {};
  if (text.size() <= static_cast<size_t>(count)) return text;
  // Position (length - count + 1), counted from 1, as the checked arithmetic gives it.
  const int32_t position = CheckedAdd(CheckedSub(CheckedInt32(text.size()), count), 1);
  return text.substr(static_cast<size_t>(position - 1));
}

std::string LowerStr(const std::string& text) {
  std::string result = text;
  Platform().CharCase->LowerBuff(result);
  return result;
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && LowerStr(a) == LowerStr(b);
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
