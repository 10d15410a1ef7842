#include "DispatchCall.h"

namespace mivo {
namespace {
VARIANT Make(VARTYPE type, void* pointer = nullptr) {
    VARIANT v;
    ::VariantInit(&v);
    V_VT(&v) = type;
    V_BYREF(&v) = pointer;  // also clears a by-value payload
    return v;
}
}  // namespace

Args& Args::Long(long value) {
    ordered_.push_back(Make(VT_I4));
    V_I4(&ordered_.back()) = value;
    return *this;
}

Args& Args::String(const std::wstring& value) {
    strings_.emplace_back(value);
    ordered_.push_back(Make(VT_BSTR, strings_.back().get()));
    return *this;
}

Args& Args::Nothing() {
    ordered_.push_back(Make(VT_DISPATCH));
    return *this;
}

Args& Args::StringRef(const std::wstring& initial) {
    BSTR value = Bstr(initial).release();
    strings_.emplace_back();
    BSTR* slot = strings_.back().out();  // the slot the callee may replace, freed with strings_
    *slot = value;
    ordered_.push_back(Make(VT_BYREF | VT_BSTR, slot));
    return *this;
}

Args& Args::LongRef(long initial) {
    longs_.push_back(initial);
    ordered_.push_back(Make(VT_BYREF | VT_I4, &longs_.back()));
    return *this;
}

std::wstring Args::StringAt(size_t position) const {
    const VARIANT& v = ordered_.at(position);
    BSTR value = V_VT(&v) == (VT_BYREF | VT_BSTR) ? *V_BSTRREF(&v) : V_BSTR(&v);
    return value ? std::wstring(value, ::SysStringLen(value)) : std::wstring();
}

long Args::LongAt(size_t position) const {
    const VARIANT& v = ordered_.at(position);
    return V_VT(&v) == (VT_BYREF | VT_I4) ? *V_I4REF(&v) : V_I4(&v);
}

DISPPARAMS Args::Params() {
    // Invoke takes the arguments last to first.
    reversed_.assign(ordered_.rbegin(), ordered_.rend());
    return DISPPARAMS{reversed_.data(), nullptr, static_cast<UINT>(reversed_.size()), 0};
}

Outcome Call(IDispatch* object, const wchar_t* method, Args& args) {
    Outcome outcome;
    LPOLESTR name = const_cast<LPOLESTR>(method);
    DISPID id = 0;
    outcome.hr = object->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(outcome.hr)) return outcome;
    outcome.invoked = true;
    DISPPARAMS params = args.Params();
    EXCEPINFO exception{};
    UINT argError = 0;
    outcome.hr = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, outcome.result.get(),
                                &exception, &argError);
    if (outcome.hr == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        outcome.scode = exception.scode ? exception.scode : static_cast<HRESULT>(exception.wCode);
        if (exception.bstrDescription) outcome.description = exception.bstrDescription;
        ::SysFreeString(exception.bstrSource);
        ::SysFreeString(exception.bstrDescription);
        ::SysFreeString(exception.bstrHelpFile);
    }
    outcome.resultType = V_VT(outcome.result.get());
    outcome.boolResult = outcome.resultType == VT_BOOL && V_BOOL(outcome.result.get()) != VARIANT_FALSE;
    return outcome;
}

}  // namespace mivo
