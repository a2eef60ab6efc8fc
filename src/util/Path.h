// Path and string helpers: folder paths ending in a backslash, joining, case-blind comparison.
#pragma once

#include <cstdint>
#include <string>

namespace foyer {

// Appends a backslash unless the last character is one already; an empty string stays empty.
void AddBackslash(std::string& path);

// The folder with a trailing backslash, then the name unchanged; an empty folder gives the name
// alone, a path relative to the current folder.
std::string JoinPath(const std::string& folder, const std::string& name);

// The path of an entry's companions: the folder joined with the name, cut after the name's first
// dot, the dot included ("D:\Extras\tool." for tool.zip); a name without a dot gets one added.
std::string EntryStem(const std::string& folder, const std::string& name);

// True when the program's strings are UTF-8 (false before a platform is installed).
bool IsUtf8Strings();

// The characters of a program string: its bytes in an ANSI code page, its characters in UTF-8.
size_t CharLength(const std::string& text);

// The length of a path as Windows' file systems count it against their limits: UTF-16 units
// (bytes in an ANSI code page, as the system counted them there).
size_t PathLength(const std::string& path);

// The first count characters (all when the string is no longer; none when count <= 0).
std::string LeftStr(const std::string& text, int32_t count);

// The last count characters (all when the string is no longer; none when count <= 0).
std::string RightStr(const std::string& text, int32_t count);

// Lower-cases every letter, accented capitals and other scripts' capitals included; never cuts
// a character.
std::string LowerStr(const std::string& text);

// True when the two names are equal after LowerStr, byte for byte.
bool SameName(const std::string& a, const std::string& b);

// The name part of a path: the text after its last backslash or colon (all of it when it holds
// neither), at most 255 characters; windows show it as their caption.
std::string NamePart(const std::string& path);

// Creates the folder and every missing parent, outermost first. A folder that cannot be created
// is passed over in silence: the caller learns of it when it uses the folder.
void ForceDirs(const std::string& path);

}  // namespace foyer
