// The real services of the system.
#include "platform/win32/Win32Platform.h"
