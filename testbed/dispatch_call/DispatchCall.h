#pragma once
// Calling an automation object the way a script host does: the method found by name,
// arguments as VARIANTs, strings and numbers by reference where the method writes them.
#include <windows.h>
#include <oleauto.h>

#include <deque>
#include <string>
#include <vector>

#include "mivo/ComSupport.h"

namespace mivo {

// Arguments of one call, in parameter order; by-reference ones can be read afterwards.
class Args {
public:
    Args& Long(long value);
    Args& String(const std::wstring& value);
    Args& Nothing();
    Args& StringRef(const std::wstring& initial);
    Args& LongRef(long initial);

    std::wstring StringAt(size_t position) const;
    long LongAt(size_t position) const;
    DISPPARAMS Params();

private:
    std::deque<Bstr> strings_;
    std::deque<LONG> longs_;
    std::vector<VARIANT> ordered_;
    std::vector<VARIANT> reversed_;
};

struct Outcome {
    HRESULT hr = E_FAIL;
    bool invoked = false;  // false: the name was not found (hr says why)
    HRESULT scode = S_OK;  // the method's own failure, when hr is DISP_E_EXCEPTION
    std::wstring description;
    Variant result;
    VARTYPE resultType = VT_EMPTY;
    bool boolResult = false;
};

Outcome Call(IDispatch* object, const wchar_t* method, Args& args);

}  // namespace mivo
