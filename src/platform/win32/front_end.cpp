#include "platform/win32/front_end.h"

#include <algorithm>

namespace quellor::win32 {

void FrontEnd::Attach(Form& form) {
  form.Host = this;
  if (std::find(forms_.begin(), forms_.end(), &form) == forms_.end()) forms_.push_back(&form);
}

FormWindow* FrontEnd::WindowOf(const Form& form) const {
  for (const auto& window : windows_) {
    if (&window->Model() == &form) return window.get();
  }
  return nullptr;
}

FormWindow* FrontEnd::FormWindowOf(HWND hwnd) const {
  HWND root = hwnd != nullptr ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  if (root == nullptr) return nullptr;
  for (const auto& window : windows_) {
    if (window->Hwnd() == root) return window.get();
  }
  return nullptr;
}

void FrontEnd::CreateWindowFor(Form& form) {
  if (WindowOf(form) != nullptr) return;
  auto window = std::make_unique<FormWindow>(form);
  if (!window->CreateNative()) return;
  windows_.push_back(std::move(window));
}

void FrontEnd::DestroyWindowFor(Form& form) {
  auto found = std::find_if(windows_.begin(), windows_.end(),
                            [&](const auto& window) { return &window->Model() == &form; });
  if (found == windows_.end()) return;
  std::unique_ptr<FormWindow> window = std::move(*found);
  windows_.erase(found);
  window->Close();
  retired_.push_back(std::move(window));
}

void FrontEnd::SyncAll() {
  // Showing a window can move the focus and so run a handler, which may
  // change models (or load and unload forms: hence by index) again; a few
  // passes settle that. An idle pass applies nothing.
  constexpr int kMaxPasses = 4;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    bool changed = false;
    for (std::size_t i = 0; i < windows_.size(); ++i) changed = windows_[i]->Sync() || changed;
    if (!changed) break;
  }
  if (Window::HandlersRunning() == 0) retired_.clear();
  if (running_ && !quitting_ &&
      std::none_of(forms_.begin(), forms_.end(), [](const Form* f) { return f->Loaded(); })) {
    quitting_ = true;
    PostQuitMessage(0);
  }
}

bool FrontEnd::HandleMessage(MSG& message) {
  if (message.message == WM_QUIT) return false;
  bool handled = false;
  if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
    // The tool tips see the mouse through the loop.
    if (FormWindow* window = FormWindowOf(message.hwnd)) window->RelayMouse(message);
  }
  if (message.message == WM_KEYDOWN) {
    FormWindow* window = FormWindowOf(message.hwnd);
    const bool plain = GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
    if (window != nullptr && plain) {
      switch (message.wParam) {
        case VK_TAB:
          // Tab and Shift+Tab between the controls of a form, in its tab order.
          window->MoveFocus(GetKeyState(VK_SHIFT) < 0);
          handled = true;
          break;
        case VK_UP:
        case VK_LEFT:
          handled = window->MoveInGroup(true);
          break;
        case VK_DOWN:
        case VK_RIGHT:
          handled = window->MoveInGroup(false);
          break;
        default:
          break;
      }
    }
  }
  if (!handled) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  SyncAll();
  return true;
}

void FrontEnd::Run() {
  running_ = true;
  SyncAll();
  for (;;) {
    MSG message{};
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0 || !HandleMessage(message)) {
      ExitProcess(got < 0 ? 1 : static_cast<UINT>(message.wParam));
    }
  }
}

}  // namespace quellor::win32
