#pragma once
// The edge between our C++ code and the COM caller: no exception crosses it; a failure
// becomes an HRESULT with error information the host can show.
#include <windows.h>
#include <oleauto.h>

#include <exception>
#include <new>

#include "mivo/ComSupport.h"

namespace mivo::plugin {

// Sets the thread's error information (source, description, interface) for the caller.
void SetComErrorInfo(REFIID iid, const char* description) noexcept;

// Runs `body`; a failure sets the error information and returns its HRESULT.
template <typename Body>
HRESULT ComBoundary(REFIID iid, Body&& body) noexcept {
    try {
        body();
        return S_OK;
    } catch (const ComError& e) {
        SetComErrorInfo(iid, e.what());
        return e.hr();
    } catch (const std::bad_alloc&) {
        SetComErrorInfo(iid, "Out of memory");
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        SetComErrorInfo(iid, e.what());
        return E_FAIL;
    } catch (...) {
        SetComErrorInfo(iid, "Unexpected failure");
        return E_UNEXPECTED;
    }
}

}  // namespace mivo::plugin
