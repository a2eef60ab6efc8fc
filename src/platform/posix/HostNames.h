// Names as Linux keeps them (UTF-8 bytes) and as the program sees them (code page 1252).
#pragma once

#include <string>

namespace foyer {

// The name in code page 1252 when it is UTF-8, with "?" for a character the code page lacks, as
// a Western Windows system lists a name it cannot hold (and then cannot open it by); a name
// that is not UTF-8 keeps its bytes, as one written in a single-byte code page does.
std::string WindowsName(const std::string& hostName);

// The UTF-8 name a new file or folder gets for a name in code page 1252.
std::string HostName(const std::string& windowsName);

}  // namespace foyer
