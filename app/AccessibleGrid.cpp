#include "AccessibleGrid.h"

#include <utility>

#include "mivo/ComBoundary.h"
#include "mivo/ComSupport.h"

namespace mivo {
namespace {

const wchar_t kSource[] = L"Mivo.Grid";

// The top-left of the window's client area on the screen.
POINT ScreenOrigin(HWND window) {
    POINT origin{0, 0};
    ::MapWindowPoints(window, nullptr, &origin, 1);
    return origin;
}

void SetChild(VARIANT* out, long position) {
    if (position > 0) {
        out->vt = VT_I4;
        out->lVal = position;
    }
}

}  // namespace

AccessibleGrid::AccessibleGrid(Host& host) : host_(&host) {
    ThrowIfFailed(::CreateStdAccessibleObject(host.Window(), OBJID_CLIENT, IID_IAccessible,
                                              reinterpret_cast<void**>(standard_.GetAddressOf())),
                  "CreateStdAccessibleObject");
}

void AccessibleGrid::Disconnect() noexcept {
    host_ = nullptr;
    standard_.Reset();
    // Remote clients' proxies fail from now on, and their references to us are dropped.
    ::CoDisconnectObject(static_cast<IAccessible*>(this), 0);
}

long AccessibleGrid::Position(const VARIANT& child) const {
    if (child.vt != VT_I4) return -1;
    if (child.lVal == CHILDID_SELF) return 0;
    return child.lVal >= 1 && child.lVal <= host_->Count() ? child.lVal : -1;
}

// Every call: out-parameters are cleared first, then a disconnected object fails, and no
// exception leaves the call.
template <typename Body>
HRESULT AccessibleGrid::Call(Body&& body) noexcept {
    if (!host_) return RPC_E_DISCONNECTED;
    return ComBoundary(IID_IAccessible, kSource, std::forward<Body>(body));
}

HRESULT AccessibleGrid::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
}
HRESULT AccessibleGrid::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    return E_NOTIMPL;
}
HRESULT AccessibleGrid::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT AccessibleGrid::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT AccessibleGrid::get_accParent(IDispatch** parent) {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    return Call([&]() -> HRESULT { return standard_->get_accParent(parent); });
}

HRESULT AccessibleGrid::get_accChildCount(long* count) {
    if (!count) return E_POINTER;
    *count = 0;
    return Call([&]() -> HRESULT {
        *count = host_->Count();
        return S_OK;
    });
}

HRESULT AccessibleGrid::get_accChild(VARIANT child, IDispatch** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    // Cells are plain elements of the list, without objects of their own.
    return Call([&]() -> HRESULT { return Position(child) > 0 ? S_FALSE : E_INVALIDARG; });
}

HRESULT AccessibleGrid::get_accName(VARIANT child, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        *name = Bstr(position == 0 ? host_->Name() : host_->CellName(position)).release();
        return S_OK;
    });
}

template <typename Read>
HRESULT AccessibleGrid::TextOfList(const VARIANT& child, BSTR* out, Read read) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        return position == 0 ? read(standard_.Get()) : S_FALSE;
    });
}

HRESULT AccessibleGrid::get_accValue(VARIANT child, BSTR* value) {
    return TextOfList(child, value, [&](IAccessible* s) { return s->get_accValue(child, value); });
}
HRESULT AccessibleGrid::get_accDescription(VARIANT child, BSTR* description) {
    return TextOfList(child, description, [&](IAccessible* s) { return s->get_accDescription(child, description); });
}
HRESULT AccessibleGrid::get_accHelp(VARIANT child, BSTR* help) {
    return TextOfList(child, help, [&](IAccessible* s) { return s->get_accHelp(child, help); });
}
HRESULT AccessibleGrid::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
    return TextOfList(child, shortcut, [&](IAccessible* s) { return s->get_accKeyboardShortcut(child, shortcut); });
}

HRESULT AccessibleGrid::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        return position == 0 ? standard_->get_accHelpTopic(file, child, topic) : S_FALSE;
    });
}

HRESULT AccessibleGrid::get_accRole(VARIANT child, VARIANT* role) {
    if (!role) return E_POINTER;
    ::VariantInit(role);
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = position == 0 ? ROLE_SYSTEM_LIST : ROLE_SYSTEM_LISTITEM;
        return S_OK;
    });
}

