// The native window of one form: made from the model, its controls brought
// in line with their models after every event, and the user's actions on it
// handed to the core. Creation, layout and sync are in form_window.cpp; focus
// and keys in form_focus.cpp; the native events in form_events.cpp; painting
// and colours in form_paint.cpp; the tool tips in tool_tips.h.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "common/controls.h"
#include "common/form_input.h"
#include "win32/front_end/control_host.h"
#include "win32/front_end/gdi_cache.h"
#include "win32/front_end/native_control.h"
#include "win32/front_end/tool_tips.h"
#include "win32/front_end/window.h"
#include "win32/units.h"

namespace quellor::win32 {

class FormWindow : public Window, public ControlHost {
 public:
  explicit FormWindow(Form& form);
  ~FormWindow() override;

  Form& Model() const override { return form_; }
  // Creates the hidden top-level window; the controls follow at the first
  // Sync, once the form's design is in place. False when the system refused
  // the class or the window.
  bool CreateNative();
  void Close();
  // Whether the models changed since the last Sync.
  bool OutOfDate() const;
  // Brings the native windows in line with the models: everything at the
  // first call, then only what changed. True when anything was applied.
  bool Sync();
  // A navigation key for this form; true when the core used it up.
  bool NavigationKeyDown(NavigationKey key, bool shift, bool controlOrAlt);
  // A mouse message from the loop, for a window of this form: the tool tips
  // are made at the first move and shown from what they are passed.
  void RelayMouse(const MSG& message);

  // The native window of a control, or null; the control of a native window
  // of this form, or null.
  HWND ControlWindow(const Control& control) const;
  Control* ControlOf(HWND hwnd) const override;
  HWND ToolTipWindow() const { return toolTips_.Hwnd(); }

  // For the controls.
  unsigned Dpi() const override { return dpi_; }
  GdiCache& Gdi() override { return gdi_; }
  LabelPresses& Presses() override { return presses_; }
  bool HighContrastOn() const override { return highContrast_; }
  bool Syncing() const override { return syncing_; }

 protected:
  std::optional<LRESULT> OnCommand(int id, int code, HWND control) override;
  std::optional<LRESULT> OnTimer(UINT_PTR id) override;
  std::optional<LRESULT> OnMouseMove(WPARAM keys, int x, int y) override;
  std::optional<LRESULT> OnClose() override;
  std::optional<LRESULT> OnEndSession(bool ending) override;
  std::optional<LRESULT> OnWindowPosChanged() override;
  std::optional<LRESULT> OnDpiChanged() override;
  std::optional<LRESULT> OnEraseBackground(HDC dc) override;
  std::optional<LRESULT> OnControlColor(UINT message, HDC dc, HWND control) override;
  std::optional<LRESULT> OnActivate(bool active) override;
  std::optional<LRESULT> OnSetFocus() override;
  std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // The native timer of the form's timer i is kFirstTimerId + i.
  static constexpr UINT_PTR kFirstTimerId = 1;

  void Build();
  void Layout();
  void ReportPlacement();
  void ApplyForm();
  void SyncTimers();
  bool SetFocusInside();
  NativeControl* Find(HWND hwnd) const;

  Form& form_;
  unsigned dpi_ = 96;
  bool built_ = false;
  bool syncing_ = false;
  std::uint32_t formRevision_ = 0;
  // Where the window was last put or seen, in twips; nothing before the
  // program's first placement, which decides where it opens.
  bool positioned_ = false;
  float positionLeft_ = 0, positionTop_ = 0;
  bool shownOnce_ = false;
  std::vector<std::unique_ptr<NativeControl>> controls_;
  std::vector<bool> timersRunning_;
  std::vector<ULONGLONG> lastTicks_;  // when each timer started or last ticked
  ToolTips toolTips_;
  LabelPresses presses_;
  GdiCache gdi_;
  bool highContrast_ = HighContrast();
};

}  // namespace quellor::win32
