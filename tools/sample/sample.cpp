// A small Windows program that the demonstration medium offers in its program category.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  // "/quiet" lets a test start it without a message box waiting for an answer.
  if (commandLine != nullptr && std::strstr(commandLine, "/quiet") != nullptr) return 7;
  MessageBoxA(nullptr, "This program was started from the medium.", "Sample program",
              MB_OK | MB_ICONINFORMATION);
  return 0;
}
