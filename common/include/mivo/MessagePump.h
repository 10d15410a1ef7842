#pragma once
// Letting the windows of the calling thread process their pending events from inside a long
// piece of work: the one message pump of the programs, their stand-ins, tests and bench.
namespace mivo {

// Dispatches the calling thread's pending messages, then returns. A WM_QUIT is left for the
// thread's own message loop (posted again) and ends the call: false then, else true.
bool DispatchPendingMessages();

}  // namespace mivo
