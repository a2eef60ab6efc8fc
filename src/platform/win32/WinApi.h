// The system's headers, for the files that call the system directly.
#pragma once

#include <windows.h>

// <windows.h> renames CopyFile to CopyFileA (and so DeleteFile and ReplaceFile) in every file that
// includes it after the platform interfaces, which would give IFileSystem's methods two names in
// one program.
#undef CopyFile
#undef DeleteFile
#undef ReplaceFile
