// The real services of the system, for the win32 build.
#pragma once

#include "platform/Platform.h"

namespace foyer {

// The Win32 set of services; the objects live for the whole program.
Services Win32Services();

}  // namespace foyer
