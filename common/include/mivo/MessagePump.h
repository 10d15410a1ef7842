#pragma once
// Letting the windows of the calling thread process their pending events from inside a long
// piece of work: the one message pump of the programs, their stand-ins, tests and bench.
#include <windows.h>

namespace mivo {

// Hands one message on as the programs' message loops do: the dialog manager of a window that
// navigates its controls as a dialog does (WS_EX_CONTROLPARENT) sees it first, for Tab,
// Enter, the arrows and mnemonics, so the keyboard works the same inside a long piece of work.
void RouteMessage(MSG& msg);

// Dispatches the calling thread's pending messages, then returns. A WM_QUIT is left for the
// thread's own message loop (posted again) and ends the call: false then, else true.
bool DispatchPendingMessages();

}  // namespace mivo
