#include "accessible_win32.h"

#include <oleacc.h>

namespace formkit {
namespace {

long RoleNumber(AccessibleRole role) {
  switch (role) {
    case AccessibleRole::StaticText:
      return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Grouping:
      return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::RadioButton:
      return ROLE_SYSTEM_RADIOBUTTON;
    case AccessibleRole::PushButton:
      return ROLE_SYSTEM_PUSHBUTTON;
    case AccessibleRole::Link:
      return ROLE_SYSTEM_LINK;
    case AccessibleRole::ComboBox:
      return ROLE_SYSTEM_COMBOBOX;
  }
  return ROLE_SYSTEM_CLIENT;
}

long StateBits(unsigned state) {
  static const struct {
    unsigned ours;
    long system;
  } kStates[] = {{kAccessibleFocusable, STATE_SYSTEM_FOCUSABLE}, {kAccessibleFocused, STATE_SYSTEM_FOCUSED},
                 {kAccessibleUnavailable, STATE_SYSTEM_UNAVAILABLE}, {kAccessibleDefault, STATE_SYSTEM_DEFAULT},
                 {kAccessibleReadOnly, STATE_SYSTEM_READONLY},   {kAccessibleChecked, STATE_SYSTEM_CHECKED},
                 {kAccessibleLinked, STATE_SYSTEM_LINKED},       {kAccessibleExpanded, STATE_SYSTEM_EXPANDED},
                 {kAccessibleCollapsed, STATE_SYSTEM_COLLAPSED}};
  long bits = 0;
  for (const auto &each : kStates)
    if (state & each.ours) bits |= each.system;
  return bits;
}

// One window's object. Child ids are the parts; CHILDID_SELF is part 0.
class PartsObject : public IAccessible {
 public:
  PartsObject(HWND hwnd, std::shared_ptr<AccessibleParts *> parts) : hwnd_(hwnd), parts_(std::move(parts)) {}
  virtual ~PartsObject() = default;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **out) override {
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible *>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // No type information: clients use the interface itself.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *,
                                   UINT *) override {
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch **parent) override {
    *parent = nullptr;
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                      reinterpret_cast<void **>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG *count) override {
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if ((*parts_)->childWindows) return Standard([count](IAccessible *s) { return s->get_accChildCount(count); });
    *count = Count();
    return S_OK;
  }
  // The parts are simple elements, reached through their ids; child windows
  // are the system's objects.
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch **out) override {
    *out = nullptr;
    if (Alive() && (*parts_)->childWindows)
      return Standard([child, out](IAccessible *s) { return s->get_accChild(child, out); });
    return PartOf(child) < 0 ? E_INVALIDARG : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR *name) override {
    return Text(child, name, [](const AccessibleFacts &f) { return f.name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR *value) override {
    return Text(child, value, [](const AccessibleFacts &f) { return f.value; });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT, BSTR *text) override {
    *text = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT *role) override {
    return Number(child, role, [](const AccessibleFacts &f) { return RoleNumber(f.role); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT *state) override {
    return Number(child, state, [](const AccessibleFacts &f) { return StateBits(f.state); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR *text) override {
    *text = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR *file, VARIANT, LONG *topic) override {
    *file = nullptr;
    *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR *text) override {
    *text = nullptr;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT *focus) override {
    VariantInit(focus);
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    if (GetFocus() != hwnd_) return S_FALSE;
    focus->vt = VT_I4;
    focus->lVal = (*parts_)->focusedPart ? (*parts_)->focusedPart() : CHILDID_SELF;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT *selection) override {
    VariantInit(selection);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR *action) override {
    return Text(child, action, [](const AccessibleFacts &f) { return f.defaultAction; });
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE accLocation(LONG *left, LONG *top, LONG *width, LONG *height, VARIANT child) override {
    const int part = PartOf(child);
    if (part < 0) return E_INVALIDARG;
    const Box r = (*parts_)->facts(part).screen;
    *left = r.l;
    *top = r.t;
    *width = r.r - r.l;
    *height = r.b - r.t;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG, VARIANT, VARIANT *end) override {
    VariantInit(end);
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT *hit) override {
    VariantInit(hit);
    if (!Alive()) return CO_E_OBJNOTCONNECTED;
    for (int part = Count(); part >= 0; --part) {
      const Box r = (*parts_)->facts(part).screen;
      if (x >= r.l && x < r.r && y >= r.t && y < r.b) {
        hit->vt = VT_I4;
        hit->lVal = part;
        return S_OK;
      }
    }
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    const int part = PartOf(child);
    if (part < 0) return E_INVALIDARG;
    if (!(*parts_)->doDefault) return DISP_E_MEMBERNOTFOUND;
    (*parts_)->doDefault(part);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  bool Alive() const { return *parts_ != nullptr && IsWindow(hwnd_); }
  LONG Count() const { return (*parts_)->count ? (*parts_)->count() : 0; }
  // The part a child id names; -1 for none (or when the window has gone).
  int PartOf(const VARIANT &child) const {
    if (!Alive() || child.vt != VT_I4 || child.lVal < 0 || child.lVal > Count()) return -1;
    return static_cast<int>(child.lVal);
  }
  // Asks the system's own object of the client area.
  template <typename Ask>
  HRESULT Standard(Ask ask) {
    IAccessible *standard = nullptr;
    const HRESULT made = CreateStdAccessibleObject(hwnd_, OBJID_CLIENT, __uuidof(IAccessible),
                                                   reinterpret_cast<void **>(&standard));
    if (FAILED(made) || !standard) return FAILED(made) ? made : E_FAIL;
    const HRESULT result = ask(standard);
    standard->Release();
    return result;
  }
  template <typename Field>
  HRESULT Text(const VARIANT &child, BSTR *out, Field field) {
    *out = nullptr;
    const int part = PartOf(child);
    if (part < 0) return E_INVALIDARG;
    const std::wstring text = field((*parts_)->facts(part));
    if (text.empty()) return S_FALSE;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }
  template <typename Field>
  HRESULT Number(const VARIANT &child, VARIANT *out, Field field) {
    VariantInit(out);
    const int part = PartOf(child);
    if (part < 0) return E_INVALIDARG;
    out->vt = VT_I4;
    out->lVal = field((*parts_)->facts(part));
    return S_OK;
  }

  LONG references_ = 1;
  HWND hwnd_;
  std::shared_ptr<AccessibleParts *> parts_;
};

}  // namespace

AccessibleParts::AccessibleParts() : self_(std::make_shared<AccessibleParts *>(this)) {}

AccessibleParts::~AccessibleParts() { *self_ = nullptr; }

bool AccessibleParts::Answer(HWND hwnd, WPARAM wParam, LPARAM lParam, LRESULT &result) {
  if (static_cast<LONG>(lParam) != OBJID_CLIENT || !facts) return false;
  // Handing the object out goes through COM, which the thread may not have
  // started yet; it stays started for the thread's life.
  static thread_local const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)com;
  auto *object = new PartsObject(hwnd, self_);
  result = LresultFromObject(__uuidof(IAccessible), wParam, object);
  object->Release();
  return true;
}

Box WindowOnScreen(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return ScreenBox(r);
}

void NotifyPart(DWORD event, HWND hwnd, int part) {
  if (hwnd) NotifyWinEvent(event, hwnd, OBJID_CLIENT, part);
}

}  // namespace formkit
