#pragma once
// Turns the C++ exceptions of the code behind a COM method into the method's HRESULT:
// exceptions never cross the COM boundary.
#include <windows.h>

#include <exception>
#include <new>

#include "mivo/ComSupport.h"

namespace mivo::testbed {

template <typename Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const ComError& e) {
        return e.hr();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

inline HRESULT LastErrorHr() noexcept {
    const DWORD error = ::GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace mivo::testbed
