#pragma once

#include <string>
#include <vector>

#include "automation/automation_export.h"

// Runs an outside program (the C4.5 learner, for instance) and waits for it.
// arguments[0] is the program, looked up on PATH; every argument reaches it
// as it is, without a shell, so blanks and shell characters in file names
// are harmless. Prints "Calling %s\n\n" with the arguments joined by blanks
// first. Returns the program's exit status; a status other than 0 prints
// "<program> ended with status <status>\n", and death by a signal prints
// "<program> ended by signal <signal>\n" and gives 128 + the signal.
// Returns -1 after "Could not run <program>: not found\n" when the program is
// not on PATH, and after "Could not run <program>: <reason>\n" when it
// cannot be started otherwise.
AUTOMATION_EXPORT int run_program(const std::vector<std::string>& arguments);
