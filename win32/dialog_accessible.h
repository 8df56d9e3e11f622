// The settings dialog's client area as screen readers see it: an IAccessible whose simple
// children, ids 1 to N, are the rows its source lists.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <cstddef>
#include <string>
#include <vector>

#include "settings_dialog/accessibility.h"
#include "settings_dialog/layout.h"

namespace quillmere::win32 {

// What the accessible object reads the dialog through; the dialog window answers it.
class AccessibleSource {
 public:
  virtual ~AccessibleSource() = default;
  // The rows in Tab order; child id k is row k - 1.
  virtual std::vector<settings_dialog::AccessibleItem> AccessibleItems() = 0;
  // The name of the client itself, in the dialog's face.
  virtual std::string AccessibleTitle() = 0;
  // The row's default action, as a click does; it may come after the call has returned.
  virtual void ActivateItem(std::size_t item) = 0;
  // A box of the client area in layout pixels, as a rectangle of screen pixels.
  virtual RECT ScreenRectOf(const settings_dialog::Box& box) = 0;
  virtual HWND AccessibleWindow() = 0;
};

// COM interfaces end their objects through Release, never through a destructor of the interface.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class DialogAccessible final : public IAccessible {
 public:
  // Starts with one reference, the creator's.
  explicit DialogAccessible(AccessibleSource& source) : source_(&source) {}
  DialogAccessible(const DialogAccessible&) = delete;
  DialogAccessible& operator=(const DialogAccessible&) = delete;

  // The dialog's window is going: clients that still hold the object are told it is disconnected.
  void Detach();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IDispatch: clients of IAccessible call its methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override;

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                        VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 private:
  // What a child id names: the client itself (no row) or one of the rows.
  struct Target {
    HRESULT status = S_OK;  // fails when detached or when the id names nothing
    std::vector<settings_dialog::AccessibleItem> items;
    LONG id = CHILDID_SELF;
    const settings_dialog::AccessibleItem* row() const {
      return id == CHILDID_SELF ? nullptr : &items[static_cast<std::size_t>(id - 1)];
    }
  };

  ~DialogAccessible() = default;  // Release alone deletes
  Target Find(const VARIANT& child) const;
  // Every getter of a property the dialog does not keep.
  HRESULT NoSuchProperty(const VARIANT& child) const;
  // A row's text (a slider's value, a choice's group, the default action's verb); the client
  // itself and a row whose text is empty have none.
  HRESULT RowText(const VARIANT& child, BSTR* out,
                  std::string settings_dialog::AccessibleItem::*field) const;

  LONG references_ = 1;
  AccessibleSource* source_;
};
#pragma GCC diagnostic pop

}  // namespace quillmere::win32
