#include "win32/front_end/tool_tips.h"

#include <commctrl.h>

#include <algorithm>

#include "win32/units.h"

namespace quellor::win32 {

namespace {

constexpr int kToolTipWidthTwips = 4800;

// The common controls library with its tool tips registered, at the first
// mouse move over a form with tips (the controls of the manifest's version 6
// may have loaded it already). False when it is missing.
bool LoadCommonControls() {
  static const bool kLoaded = [] {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (library == nullptr) return false;
    using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = reinterpret_cast<Init>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "InitCommonControlsEx")));
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    return init(&controls) != FALSE;
  }();
  return kLoaded;
}

}  // namespace

void ToolTips::CreateOnce(HWND form, const std::vector<std::unique_ptr<NativeControl>>& controls,
                          unsigned dpi) {
  if (tried_) return;
  tried_ = true;
  const bool wanted = std::any_of(controls.begin(), controls.end(),
                                  [](const auto& n) { return !n->Model().ToolTip.empty(); });
  if (!wanted || !LoadCommonControls()) return;
  window_.reset(CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                                WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
  if (window_.get() == nullptr) return;
  for (const auto& native : controls) {
    if (native->Model().ToolTip.empty()) continue;
    // The loop passes the mouse messages on (Relay), so that the controls
    // need no subclass of the tool tips' own.
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(native->Hwnd());
    tool.lpszText = const_cast<char*>(native->Model().ToolTip.c_str());
    SendMessageA(window_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  Layout(dpi);
}

void ToolTips::Layout(unsigned dpi) {
  if (window_.get() == nullptr) return;
  SendMessageA(window_.get(), TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(kToolTipWidthTwips, dpi));
}

void ToolTips::Relay(const MSG& message) {
  if (window_.get() == nullptr) return;
  SendMessageA(window_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

}  // namespace quellor::win32
