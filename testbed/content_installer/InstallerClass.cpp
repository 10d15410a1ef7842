#include "InstallerClass.h"

#include "ContentInstaller.h"
#include "Knobs.h"
#include "MessengerContentInstaller.h"

namespace mivo::testbed {
namespace {

// Creation can be made to fail like a machine without MSN Messenger (the FailCreate knob).
HRESULT CreateInstaller(REFIID iid, void** object) {
    if (ReadKnobs().failCreate) return REGDB_E_CLASSNOTREG;
    return ContentInstaller::Create(iid, object);
}

const ComClass kInstallerClass{CLSID_MessengerContentInstaller,
                               IID_IMessengerContentInstaller,
                               LIBID_MessengerContentInstallerLibrary,
                               ContentInstaller::ProgId,
                               L"Mivo testbed content installer",
                               &CreateInstaller};

}  // namespace

const ComClass& InstallerClass() { return kInstallerClass; }

}  // namespace mivo::testbed
