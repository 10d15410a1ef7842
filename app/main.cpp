// Mivo.exe: a thin entry point over the program's library.
#include <windows.h>

#include "EntryProcedure.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return MivoMain(); }
