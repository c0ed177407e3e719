#include "platform/Accessible.h"

#include <oleauto.h>

#include <atomic>

#include "platform/SystemLibrary.h"

namespace {

// Defined here: the import library's IID_IAccessible comes out as a thunk
// in a static link.
constexpr IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
constexpr IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// oleacc.dll is no Known DLL: it is loaded from System32 when first asked for.
using CreateStdAccessibleObjectFunction = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFromObjectFunction = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AccessibleObjectFromWindowFunction = HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**);

HRESULT Text(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void Long(VARIANT* out, LONG value)
{
    VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

}  // namespace

// A COM object is freed by Release, never deleted through its interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class AccessibleObject final : public IAccessible {
public:
    explicit AccessibleObject(AccessibleSource* source) : source_(source) {}
    void Detach() noexcept { source_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, kIidUnknown) || IsEqualIID(riid, kIidDispatch) || IsEqualIID(riid, kIidAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: screen readers call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (count)
            *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override
    {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!source_)
            return RPC_E_DISCONNECTED;
        static const auto create =
            SystemFunction<CreateStdAccessibleObjectFunction>(L"oleacc.dll", "CreateStdAccessibleObject");
        if (!create)
            return E_NOTIMPL;
        return create(source_->AccessibleWindow(), OBJID_WINDOW, kIidDispatch, reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override
    {
        if (!count)
            return E_POINTER;
        if (!source_)
            return RPC_E_DISCONNECTED;
        *count = source_->AccessibleChildCount();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        // The parts are simple elements, answered by this object.
        return Child(child) >= 0 ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override
    {
        return Fact(child, out, [](const AccessibleFacts& f) { return f.name; });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override
    {
        return Fact(child, out, [](const AccessibleFacts& f) { return f.value; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override
    {
        return Fact(child, out, [](const AccessibleFacts&) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override
    {
        return Fact(child, out, [](const AccessibleFacts&) { return std::wstring(); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override
    {
        return Fact(child, out, [](const AccessibleFacts& f) { return f.keyboardShortcut; });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override
    {
        return Fact(child, out, [](const AccessibleFacts& f) { return f.defaultAction; });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override
    {
        if (file)
            *file = nullptr;
        if (topic)
            *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override
    {
        return Number(child, out, [](const AccessibleFacts& f) { return f.role; });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override
    {
        return Number(child, out, [](const AccessibleFacts& f) { return f.state; });
    }
    // The selection is the focused row; the window itself (0) is focus only, never selection.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override
    {
        if (out && source_)
            if (const HWND holder = source_->AccessibleFocusHolder()) {
                // The submenu's object, which names its own focused row.
                static const auto fromWindow =
                    SystemFunction<AccessibleObjectFromWindowFunction>(L"oleacc.dll", "AccessibleObjectFromWindow");
                IDispatch* object = nullptr;
                if (fromWindow &&
                    SUCCEEDED(fromWindow(holder, static_cast<DWORD>(OBJID_CLIENT), kIidDispatch,
                                         reinterpret_cast<void**>(&object))) &&
                    object) {
                    VariantInit(out);
                    out->vt = VT_DISPATCH;
                    out->pdispVal = object;
                    return S_OK;
                }
            }
        return FocusedChild(out, 0);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override { return FocusedChild(out, 1); }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override
    {
        if (!left || !top || !width || !height)
            return E_POINTER;
        const int id = Child(child);
        if (id < 0)
            return source_ ? E_INVALIDARG : RPC_E_DISCONNECTED;
        const RECT r = source_->DescribeAccessible(id).screen;
        *left = r.left;
        *top = r.top;
        *width = r.right - r.left;
        *height = r.bottom - r.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) override
    {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        const int id = Child(start);
        if (id < 0)
            return source_ ? E_INVALIDARG : RPC_E_DISCONNECTED;
        const int count = source_->AccessibleChildCount();
        int to = -1;
        switch (direction) {
        case NAVDIR_FIRSTCHILD: to = id == 0 && count > 0 ? 1 : -1; break;
        case NAVDIR_LASTCHILD: to = id == 0 && count > 0 ? count : -1; break;
        case NAVDIR_NEXT:
        case NAVDIR_DOWN: to = id > 0 && id < count ? id + 1 : -1; break;
        case NAVDIR_PREVIOUS:
        case NAVDIR_UP: to = id > 1 ? id - 1 : -1; break;
        default: return E_NOTIMPL;
        }
        if (to < 0)
            return S_FALSE;
        Long(out, to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override
    {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        if (!source_)
            return RPC_E_DISCONNECTED;
        const int at = source_->AccessibleChildAt(POINT{x, y});
        if (at < 0)
            return S_FALSE;
        Long(out, at);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override
    {
        const int id = Child(child);
        if (id < 0)
            return source_ ? E_INVALIDARG : RPC_E_DISCONNECTED;
        return source_->DoAccessibleDefault(id) ? S_OK : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~AccessibleObject() = default;

    // The child a VARIANT names, or -1 for none (or no window any more).
    int Child(const VARIANT& v) const
    {
        if (!source_ || v.vt != VT_I4)
            return -1;
        return v.lVal >= 0 && v.lVal <= source_->AccessibleChildCount() ? static_cast<int>(v.lVal) : -1;
    }

    // The focused child when it is at least `lowest`, else S_FALSE (nothing).
    HRESULT FocusedChild(VARIANT* out, int lowest) const
    {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        if (!source_)
            return RPC_E_DISCONNECTED;
        const int focus = source_->AccessibleFocus();
        if (focus < lowest)
            return S_FALSE;
        Long(out, focus);
        return S_OK;
    }

    template <class Pick>
    HRESULT Fact(const VARIANT& child, BSTR* out, Pick pick)
    {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        const int id = Child(child);
        if (id < 0)
            return source_ ? E_INVALIDARG : RPC_E_DISCONNECTED;
        return Text(pick(source_->DescribeAccessible(id)), out);
    }

    template <class Pick>
    HRESULT Number(const VARIANT& child, VARIANT* out, Pick pick)
    {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        const int id = Child(child);
        if (id < 0)
            return source_ ? E_INVALIDARG : RPC_E_DISCONNECTED;
        Long(out, pick(source_->DescribeAccessible(id)));
        return S_OK;
    }

    AccessibleSource* source_;
    std::atomic<ULONG> references_{1};
};
#pragma GCC diagnostic pop

AccessibleAnswer::~AccessibleAnswer()
{
    if (object_) {
        object_->Detach();
        object_->Release();
    }
}

LRESULT AccessibleAnswer::Answer(WPARAM wParam, LPARAM lParam)
{
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT))
        return 0;
    // Loaded when a screen reader first asks, from System32 only.
    static const auto answer = SystemFunction<LresultFromObjectFunction>(L"oleacc.dll", "LresultFromObject");
    if (!answer)
        return 0;
    if (!object_)
        object_ = new AccessibleObject(&source_);
    return answer(kIidAccessible, wParam, object_);
}

bool ClientPointOf(HWND window, POINT screen, POINT& client)
{
    RECT r{};
    if (!GetWindowRect(window, &r) || !PtInRect(&r, screen))
        return false;
    client = screen;
    ScreenToClient(window, &client);
    return true;
}

void TellAccessibleEvent(DWORD event, HWND window, int child)
{
    if (window)
        NotifyWinEvent(event, window, OBJID_CLIENT, child);
}

std::wstring AccessibleText(std::string_view ansi)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return wide;
}

std::wstring CaptionName(std::string_view ansiCaption)
{
    // "&&" is a plain "&"; a lone "&" marks the access key and is not read.
    const std::wstring wide = AccessibleText(ansiCaption);
    std::wstring name;
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == L'&' && i + 1 < wide.size())
            ++i;
        else if (wide[i] == L'&')
            continue;
        name += wide[i];
    }
    return name;
}

std::wstring CaptionAccessKey(std::string_view ansiCaption)
{
    const std::wstring wide = AccessibleText(ansiCaption);
    for (std::size_t i = 0; i + 1 < wide.size(); ++i) {
        if (wide[i] != L'&')
            continue;
        if (wide[i + 1] == L'&') {
            ++i;
            continue;
        }
        return L"Alt+" + std::wstring(1, static_cast<wchar_t>(towupper(wide[i + 1])));
    }
    return L"";
}
