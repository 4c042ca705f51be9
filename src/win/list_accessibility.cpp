#include "win/list_accessibility.h"

#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <utility>

namespace tessera::win {

namespace {
constexpr UINT_PTR kSubclassId = 0x4C495354;  // "LIST"

bool IsLine(const VARIANT& child) { return child.vt == VT_I4 && child.lVal > 0; }
bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
}  // namespace

// The list's IAccessible: the list itself as the system describes it (its place, its parent, its
// name from a label), and its lines (children 1 to the line count) as list items named by the
// owner. Questions about a line that is not there, or asked once the list is gone, fail.
class ListAccessible final : public IAccessible {
public:
    ListAccessible(HWND list, std::function<std::wstring(int)> lineName) : list_(list), lineName_(std::move(lineName)) {
        if (FAILED(::CreateStdAccessibleObject(list, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&standard_))))
            standard_ = nullptr;
    }
    void Disconnect() {
        list_ = nullptr;
        lineName_ = nullptr;
        if (standard_) standard_->Release();
        standard_ = nullptr;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: readers use the IAccessible methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_POINTER;
        *parent = nullptr;
        return standard_ ? standard_->get_accParent(parent) : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        *count = Lines();
        return list_ ? S_OK : Gone();
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        return Valid(child) ? S_FALSE : E_INVALIDARG;  // lines are simple elements
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_POINTER;
        *name = nullptr;
        if (IsSelf(child) && standard_) return standard_->get_accName(child, name);
        if (!Valid(child) || !IsLine(child)) return E_INVALIDARG;
        const std::wstring text = lineName_(child.lVal - 1);
        *name = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override { return SelfOnly(child, value, &IAccessible::get_accValue); }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return SelfOnly(child, text, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_POINTER;
        if (!Valid(child)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = IsLine(child) ? ROLE_SYSTEM_LISTITEM : ROLE_SYSTEM_LIST;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_POINTER;
        if (!Valid(child)) return E_INVALIDARG;
        if (IsSelf(child) && standard_) return standard_->get_accState(child, state);
        state->vt = VT_I4;
        state->lVal = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (IsSelf(child)) return S_OK;
        const int line = child.lVal - 1;
        if (line == Selected()) {
            state->lVal |= STATE_SYSTEM_SELECTED;
            if (::GetFocus() == list_) state->lVal |= STATE_SYSTEM_FOCUSED;
        }
        RECT box{}, client{};
        ::GetClientRect(list_, &client);
        if (!LineBox(line, box) || box.bottom <= 0 || box.top >= client.bottom) state->lVal |= STATE_SYSTEM_OFFSCREEN;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return SelfOnly(child, help, &IAccessible::get_accHelp); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (IsSelf(child) && standard_) return standard_->get_accHelpTopic(file, child, topic);
        return Valid(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return SelfOnly(child, keys, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        focus->vt = VT_EMPTY;
        if (!list_) return Gone();
        if (::GetFocus() != list_) return S_FALSE;
        focus->vt = VT_I4;
        focus->lVal = Selected() + 1;  // the list itself (0) when no line is selected
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        selection->vt = VT_EMPTY;
        if (!list_) return Gone();
        if (Selected() < 0) return S_FALSE;
        selection->vt = VT_I4;
        selection->lVal = Selected() + 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return SelfOnly(child, action, &IAccessible::get_accDefaultAction);
    }
    // Taking the selection is what a click does: the owner hears of it as of a click.
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (!Valid(child)) return E_INVALIDARG;
        if (!IsLine(child)) return standard_ ? standard_->accSelect(flags, child) : S_FALSE;
        if (flags & SELFLAG_TAKEFOCUS) ::SetFocus(list_);
        if (flags & (SELFLAG_TAKESELECTION | SELFLAG_ADDSELECTION)) {
            ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(child.lVal - 1), 0);
            ::SendMessageW(::GetParent(list_), WM_COMMAND,
                           MAKEWPARAM(::GetDlgCtrlID(list_), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list_));
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        if (IsSelf(child) && standard_) return standard_->accLocation(left, top, width, height, child);
        RECT box{};
        if (!Valid(child) || !IsLine(child) || !LineBox(child.lVal - 1, box)) return E_INVALIDARG;
        ::MapWindowPoints(list_, HWND_DESKTOP, reinterpret_cast<POINT*>(&box), 2);
        *left = box.left;
        *top = box.top;
        *width = box.right - box.left;
        *height = box.bottom - box.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        end->vt = VT_EMPTY;
        if (!Valid(start)) return E_INVALIDARG;
        long to = 0;
        if (IsSelf(start)) {
            if (direction == NAVDIR_FIRSTCHILD) to = 1;
            else if (direction == NAVDIR_LASTCHILD) to = Lines();
            else return standard_ ? standard_->accNavigate(direction, start, end) : S_FALSE;
        } else if (direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) {
            to = start.lVal + 1;
        } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) {
            to = start.lVal - 1;
        }
        if (to < 1 || to > Lines()) return S_FALSE;
        end->vt = VT_I4;
        end->lVal = to;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        hit->vt = VT_EMPTY;
        if (!list_) return Gone();
        POINT at{x, y};
        ::ScreenToClient(list_, &at);
        RECT client{};
        ::GetClientRect(list_, &client);
        if (!::PtInRect(&client, at)) return S_FALSE;
        const LRESULT found = ::SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
        hit->vt = VT_I4;
        hit->lVal = HIWORD(found) == 0 ? LOWORD(found) + 1 : CHILDID_SELF;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (IsSelf(child) && standard_) return standard_->accDoDefaultAction(child);
        return Valid(child) ? DISP_E_MEMBERNOTFOUND : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~ListAccessible() { Disconnect(); }

    static HRESULT Gone() { return RPC_E_DISCONNECTED; }
    long Lines() const { return list_ ? static_cast<long>(::SendMessageW(list_, LB_GETCOUNT, 0, 0)) : 0; }
    int Selected() const { return list_ ? static_cast<int>(::SendMessageW(list_, LB_GETCURSEL, 0, 0)) : -1; }
    bool Valid(const VARIANT& child) const { return list_ && child.vt == VT_I4 && child.lVal >= 0 && child.lVal <= Lines(); }
    bool LineBox(int line, RECT& box) const {
        return ::SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(&box)) != LB_ERR;
    }
    // A text the system knows of the list itself, and lines have none of.
    HRESULT SelfOnly(VARIANT child, BSTR* text, HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*)) {
        if (!text) return E_POINTER;
        *text = nullptr;
        if (!Valid(child)) return list_ ? E_INVALIDARG : Gone();
        if (IsSelf(child) && standard_) return (standard_->*ask)(child, text);
        return S_FALSE;
    }

    std::atomic<ULONG> references_{1};
    HWND list_;
    std::function<std::wstring(int)> lineName_;
    IAccessible* standard_ = nullptr;
};

ListAccessibility::ListAccessibility(HWND list, std::function<std::wstring(int line)> lineName)
    : list_(list), object_(new ListAccessible(list, std::move(lineName))) {
    ::SetWindowSubclass(list_, Subclass, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
}

ListAccessibility::~ListAccessibility() {
    ::RemoveWindowSubclass(list_, Subclass, kSubclassId);
    object_->Disconnect();
    object_->Release();
    if (comStarted_) ::CoUninitialize();
}

// The object crosses to the reader through COM, which the thread joins at the first question
// only: a program nobody reads never starts it.
LRESULT ListAccessibility::GetObject(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) return ::DefSubclassProc(list_, WM_GETOBJECT, wParam, lParam);
    if (!comStarted_) comStarted_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    return ::LresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(object_));
}

LRESULT CALLBACK ListAccessibility::Subclass(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
    if (message == WM_GETOBJECT) return reinterpret_cast<ListAccessibility*>(self)->GetObject(wParam, lParam);
    return ::DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace tessera::win
