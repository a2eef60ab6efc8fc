// The hidden and system bits that Wine and Samba keep in a Linux file's user.DOSATTRIB
// extended attribute.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace foyer {

// The extended attribute's name as getxattr takes it.
inline constexpr char kDosAttribName[] = "user.DOSATTRIB";

// The hidden and system bits of a value, or nothing when it is in no form known here. Known are
// the hexadecimal text Wine writes ("0x2", without a terminator) and the one Samba writes ahead
// of its binary record ("0x22" and a zero byte), and that record alone (an empty text, then
// versions 3 to 5, as the kernel's SMB server writes them). Other bits are left out: read-only
// comes from the file's permissions.
std::optional<uint32_t> ParseDosAttrib(const std::string& value);

// The value Wine writes for the bits.
std::string DosAttribValue(uint32_t attrs);

}  // namespace foyer
