#include "win32/front_end/accessible.h"

#include <oleacc.h>

#include <algorithm>
#include <cwchar>
#include <iterator>
#include <optional>
#include <string>

#include "common/accessibility.h"
#include "win32/front_end/native_control.h"
#include "win32/services/system_library.h"

namespace quellor::win32 {
namespace {

// The system's roles, in the order of the core's.
constexpr DWORD kMsaaRoles[] = {
    ROLE_SYSTEM_STATICTEXT,  ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_TEXT,     ROLE_SYSTEM_CHECKBUTTON,
    ROLE_SYSTEM_RADIOBUTTON, ROLE_SYSTEM_COMBOBOX,   ROLE_SYSTEM_GROUPING, ROLE_SYSTEM_GRAPHIC};
static_assert(std::size(kMsaaRoles) == static_cast<std::size_t>(AccessibleRole::Graphic) + 1);

// The libraries are not known ones: looked up in the system folder only.
struct Oleacc {
  decltype(&CreateStdAccessibleObject) createStandard =
      SystemFunction<decltype(CreateStdAccessibleObject)>(L"oleacc.dll",
                                                          "CreateStdAccessibleObject");
  decltype(&LresultFromObject) lresultFromObject =
      SystemFunction<decltype(LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
  decltype(&SysAllocStringLen) allocString =
      SystemFunction<decltype(SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
  bool comReady = [] {
    const auto initialize =
        SystemFunction<decltype(CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    return initialize != nullptr &&
           SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE));
  }();
  bool Usable() const {
    return createStandard != nullptr && lresultFromObject != nullptr && allocString != nullptr &&
           comReady;
  }
};

Oleacc& Library() {
  static Oleacc library;
  return library;
}

HRESULT Text(const std::string& text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  const int length =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  *out = Library().allocString(wide.data(), static_cast<UINT>(wide.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The reverse, in the code page of the program's texts.
std::string Narrow(BSTR text) {
  const int length = text != nullptr ? static_cast<int>(std::wcslen(text)) : 0;
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

bool Self(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's object for the window, with the core's answers about the
// control itself; everything else (place, parent, navigation, children) is
// the system's. It finds the control again through its window at each
// call, so it outlives the control safely.
class ControlAccessible final : public IAccessible {
 public:
  ControlAccessible(HWND hwnd, IAccessible* standard) : hwnd_(hwnd), standard_(standard) {}
  ControlAccessible(const ControlAccessible&) = delete;
  ControlAccessible& operator=(const ControlAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (out == nullptr) return E_POINTER;
    if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    // The window handle and the children are the system object's; nothing
    // else of it, so that the object is marshalled as ours.
    if (id == __uuidof(IOleWindow) || id == __uuidof(IEnumVARIANT)) {
      return standard_->QueryInterface(id, out);
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
      standard_->Release();
      delete this;
    }
    return static_cast<ULONG>(left);
  }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(id, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                   DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                   UINT* argument) override {
    return standard_->Invoke(member, id, locale, flags, params, result, exception, argument);
  }

  // IAccessible: the core's answers about the control itself
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!Self(child)) return standard_->get_accName(child, name);
    const Control* model = Model();
    return model != nullptr ? Text(Describe(*model).name, name) : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    const Control* model = Self(child) ? Model() : nullptr;
    if (model == nullptr || model->Kind() == ControlKind::TextBox) {
      return standard_->get_accValue(child, value);  // a box's value is what it holds now
    }
    const std::string text = Describe(*model).value;
    return text.empty() ? standard_->get_accValue(child, value) : Text(text, value);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    const Control* model = Self(child) ? Model() : nullptr;
    if (model == nullptr || role == nullptr) return standard_->get_accRole(child, role);
    role->vt = VT_I4;
    role->lVal = static_cast<LONG>(kMsaaRoles[static_cast<int>(Describe(*model).role)]);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    const HRESULT result = standard_->get_accState(child, state);
    const Control* model = Self(child) ? Model() : nullptr;
    if (FAILED(result) || model == nullptr || state == nullptr || state->vt != VT_I4) return result;
    const AccessibleDescription description = Describe(*model);
    auto flags =
        static_cast<DWORD>(state->lVal) & ~(STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE);
    if (description.unavailable) flags |= STATE_SYSTEM_UNAVAILABLE;
    if (description.invisible) flags |= STATE_SYSTEM_INVISIBLE;
    state->lVal = static_cast<LONG>(flags);
    return result;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    const Control* model = Self(child) ? Model() : nullptr;
    const std::string verb = model != nullptr ? Describe(*model).defaultAction : std::string();
    return verb.empty() ? standard_->get_accDefaultAction(child, action) : Text(verb, action);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const Control* model = Self(child) ? Model() : nullptr;
    if (model == nullptr || Describe(*model).defaultAction.empty()) {
      return standard_->accDoDefaultAction(child);
    }
    if (!HasDefaultAction(*model)) return DISP_E_MEMBERNOTFOUND;
    // Posted: the caller's request returns at once (Abort ends the program),
    // and the click runs from the message loop, as the mouse's does.
    return PostMessageA(hwnd_, NativeControl::kDoDefaultAction, 0, 0) != FALSE ? S_OK : E_FAIL;
  }

  // IAccessible: the system's
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
    return standard_->get_accChild(child, dispatch);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standard_->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
    return standard_->get_accKeyboardShortcut(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                        VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
    return standard_->accHitTest(left, top, child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    const Control* model = Self(child) ? Model() : nullptr;
    if (model == nullptr || model->Kind() != ControlKind::TextBox) {
      return standard_->put_accValue(child, value);
    }
    const std::optional<std::string> taken = ValueTaken(*model, Narrow(value));
    if (!taken) return E_ACCESSDENIED;
    // The box reports the change to the model as it reports typing.
    return SetWindowTextA(hwnd_, taken->c_str()) != FALSE ? S_OK : E_FAIL;
  }

 private:
  const Control* Model() const {
    const NativeControl* control = NativeControl::FromHwnd(hwnd_);
    return control != nullptr ? &control->Model() : nullptr;
  }

  HWND hwnd_;
  IAccessible* standard_;
  LONG references_ = 1;
};

}  // namespace

std::optional<LRESULT> AnswerGetObject(NativeControl& control, WPARAM flags, LPARAM objectId) {
  if (static_cast<LONG>(objectId) != OBJID_CLIENT) return std::nullopt;
  Oleacc& library = Library();
  if (!library.Usable()) return std::nullopt;
  IAccessible* standard = nullptr;
  if (FAILED(library.createStandard(control.Hwnd(), OBJID_CLIENT, __uuidof(IAccessible),
                                    reinterpret_cast<void**>(&standard)))) {
    return std::nullopt;
  }
  auto* accessible = new ControlAccessible(control.Hwnd(), standard);
  const LRESULT result = library.lresultFromObject(__uuidof(IAccessible), flags, accessible);
  accessible->Release();
  return result;
}

void NotifyTextChanged(HWND control) {
  NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
  NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace quellor::win32
