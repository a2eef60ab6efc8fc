// Replacements for parts of the C++ runtime that a windows program without a console never uses.
#include <cstdlib>

// The runtime's default terminate handler prints the unhandled exception's demangled type on
// standard error, which a windows-subsystem program does not have, and pulls the whole
// demangler (about 50 KB) into the executable. Event dispatch catches every exception, so this
// handler only ends the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
