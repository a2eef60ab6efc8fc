// Replacements for parts of the C++ runtime that a windows program without a console never uses.
#include <cstdlib>
#include <new>

#include "util/Errors.h"

// The runtime's default terminate handler prints the unhandled exception's demangled type on
// standard error, which a windows-subsystem program does not have, and pulls the whole
// demangler (about 50 KB) into the executable. Event dispatch catches every exception, so this
// handler only ends the program.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
  std::abort();
}
}  // namespace __gnu_cxx

// The standard library reports misuse through these. Its own versions build the standard
// exception types on a second, reference-counted string implementation (about 30 KB); these
// raise the program's errors, which the default handler shows like any other. They replace the
// library's whole object of such functions, never part of it: code that calls another of them
// (std::stoi's __throw_invalid_argument, say) pulls that object in, and the link fails with a
// multiple definition of each function here (tried with the MinGW libstdc++ of this build).
namespace std {
void __throw_bad_alloc() {
  throw bad_alloc();
}
void __throw_bad_array_new_length() {
  throw bad_array_new_length();
}
// A string or table longer than memory can hold.
void __throw_length_error(const char*) {
  throw bad_alloc();
}
void __throw_logic_error(const char* what) {
  throw foyer::Exception(what);
}
// An index outside a string or table.
void __throw_out_of_range_fmt(const char*, ...) {
  throw foyer::ERangeError();
}
}  // namespace std
