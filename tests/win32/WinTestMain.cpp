// Entry of the Windows test executable, run under Wine.
#include <gtest/gtest.h>

#include "platform/win32/SystemLibraries.h"

int main(int argc, char** argv) {
  // As foyer.exe does: the tests see the libraries the program would load.
  foyer::LoadLibrariesFromSystemOnly();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
