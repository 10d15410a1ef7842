#pragma once
// The edge between our C++ code and a COM caller: no exception crosses it; a failure
// becomes an HRESULT with error information the caller can show.
#include <windows.h>
#include <oleauto.h>

#include <exception>
#include <new>
#include <type_traits>

#include "mivo/ComSupport.h"

namespace mivo {

// Sets the thread's error information (interface, source, description) for the caller.
void SetComErrorInfo(REFIID iid, const wchar_t* source, const char* description) noexcept;

// Runs `body`, which returns nothing (success is S_OK) or its own HRESULT. An exception
// sets the error information of `iid` from `source` and becomes its HRESULT.
template <typename Body>
HRESULT ComBoundary(REFIID iid, const wchar_t* source, Body&& body) noexcept {
    try {
        if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
            body();
            return S_OK;
        } else {
            return body();
        }
    } catch (const ComError& e) {
        SetComErrorInfo(iid, source, e.what());
        return e.hr();
    } catch (const std::bad_alloc&) {
        SetComErrorInfo(iid, source, "Out of memory");
        return E_OUTOFMEMORY;
    } catch (const std::exception& e) {
        SetComErrorInfo(iid, source, e.what());
        return E_FAIL;
    } catch (...) {
        SetComErrorInfo(iid, source, "Unexpected failure");
        return E_UNEXPECTED;
    }
}

}  // namespace mivo
