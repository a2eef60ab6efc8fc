// The Windows rules for paths, names and wildcard patterns, shared by the file systems that
// answer as Windows does over something else.
#include "platform/WinPath.h"

#include <algorithm>
#include <cstring>

#include "platform/memory/MemoryCodePage.h"
#include "util/Unicode.h"

namespace foyer::winpath {

namespace {

// FindFirstFile rewrites a pattern into the system's DOS wildcards before it matches names: a
// "?" becomes one that may also match nothing before a dot or the end of the name; a "*" before
// a dot becomes one that stops short of the name's last dot; a dot before a wildcard or at the
// end also matches the end of the name. So "*.*" finds names without a dot.
enum class MaskKind : uint8_t { Literal, Star, DosStar, DosQm, DosDot };

struct MaskToken {
  MaskKind Kind;
  char C;
};

std::vector<MaskToken> DosMask(const std::string& mask) {
  std::vector<MaskToken> tokens;
  for (size_t index = 0; index < mask.size(); ++index) {
    const char c = mask[index];
    const char next = index + 1 < mask.size() ? mask[index + 1] : '\0';
    if (c == '?') {
      tokens.push_back({MaskKind::DosQm, c});
    } else if (c == '*') {
      tokens.push_back({next == '.' ? MaskKind::DosStar : MaskKind::Star, c});
    } else if (c == '.' && (next == '?' || next == '*' || next == '\0')) {
      tokens.push_back({MaskKind::DosDot, c});
    } else {
      tokens.push_back({MaskKind::Literal, LowerChar1252(c)});
    }
  }
  return tokens;
}

class MaskMatcher {
 public:
  MaskMatcher(const std::vector<MaskToken>& tokens, const std::string& name)
      : FTokens(tokens),
        FName(Folded(name)),
        FLastDot(FName.rfind('.')),
        FMemo((tokens.size() + 1) * (FName.size() + 1), kUnknown) {}

  bool Matches() { return Match(0, 0); }

 private:
  static constexpr signed char kUnknown = -1;

  bool Match(size_t token, size_t at) {
    signed char& memo = FMemo[token * (FName.size() + 1) + at];
    if (memo == kUnknown) memo = Compute(token, at) ? 1 : 0;
    return memo == 1;
  }

  bool Compute(size_t token, size_t at) {
    const size_t size = FName.size();
    if (token == FTokens.size()) return at == size;
    const MaskToken& current = FTokens[token];
    switch (current.Kind) {
      case MaskKind::Star:
        return AnyRun(token, at, size);
      case MaskKind::DosStar:
        return AnyRun(token, at, FLastDot != std::string::npos && at <= FLastDot ? FLastDot : size);
      case MaskKind::DosQm:
        if (at == size || FName[at] == '.') {
          size_t after = token;
          while (after < FTokens.size() && FTokens[after].Kind == MaskKind::DosQm)
            ++after;
          return Match(after, at);
        }
        return Match(token + 1, at + 1);
      case MaskKind::DosDot:
        if (at == size) return Match(token + 1, at);
        return FName[at] == '.' && Match(token + 1, at + 1);
      case MaskKind::Literal:
        return at < size && FName[at] == current.C && Match(token + 1, at + 1);
    }
    return false;
  }

  // The token swallows the name from at up to any end not beyond last.
  bool AnyRun(size_t token, size_t at, size_t last) {
    for (size_t end = at; end <= last; ++end) {
      if (Match(token + 1, end)) return true;
    }
    return false;
  }

  const std::vector<MaskToken>& FTokens;
  std::string FName;
  size_t FLastDot;
  std::vector<signed char> FMemo;
};

}  // namespace

char UpperLetter(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLetter(char c) {
  const char upper = UpperLetter(c);
  return upper >= 'A' && upper <= 'Z';
}

std::string Folded(const std::string& text) {
  // Windows' file systems compare names in UTF-16, whatever the program's code page: a UTF-8
  // name a character at a time, others as code page 1252.
  if (IsUtf8(text)) return LowerUtf8(text);
  std::string folded = text;
  for (char& c : folded)
    c = LowerChar1252(c);
  return folded;
}

bool IsSameName(const std::string& a, const std::string& b) {
  return Folded(a) == Folded(b);
}

bool IsValidName(const std::string& name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"|?*", c) != nullptr) {
      return false;
    }
  }
  return true;
}

