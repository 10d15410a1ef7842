#pragma once
// The program's start: creates the main window, shows it and runs until it is unloaded.
// Returns the process exit code.
int MivoMain();
