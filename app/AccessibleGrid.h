#pragma once
// What a screen reader sees of a thumbnail grid: an MSAA list whose items are the cells,
// child id k being the k-th cell. The object reads the cells from its host at every call and
// keeps none; what it does not know of itself (parent, help) comes from the standard
// object Windows makes for the picture box's client area.
#include <windows.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <string>

#include "mivo/ComObject.h"

namespace mivo {

class AccessibleGrid final
    : public ComObject<Answers<IAccessible, IID_IUnknown, IID_IDispatch, IID_IAccessible>> {
public:
    // The grid behind the object. Positions are 1-based; rectangles are in pixels of the
    // picture box.
    class Host {
    public:
        virtual HWND Window() const = 0;  // the picture box
        virtual std::wstring Name() const = 0;
        virtual long Count() const = 0;
        virtual std::wstring CellName(long position) const = 0;
        virtual bool CellSelected(long position) const = 0;
        // The pixels a click selects the cell at (the first of overlapping cells wins).
        virtual RECT CellBox(long position) const = 0;
        // The part of the picture box its frame shows.
        virtual RECT Shown() const = 0;
        // The cell a click at this pixel selects; 0 for none.
        virtual long CellAt(POINT pixel) const = 0;
        // Selects as a click does and brings the cell into view.
        virtual void Select(long position) = 0;
        // Selects as a click does, then has the cell installed once the call is over.
        virtual void Install(long position) = 0;
        // Whether the grid has the keyboard focus, and the focused cell (0 for none).
        virtual bool HasFocus() const = 0;
        virtual long Focused() const = 0;
        // Gives the grid the focus and makes the cell the focused one.
        virtual void Focus(long position) = 0;

    protected:
        ~Host() = default;
    };

    // Throws mivo::ComError when Windows gives no standard object for the window.
    explicit AccessibleGrid(Host& host);

    // The window is going: every call fails from now on and remote clients are let go.
    void Disconnect() noexcept;

    // IDispatch: the object has no type information; clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // IAccessible.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

private:
    ~AccessibleGrid() override = default;
    // The position a child id names: 0 for the list itself, -1 for none of the cells.
    long Position(const VARIANT& child) const;
    template <typename Body>
    HRESULT Call(Body&& body) noexcept;
    // A per-child text: the list's from the standard object, none for a cell.
    template <typename Read>
    HRESULT TextOfList(const VARIANT& child, BSTR* out, Read read);

    Host* host_;
    Microsoft::WRL::ComPtr<IAccessible> standard_;
};

}  // namespace mivo