std::string WithBackslashes(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

bool IsAbsoluteDrivePath(const std::string& path) {
  return path.size() >= 3 && IsLetter(path[0]) && path[1] == ':' && path[2] == '\\';
}

std::vector<std::string> SplitNames(const std::string& rest) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= rest.size()) {
    size_t end = rest.find('\\', start);
    if (end == std::string::npos) end = rest.size();
    if (end > start) names.push_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// Windows stores no name that ends in a dot or a space, so it also drops one dot that ends a
// folder name, and every dot and space that ends the last name.
std::string Collapsed(const std::string& absolute) {
  const std::string rest = absolute.substr(3);
  const bool hasTrailingBackslash = !rest.empty() && rest.back() == '\\';
  const std::vector<std::string> parts = SplitNames(rest);
  std::vector<std::string> names;
  for (size_t index = 0; index < parts.size(); ++index) {
    std::string name = parts[index];
    if (name == ".") continue;
    if (name == "..") {
      if (!names.empty()) names.pop_back();
      continue;
    }
    if (index + 1 == parts.size() && !hasTrailingBackslash) {
      while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
      if (name.empty()) continue;
    } else if (name.back() == '.' && name.find_first_not_of('.') != std::string::npos) {
      name.pop_back();
    }
    names.push_back(std::move(name));
  }
  std::string result = absolute.substr(0, 3);
  for (size_t index = 0; index < names.size(); ++index) {
    if (index > 0) result += '\\';
    result += names[index];
  }
  if (hasTrailingBackslash && !names.empty()) result += '\\';
  return result;
}

// A name whose extension is longer than three letters also has an 8.3 short name with the
// extension cut to three, and FindFirstFile matches patterns against both names: "*.wav" finds
// "x.wave" (Wine generates short names too).
bool MatchesMask(const std::string& mask, const std::string& name) {
  const std::vector<MaskToken> tokens = DosMask(mask);
  if (MaskMatcher(tokens, name).Matches()) return true;
  const size_t maskDot = mask.rfind('.');
  const size_t nameDot = name.rfind('.');
  if (maskDot == std::string::npos || mask.size() - maskDot - 1 != 3) return false;
  if (nameDot == std::string::npos || name.size() - nameDot - 1 <= 3) return false;
  return MaskMatcher(tokens, name.substr(0, nameDot + 4)).Matches();
}

DirEntry DotEntry(const char* name) {
  DirEntry entry;
  entry.Name = name;
  entry.Attr = faDirectory;
  return entry;
}

void SplitPattern(const std::string& pattern, std::string& folder, std::string& mask) {
  const std::string slashed = WithBackslashes(pattern);
  folder = ".";
  mask = slashed;
  const size_t split = slashed.rfind('\\');
  if (split != std::string::npos) {
    folder = slashed.substr(0, split + 1);
    mask = slashed.substr(split + 1);
  } else if (slashed.size() >= 2 && IsLetter(slashed[0]) && slashed[1] == ':') {
    folder = slashed.substr(0, 2);
    mask = slashed.substr(2);
  }
}

std::string CurrentFolders::Get(char drive) const {
  const char letter = UpperLetter(drive == 0 ? FDrive : drive);
  const auto found = FFolders.find(letter);
  if (found != FFolders.end()) return found->second;
  return std::string{letter, ':', '\\'};
}

void CurrentFolders::Set(std::string full) {
  if (full.size() > 3 && full.back() == '\\') full.pop_back();
  FDrive = UpperLetter(full[0]);
  FFolders[FDrive] = std::move(full);
}

std::string CurrentFolders::FullPath(const std::string& path) const {
  const std::string slashed = WithBackslashes(path);
  if (slashed.empty()) return {};
  if (IsAbsoluteDrivePath(slashed)) return Collapsed(slashed);
  if (slashed.size() >= 2 && IsLetter(slashed[0]) && slashed[1] == ':') {
    // "X:name" is relative to the current folder of drive X.
    const std::string base = Get(slashed[0]);
    return slashed.size() == 2 ? base : Collapsed(base + '\\' + slashed.substr(2));
  }
  if (slashed[0] == '\\') return Collapsed(Get().substr(0, 2) + slashed);
  return Collapsed(Get() + '\\' + slashed);
}

}  // namespace foyer::winpath