HRESULT AccessibleGrid::get_accState(VARIANT child, VARIANT* state) {
    if (!state) return E_POINTER;
    ::VariantInit(state);
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        if (position == 0) return standard_->get_accState(child, state);
        long bits = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (host_->CellSelected(position)) bits |= STATE_SYSTEM_SELECTED;
        if (host_->HasFocus() && host_->Focused() == position) bits |= STATE_SYSTEM_FOCUSED;
        RECT seen{};
        const RECT box = host_->CellBox(position), shown = host_->Shown();
        if (!::IntersectRect(&seen, &box, &shown)) bits |= STATE_SYSTEM_OFFSCREEN;
        state->vt = VT_I4;
        state->lVal = bits;
        return S_OK;
    });
}

HRESULT AccessibleGrid::get_accFocus(VARIANT* focus) {
    if (!focus) return E_POINTER;
    ::VariantInit(focus);
    return Call([&]() -> HRESULT {
        if (!host_->HasFocus()) return S_FALSE;
        const long focused = host_->Focused();
        focus->vt = VT_I4;
        focus->lVal = focused > 0 ? focused : CHILDID_SELF;
        return S_OK;
    });
}

HRESULT AccessibleGrid::get_accSelection(VARIANT* selection) {
    if (!selection) return E_POINTER;
    ::VariantInit(selection);
    return Call([&]() -> HRESULT {
        const long count = host_->Count();
        for (long position = 1; position <= count; ++position) {
            if (host_->CellSelected(position)) {
                SetChild(selection, position);
                return S_OK;
            }
        }
        return S_FALSE;
    });
}

HRESULT AccessibleGrid::get_accDefaultAction(VARIANT child, BSTR* action) {
    if (!action) return E_POINTER;
    *action = nullptr;
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        if (position == 0) return standard_->get_accDefaultAction(child, action);
        *action = Bstr(L"Install").release();
        return S_OK;
    });
}

HRESULT AccessibleGrid::accSelect(long flags, VARIANT child) {
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        if (position == 0) return standard_->accSelect(flags, child);
        // One item at most is selected.
        if (flags & ~(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION)) return E_INVALIDARG;
        if (flags & SELFLAG_TAKEFOCUS) host_->Focus(position);
        if (flags & SELFLAG_TAKESELECTION) host_->Select(position);
        return S_OK;
    });
}

HRESULT AccessibleGrid::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        const RECT r = position == 0 ? host_->Shown() : host_->CellBox(position);
        const POINT origin = ScreenOrigin(host_->Window());
        *left = r.left + origin.x;
        *top = r.top + origin.y;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    });
}

HRESULT AccessibleGrid::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (!end) return E_POINTER;
    ::VariantInit(end);
    return Call([&]() -> HRESULT {
        const long position = Position(start);
        if (position < 0) return E_INVALIDARG;
        const long count = host_->Count();
        long to = 0;
        if (position == 0) {
            if (direction == NAVDIR_FIRSTCHILD) {
                to = count > 0 ? 1 : 0;
            } else if (direction == NAVDIR_LASTCHILD) {
                to = count;
            } else {
                return standard_->accNavigate(direction, start, end);
            }
        } else {
            // Two cells a row: odd positions on the left, even ones on the right.
            switch (direction) {
                case NAVDIR_NEXT: to = position + 1; break;
                case NAVDIR_PREVIOUS: to = position - 1; break;
                case NAVDIR_DOWN: to = position + 2; break;
                case NAVDIR_UP: to = position - 2; break;
                case NAVDIR_RIGHT: to = position % 2 == 1 ? position + 1 : 0; break;
                case NAVDIR_LEFT: to = position % 2 == 0 ? position - 1 : 0; break;
                case NAVDIR_FIRSTCHILD:
                case NAVDIR_LASTCHILD: to = 0; break;
                default: return E_INVALIDARG;
            }
        }
        if (to < 1 || to > count) return S_FALSE;
        SetChild(end, to);
        return S_OK;
    });
}

HRESULT AccessibleGrid::accHitTest(long x, long y, VARIANT* child) {
    if (!child) return E_POINTER;
    ::VariantInit(child);
    return Call([&]() -> HRESULT {
        const POINT origin = ScreenOrigin(host_->Window());
        const POINT pixel{x - origin.x, y - origin.y};
        const RECT shown = host_->Shown();
        if (!::PtInRect(&shown, pixel)) return S_FALSE;
        const long position = host_->CellAt(pixel);
        child->vt = VT_I4;
        child->lVal = position > 0 ? position : CHILDID_SELF;
        return S_OK;
    });
}

HRESULT AccessibleGrid::accDoDefaultAction(VARIANT child) {
    return Call([&]() -> HRESULT {
        const long position = Position(child);
        if (position < 0) return E_INVALIDARG;
        if (position == 0) return standard_->accDoDefaultAction(child);
        host_->Install(position);
        return S_OK;
    });
}

HRESULT AccessibleGrid::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }
HRESULT AccessibleGrid::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace mivo
