// The settings dialog's accessible object: each call reads the rows afresh from its source.
#include "win32/dialog_accessible.h"

#include <array>

#include "win32/text.h"

namespace quillmere::win32 {
namespace {

using settings_dialog::AccessibleItem;
using settings_dialog::AccessibleRole;

constexpr HRESULT kDetached = RPC_E_DISCONNECTED;

// The roles of settings_dialog::AccessibleRole, in its order.
constexpr std::array<LONG, 4> kRoles = {ROLE_SYSTEM_SLIDER, ROLE_SYSTEM_RADIOBUTTON,
                                        ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_LINK};

LONG StateOf(const AccessibleItem& item) {
  LONG state = STATE_SYSTEM_FOCUSABLE;
  if (item.focused) state |= STATE_SYSTEM_FOCUSED;
  if (item.checked) state |= STATE_SYSTEM_CHECKED;
  if (item.role == AccessibleRole::Link) state |= STATE_SYSTEM_LINKED;
  return state;
}

HRESULT Text(const std::wstring& text, BSTR* out) {
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT Number(LONG number, VARIANT* out) {
  out->vt = VT_I4;
  out->lVal = number;
  return S_OK;
}

HRESULT Nothing(VARIANT* out) {
  out->vt = VT_EMPTY;
  return S_FALSE;
}

bool Contains(const RECT& rect, LONG x, LONG y) {
  return x >= rect.left && y >= rect.top && x < rect.right && y < rect.bottom;
}

}  // namespace

void DialogAccessible::Detach() {
  source_ = nullptr;
  // Remote clients' proxies fail from now on instead of reaching a window that is gone.
  CoDisconnectObject(this, 0);
}

HRESULT DialogAccessible::QueryInterface(REFIID id, void** object) {
  if (object == nullptr) return E_POINTER;
  if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
    *object = static_cast<IAccessible*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DialogAccessible::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG DialogAccessible::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT DialogAccessible::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT DialogAccessible::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }

HRESULT DialogAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}

HRESULT DialogAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                 UINT*) {
  return E_NOTIMPL;
}

DialogAccessible::Target DialogAccessible::Find(const VARIANT& child) const {
  Target target;
  if (source_ == nullptr) {
    target.status = kDetached;
    return target;
  }
  target.items = source_->AccessibleItems();
  if (child.vt != VT_I4 || child.lVal < 0 ||
      static_cast<std::size_t>(child.lVal) > target.items.size()) {
    target.status = E_INVALIDARG;
    return target;
  }
  target.id = child.lVal;
  return target;
}

HRESULT DialogAccessible::NoSuchProperty(const VARIANT& child) const {
  const Target target = Find(child);
  return FAILED(target.status) ? target.status : DISP_E_MEMBERNOTFOUND;
}

HRESULT DialogAccessible::RowText(const VARIANT& child, BSTR* out,
                                  std::string AccessibleItem::*field) const {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  const Target target = Find(child);
  if (FAILED(target.status)) return target.status;
  const AccessibleItem* row = target.row();
  if (row == nullptr || (row->*field).empty()) return DISP_E_MEMBERNOTFOUND;
  return Text(Widen(row->*field), out);
}

HRESULT DialogAccessible::get_accParent(IDispatch** parent) {
  if (parent == nullptr) return E_POINTER;
  *parent = nullptr;
  if (source_ == nullptr) return kDetached;
  // The window's standard object, whose client we are; a system without one gives no parent.
  const HRESULT made =
      CreateStdAccessibleObject(source_->AccessibleWindow(), OBJID_WINDOW, __uuidof(IDispatch),
                                reinterpret_cast<void**>(parent));
  if (SUCCEEDED(made)) return S_OK;
  *parent = nullptr;
  return S_FALSE;
}

HRESULT DialogAccessible::get_accChildCount(LONG* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  if (source_ == nullptr) return kDetached;
  *count = static_cast<LONG>(source_->AccessibleItems().size());
  return S_OK;
}

HRESULT DialogAccessible::get_accChild(VARIANT child, IDispatch** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  const Target target = Find(child);
  if (FAILED(target.status)) return target.status;
  // Every row is a simple element that this object answers for.
  return target.row() != nullptr ? S_FALSE : E_INVALIDARG;
}

HRESULT DialogAccessible::get_accName(VARIANT child, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  *name = nullptr;
  const Target target = Find(child);
  if (FAILED(target.status)) return target.status;
  const AccessibleItem* row = target.row();
  return Text(Widen(row != nullptr ? row->name : source_->AccessibleTitle()), name);
}

HRESULT DialogAccessible::get_accValue(VARIANT child, BSTR* value) {
  return RowText(child, value, &AccessibleItem::value);
}

HRESULT DialogAccessible::get_accDescription(VARIANT child, BSTR* description) {
  return RowText(child, description, &AccessibleItem::group);
}

