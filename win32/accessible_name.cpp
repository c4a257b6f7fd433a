#include "win32/accessible_name.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>
#include <string>

#include "win32/compat.h"

// The interface ids are taken with __uuidof: MinGW's oleacc import library
// binds IID_IAccessible to a code stub, not to the id.

namespace zorvik::win32 {
namespace {

constexpr UINT_PTR kNameSubclassId = 2;

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// What the control's accessible object says of it in place of the standard
// object's words.
struct AccessibleTexts {
  std::wstring name;
  std::wstring description;  // empty: the standard object's
};

// A string of COM's own; null when there was no memory for it.
BSTR ComString(const std::wstring& text) {
  return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A copy of `text` (null when it could not be made) for the caller to free.
HRESULT CopyComString(BSTR text, BSTR* copy) {
  if (copy == nullptr) return E_POINTER;
  *copy =
      text == nullptr ? nullptr : SysAllocStringLen(text, SysStringLen(text));
  return *copy != nullptr ? S_OK : E_OUTOFMEMORY;
}

// The standard accessible object of a control with another name and,
// where given, a description. Every other call goes to the standard object,
// which keeps following the control (its text as the value, its state, its
// place on the screen).
class NamedAccessible final : public IAccessible {
 public:
  // Takes over the caller's reference to `standard`. The texts are kept as
  // strings of COM's own: the object may outlive the control, and it is made
  // where no exception may leave.
  NamedAccessible(IAccessible* standard, const AccessibleTexts& texts)
      : standard_(standard),
        name_(ComString(texts.name)),
        description_(texts.description.empty() ? nullptr
                                               : ComString(texts.description)) {
  }
  ~NamedAccessible() {
    SysFreeString(name_);
    SysFreeString(description_);
    standard_->Release();
  }
  NamedAccessible(const NamedAccessible&) = delete;
  NamedAccessible& operator=(const NamedAccessible&) = delete;

  // IUnknown. The standard object's further interfaces (IEnumVARIANT,
  // IOleWindow) are handed out as its own: they say nothing about the name.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
        iid == __uuidof(IAccessible)) {
      *object = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    return standard_->QueryInterface(iid, object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override {
    return InterlockedIncrement(&references_);
  }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: screen readers call IAccessible directly. Late-bound callers
  // are refused rather than handed the standard object's dispatch, which
  // would answer with the standard name.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID,
                                          DISPID*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*,
                                   VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    if (!IsSelf(child)) return standard_->get_accName(child, name);
    return CopyComString(name_, name);
  }
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child,
                                         IDispatch** object) override {
    return standard_->get_accChild(child, object);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child,
                                               BSTR* description) override {
    if (!IsSelf(child) || description_ == nullptr) {
      return standard_->get_accDescription(child, description);
    }
    return CopyComString(description_, description);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    return standard_->get_accRole(child, role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child,
                                         VARIANT* state) override {
    return standard_->get_accState(child, state);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
    return standard_->get_accHelp(child, help);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child,
                                             LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child,
                                                    BSTR* shortcut) override {
    return standard_->get_accKeyboardShortcut(child, shortcut);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
    return standard_->get_accFocus(child);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
    return standard_->get_accSelection(children);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child,
                                                 BSTR* action) override {
    return standard_->get_accDefaultAction(child, action);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width,
                                        LONG* height, VARIANT child) override {
    return standard_->accLocation(left, top, width, height, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start,
                                        VARIANT* end) override {
    return standard_->accNavigate(direction, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y,
                                       VARIANT* child) override {
    return standard_->accHitTest(x, y, child);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    return standard_->accDoDefaultAction(child);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
    return standard_->put_accName(child, name);
  }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
    return standard_->put_accValue(child, value);
  }

 private:
  IAccessible* standard_;
  BSTR name_;
  BSTR description_;
  LONG references_ = 1;
};

// A new object for every request, as WM_GETOBJECT asks: the client releases
// what it gets. Anything that fails leaves the request to the control, which
// answers with the standard object.
LRESULT CALLBACK AnswerWithName(HWND control, UINT message, WPARAM wparam,
                                LPARAM lparam, UINT_PTR /*id*/,
                                DWORD_PTR data) {
  const auto* texts = reinterpret_cast<const AccessibleTexts*>(data);
  // The object id is a DWORD: compared as an LPARAM it would be sign-extended.
  // (The subclass is only set where oleacc was loaded.)
  if (message == WM_GETOBJECT &&
      static_cast<DWORD>(lparam) == static_cast<DWORD>(OBJID_CLIENT)) {
    const Oleacc& oleacc = *LoadOleacc();
    IAccessible* standard = nullptr;
    if (SUCCEEDED(oleacc.create_std_accessible_object(
            control, OBJID_CLIENT, __uuidof(IAccessible),
            reinterpret_cast<void**>(&standard)))) {
      auto* named = new (std::nothrow) NamedAccessible(standard, *texts);
      if (named == nullptr) {
        standard->Release();
      } else {
        const LRESULT result =
            oleacc.lresult_from_object(__uuidof(IAccessible), wparam, named);
        named->Release();
        if (result > 0) return result;
      }
    }
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, &AnswerWithName, kNameSubclassId);
    delete texts;
  }
  return DefSubclassProc(control, message, wparam, lparam);
}

}  // namespace

bool SetAccessibleName(HWND control, std::wstring_view name,
                       std::wstring_view description) {
  if (LoadOleacc() == nullptr) return false;
  auto* stored =
      new AccessibleTexts{std::wstring(name), std::wstring(description)};
  const bool subclassed =
      SetWindowSubclass(control, &AnswerWithName, kNameSubclassId,
                        reinterpret_cast<DWORD_PTR>(stored)) != FALSE;
  if (!subclassed) delete stored;
  return subclassed;
}

}  // namespace zorvik::win32
