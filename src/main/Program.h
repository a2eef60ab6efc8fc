// The program's start: the six windows in their order, the event loop, the exit code.
#pragma once

namespace foyer {

// Readies the application's backend, creates the program's six windows in their order and
// dispatches events until the main window closes. A failure on the way is shown by the default
// error handler and ends the program: no window is left half made. Returns the program's exit
// code, 0 after a normal end and 1 after a failed start.
int RunProgram();

}  // namespace foyer
