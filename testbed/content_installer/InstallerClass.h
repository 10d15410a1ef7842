#pragma once
// The stand-in's one class, under Messenger's class id, as both of its homes serve it: the
// DLL (in-process) and the server program (out of process, as Messenger is).
#include "mivo/ComServer.h"

namespace mivo::testbed {

const ComClass& InstallerClass();

}  // namespace mivo::testbed
