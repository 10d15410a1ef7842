#include "cFont.h"

#include "mivo/ComSupport.h"

#include <olectl.h>

using namespace mivo::gdip;

namespace {

// Late-bound property read of the standard font object.
void GetProperty(IDispatch* font, DISPID id, VARTYPE type, VARIANT* out) {
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    mivo::Variant raw;
    mivo::ThrowIfFailed(font->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                     &none, raw.get(), nullptr, nullptr),
                        "standard font property");
    mivo::ThrowIfFailed(::VariantChangeType(out, raw.get(), 0, type), "standard font property type");
}

bool GetBool(IDispatch* font, DISPID id) {
    mivo::Variant v;
    GetProperty(font, id, VT_BOOL, v.get());
    return v.get()->boolVal != VARIANT_FALSE;
}

}  // namespace

void cFont::Release() noexcept {
    family_.reset();
    handle_.reset();
}

void cFont::Dispose() { Release(); }

void cFont::CopyFrom(IDispatch* oFont) {
    if (!oFont) throw mivo::ComError(E_POINTER, "standard font object");
    mivo::Variant name;
    GetProperty(oFont, DISPID_FONT_NAME, VT_BSTR, name.get());
    mivo::Variant size;
    GetProperty(oFont, DISPID_FONT_SIZE, VT_CY, size.get());
    const bool bold = GetBool(oFont, DISPID_FONT_BOLD);
    const bool italic = GetBool(oFont, DISPID_FONT_ITALIC);
    const bool underline = GetBool(oFont, DISPID_FONT_UNDER);
    const bool strikeOut = GetBool(oFont, DISPID_FONT_STRIKE);

    const BSTR text = name.get()->bstrVal;
    name_.assign(text ? text : L"", text ? ::SysStringLen(text) : 0);
    // Currency: a fixed-point number with four decimals.
    size_ = static_cast<float>(static_cast<double>(size.get()->cyVal.int64) / 10000.0);
    bold_ = bold;
    italic_ = italic;
    underline_ = underline;
    strikeOut_ = strikeOut;
}

long cFont::CreateFont(IDispatch* oFont, FontStyle eFontStyle, Gdiplus::Unit eUnit) {
    CopyFrom(oFont);
    style_ = eFontStyle;
    unit_ = eUnit;
    Release();  // a font made earlier by this object is not left behind

    long result = UseGenericFamily(name_);
    if (!family_) return result;  // a missing family is a failure, not a success
    GpFont* font = nullptr;
    result = CheckStatus(GdipCreateFont(family_.get(), size_, eFontStyle, eUnit, &font));
    if (result == 0) handle_.reset(font);
    return result;
}

long cFont::CreateFromHdc(HDC lHdc, IDispatch* oFont) {
    CopyFrom(oFont);
    Release();

    GpFont* font = nullptr;
    long result = CheckStatus(GdipCreateFontFromDC(lHdc, &font));
    if (result == 0) {
        handle_.reset(font);
        INT style = 0;
        Gdiplus::Unit unit = UnitWorld;
        if (GdipGetFontStyle(font, &style) == Ok) style_ = style;
        if (GdipGetFontUnit(font, &unit) == Ok) unit_ = unit;
    }
    return result;
}

long cFont::UseGenericFamily(const std::wstring& /*sName*/) {
    // Every font of this layer is drawn in the generic sans-serif family.
    family_.reset();
    GpFontFamily* family = nullptr;
    long result = CheckStatus(GdipGetGenericFontFamilySansSerif(&family));
    if (result == 0) family_.reset(family);
    return result;
}

long cFont::CreateFamilyFromName(const std::wstring& sName) {
    family_.reset();
    GpFontFamily* family = nullptr;
    long result = CheckStatus(GdipCreateFontFamilyFromName(sName.c_str(), nullptr, &family));
    if (result == 0) family_.reset(family);
    return result;
}
