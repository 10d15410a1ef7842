#pragma once
// The action of "/xopenmivo": starts Mivo from its recorded install folder.
namespace mivo::plugin {

// Shows "Mivo couldn't be found, please reinstall" when no folder is recorded; raises
// mivo::ComError when the program cannot be started.
void openMivo();

}  // namespace mivo::plugin
