// Names as Linux keeps them (UTF-8 bytes) and as the program sees them (code page 1252).
#pragma once

#include <string>

namespace foyer {

// The name in code page 1252 when it is UTF-8 whose every character the code page has; else
// its bytes as they are, as a name written in a single-byte code page is.
std::string WindowsName(const std::string& hostName);

// The UTF-8 name a new file or folder gets for a name in code page 1252.
std::string HostName(const std::string& windowsName);

}  // namespace foyer
