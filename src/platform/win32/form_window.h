// The native window of one form and its controls: built from the models,
// brought in line with them after every event, and feeding the user's
// actions back into the models' hooks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "common/controls.h"
#include "platform/win32/window.h"

namespace quellor::win32 {

class FormWindow : public Window {
 public:
  explicit FormWindow(Form& form);
  ~FormWindow() override;

  Form& Model() const { return form_; }
  // Creates the hidden top-level window; the controls follow at the first
  // Sync, once the form's design is in place.
  bool CreateNative();
  void Close();
  // Brings the native windows in line with the models: everything at the
  // first call, then only what changed (a control's Revision()). True when
  // anything was applied.
  bool Sync();
  unsigned Dpi() const { return dpi_; }
  // Tab and Shift+Tab: the next or previous control in the tab order.
  void MoveFocus(bool backwards);
  // The arrow keys on an option button: the next or previous button of its
  // group, selected. False when the focus is on no option button.
  bool MoveInGroup(bool backwards);
  // The native window of a control, or null.
  HWND ControlWindow(const Control& control) const;
  // A mouse message from the loop, for a window of this form: the tool tips
  // are made at the first move and shown from what they are passed.
  void RelayMouse(const MSG& message);
  // The tool tip window, once the mouse has moved over the form; or null.
  HWND ToolTipWindow() const { return toolTip_; }

 protected:
  std::optional<LRESULT> OnCommand(int id, int code, HWND control) override;
  std::optional<LRESULT> OnTimer(UINT_PTR id) override;
  std::optional<LRESULT> OnMouseMove(WPARAM keys, int x, int y) override;
  std::optional<LRESULT> OnClose() override;
  std::optional<LRESULT> OnEndSession(bool ending) override;
  std::optional<LRESULT> OnWindowPosChanged() override;
  std::optional<LRESULT> OnDpiChanged(unsigned dpi, const RECT& suggested) override;
  std::optional<LRESULT> OnEraseBackground(HDC dc) override;
  std::optional<LRESULT> OnControlColor(UINT message, HDC dc, HWND control) override;
  std::optional<LRESULT> OnActivate(bool active) override;
  std::optional<LRESULT> OnSetFocus() override;

 private:
  struct NativeControl {
    Control* model = nullptr;
    HWND hwnd = nullptr;
    // For a control with handling of its own: the form, and the class's
    // procedure that messages go on to.
    FormWindow* owner = nullptr;
    WNDPROC original = nullptr;
    std::uint32_t revision = 0;  // the model revision last shown; 0 nothing yet
    std::string caption;
    Color foreColor = 0;
    bool visible = false;
    bool enabled = false;
    bool sunken = false;
    int value = -1;  // check or option state shown
    std::vector<std::string> items;
  };
  using FontKey = std::tuple<std::string, float, bool>;

  static LRESULT CALLBACK ControlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT Forward(const NativeControl& native, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnControlMessage(NativeControl& native, UINT message, WPARAM wParam, LPARAM lParam);

  void Build();
  void CreateToolTips();
  void Layout();
  void LayoutControls();
  void PlaceWindow();
  void ReportPlacement();
  void SizeWindow(int x, int y, UINT flags);
  void Apply(NativeControl& native);
  void ApplyForm();
  void SyncTimers();
  bool SetFocusInside();
  HWND FirstFocus() const;
  void RunClick(Control& control);
  void PaintFrame(NativeControl& native);

  NativeControl* Find(HWND hwnd);
  NativeControl* FindByModel(const Control* model);
  bool EffectivelyVisible(const Control& control) const;
  bool EffectivelyEnabled(const Control& control) const;
  MouseArgs ArgsAt(int button, WPARAM keys, LPARAM position) const;
  HFONT FontFor(const Font& font);
  HBRUSH BrushFor(COLORREF color);
  void DropFonts();

  Form& form_;
  unsigned dpi_ = 96;
  bool built_ = false;
  bool syncing_ = false;  // native changes made by Sync: their notifications are ignored
  std::uint32_t formRevision_ = 0;
  float placedLeft_ = 0, placedTop_ = 0;  // where the window is, in twips
  bool placed_ = false;
  bool shownOnce_ = false;
  std::vector<NativeControl> controls_;
  std::vector<bool> timersRunning_;
  HWND toolTip_ = nullptr;
  bool toolTipsTried_ = false;
  HWND lastFocus_ = nullptr;
  HWND focusGoingTo_ = nullptr;  // during an edit's WM_KILLFOCUS
  // The label a mouse button went down on, and whether its click came.
  HWND pressed_ = nullptr;
  HWND releasing_ = nullptr;
  bool clickPending_ = false;
  std::map<FontKey, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
};

}  // namespace quellor::win32
