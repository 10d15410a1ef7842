#pragma once
// One GDI+ font made from an OLE standard font object (the kind a window's Font
// property holds) or from the font selected into a device context.
#include "GdiplusOwners.h"
#include "cGDIP.h"

#include <memory>
#include <string>

struct IDispatch;

// <windows.h> maps CreateFont to CreateFontW; every file that sees this class sees the
// same mapping, so the member keeps its name in the source.
class cFont {
public:
    // Where failures are reported; empty = recorded only.
    std::shared_ptr<cGDIP> gdip;

    cFont() = default;
    cFont(cFont&&) noexcept = default;
    cFont& operator=(cFont&&) noexcept = default;

    // A font of oFont's size in the generic sans-serif family, whatever oFont's face;
    // the font is made with eFontStyle, oFont's flags are only kept for the properties.
    // Reading oFont fails with mivo::ComError.
    long CreateFont(IDispatch* oFont, Gdiplus::FontStyle eFontStyle = Gdiplus::FontStyleRegular,
                    Gdiplus::Unit eUnit = Gdiplus::UnitPoint);
    // The font selected into lHdc; oFont only supplies the properties.
    long CreateFromHdc(HDC lHdc, IDispatch* oFont);
    void Dispose();
    bool Bold() const { return bold_; }
    Gdiplus::GpFont* Handle() const { return handle_.get(); }
    long Height() const { return height_; }
    bool Italic() const { return italic_; }
    const std::wstring& Name() const { return name_; }
    float Size() const { return size_; }
    bool StrikeOut() const { return strikeOut_; }
    long Style() const { return style_; }
    bool Underline() const { return underline_; }
    long Unit() const { return unit_; }

private:
    void CopyFrom(IDispatch* oFont);
    long UseGenericFamily(const std::wstring& sName);
    long CreateFamilyFromName(const std::wstring& sName);
    long CheckStatus(long status) { return mivo::gdip::CheckStatus(status, curErr_, gdip, L"cFont"); }
    void Release() noexcept;

    mivo::gdip::UniqueFont handle_;
    mivo::gdip::UniqueFontFamily family_;
    long curErr_ = 0;
    bool bold_ = false;
    long height_ = 0;
    bool italic_ = false;
    std::wstring name_;
    float size_ = 0.0f;
    long style_ = 0;
    bool underline_ = false;
    long unit_ = 0;
    bool strikeOut_ = false;
};
