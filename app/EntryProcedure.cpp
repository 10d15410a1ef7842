#include "EntryProcedure.h"

#include <memory>

#include "Form1.h"
#include "mivo/ComSupport.h"
#include "mivo/MessagePump.h"

int MivoMain() {
    mivo::ScopedCoInit com;
    auto form = std::make_unique<Form1>();
    form->onUnloaded = [] { ::PostQuitMessage(0); };
    if (!form->Show()) {
        return 1;  // start-up failed: the user has been told
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) mivo::RouteMessage(msg);
    form.reset();
    return static_cast<int>(msg.wParam);
}
