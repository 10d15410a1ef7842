#pragma once
// The library's version, from its own version resource (its handle and the count that keeps
// it loaded are common's ComModule).
#include <windows.h>

#include "mivo/ComModule.h"

namespace mivo::plugin {

struct ModuleVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned revision = 0;
};

// Numbers of the module's version resource (FILEVERSION major,minor,0,revision).
// Throws mivo::ComError when the module has none.
ModuleVersion ReadModuleVersion();

}  // namespace mivo::plugin