HRESULT DialogAccessible::get_accRole(VARIANT child, VARIANT* role) {
  if (role == nullptr) return E_POINTER;
  VariantInit(role);
  const Target target = Find(child);
  if (FAILED(target.status)) return target.status;
  const AccessibleItem* row = target.row();
  return Number(row != nullptr ? kRoles[static_cast<std::size_t>(row->role)] : ROLE_SYSTEM_CLIENT,
                role);
}

HRESULT DialogAccessible::get_accState(VARIANT child, VARIANT* state) {
  if (state == nullptr) return E_POINTER;
  VariantInit(state);
  const Target target = Find(child);
  if (FAILED(target.status)) return target.status;
  if (const AccessibleItem* row = target.row()) return Number(StateOf(*row), state);
  bool row_focused = false;
  for (const AccessibleItem& item : target.items) row_focused = row_focused || item.focused;
  const bool focused = !row_focused && GetFocus() == source_->AccessibleWindow();
  return Number(STATE_SYSTEM_FOCUSABLE | (focused ? STATE_SYSTEM_FOCUSED : 0), state);
}

HRESULT DialogAccessible::get_accHelp(VARIANT child, BSTR* help) {
  if (help == nullptr) return E_POINTER;
  *help = nullptr;
  return NoSuchProperty(child);
}

HRESULT DialogAccessible::get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) {
  if (file == nullptr || topic == nullptr) return E_POINTER;
  *file = nullptr;
  *topic = 0;
  return NoSuchProperty(child);
}

HRESULT DialogAccessible::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  if (shortcut == nullptr) return E_POINTER;
  *shortcut = nullptr;
  return NoSuchProperty(child);
}

HRESULT DialogAccessible::get_accFocus(VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  VariantInit(child);
  if (source_ == nullptr) return kDetached;
  const std::vector<AccessibleItem> items = source_->AccessibleItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].focused) return Number(static_cast<LONG>(i + 1), child);
  }
  if (GetFocus() == source_->AccessibleWindow()) return Number(CHILDID_SELF, child);
  return Nothing(child);
}

HRESULT DialogAccessible::get_accSelection(VARIANT* children) {
  if (children == nullptr) return E_POINTER;
  VariantInit(children);
  return source_ != nullptr ? DISP_E_MEMBERNOTFOUND : kDetached;
}

HRESULT DialogAccessible::get_accDefaultAction(VARIANT child, BSTR* action) {
  return RowText(child, action, &AccessibleItem::action);
}

HRESULT DialogAccessible::accSelect(LONG, VARIANT child) { return NoSuchProperty(child); }

HRESULT DialogAccessible::accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                      VARIANT child) {
  if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
  *left = *top = *width = *height = 0;
  const Target target = Find(child);
  if (FAILED(target.status)) return target.status;
  const AccessibleItem* row = target.row();
  const RECT rect =
      source_->ScreenRectOf(row != nullptr ? row->box : settings_dialog::kDialogClient);
  *left = rect.left;
  *top = rect.top;
  *width = rect.right - rect.left;
  *height = rect.bottom - rect.top;
  return S_OK;
}

HRESULT DialogAccessible::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
  if (end == nullptr) return E_POINTER;
  VariantInit(end);
  const Target target = Find(start);
  if (FAILED(target.status)) return target.status;
  const LONG count = static_cast<LONG>(target.items.size());
  const bool self = target.id == CHILDID_SELF;
  // The client leads to its first and last rows, a row to its neighbours.
  LONG to = 0;
  if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
    to = !self ? 0 : direction == NAVDIR_FIRSTCHILD ? 1 : count;
  } else if (direction == NAVDIR_NEXT || direction == NAVDIR_PREVIOUS) {
    to = self ? 0 : target.id + (direction == NAVDIR_NEXT ? 1 : -1);
  } else {
    return DISP_E_MEMBERNOTFOUND;
  }
  return to >= 1 && to <= count ? Number(to, end) : Nothing(end);
}

HRESULT DialogAccessible::accHitTest(LONG x, LONG y, VARIANT* child) {
  if (child == nullptr) return E_POINTER;
  VariantInit(child);
  if (source_ == nullptr) return kDetached;
  if (!Contains(source_->ScreenRectOf(settings_dialog::kDialogClient), x, y)) return Nothing(child);
  const std::vector<AccessibleItem> items = source_->AccessibleItems();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (Contains(source_->ScreenRectOf(items[i].box), x, y))
      return Number(static_cast<LONG>(i + 1), child);
  }
  return Number(CHILDID_SELF, child);
}

HRESULT DialogAccessible::accDoDefaultAction(VARIANT child) {
  const Target target = Find(child);
  if (FAILED(target.status)) return target.status;
  const AccessibleItem* row = target.row();
  if (row == nullptr || row->action.empty()) return DISP_E_MEMBERNOTFOUND;
  source_->ActivateItem(static_cast<std::size_t>(target.id - 1));
  return S_OK;
}

HRESULT DialogAccessible::put_accName(VARIANT, BSTR) { return E_NOTIMPL; }

HRESULT DialogAccessible::put_accValue(VARIANT, BSTR) { return E_NOTIMPL; }

}  // namespace quillmere::win32
