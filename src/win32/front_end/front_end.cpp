#include "win32/front_end/front_end.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace quellor::win32 {

namespace {

constexpr const char* kSyncWindowClass = "QuellorSync";
constexpr UINT kSyncMessage = WM_APP + 1;

}  // namespace

FrontEnd::SyncWindow::SyncWindow(FrontEnd& frontEnd) : frontEnd_(frontEnd) {
  // Without it, Post does nothing and the loop's own syncs remain.
  if (RegisterClassOnce(kSyncWindowClass, 0)) {
    Create(kSyncWindowClass, 0, 0, "", 0, 0, 0, 0, HWND_MESSAGE);
  }
}

void FrontEnd::SyncWindow::Post() {
  if (posted_ || Hwnd() == nullptr) return;
  posted_ = PostMessageA(Hwnd(), kSyncMessage, 0, 0) != FALSE;
}

std::optional<LRESULT> FrontEnd::SyncWindow::OnMessage(UINT message, WPARAM /*wParam*/,
                                                       LPARAM /*lParam*/) {
  if (message != kSyncMessage) return std::nullopt;
  posted_ = false;
  frontEnd_.SyncAll();
  return 0;
}

FrontEnd::FrontEnd() : syncWindow_(std::make_unique<SyncWindow>(*this)) {
  Window::SetAfterHandlers(&FrontEnd::AfterHandlers, this);
}

FrontEnd::~FrontEnd() {
  Window::SetAfterHandlers(nullptr, nullptr);
}

void FrontEnd::AfterHandlers(void* self) {
  auto& frontEnd = *static_cast<FrontEnd*>(self);
  // The loop syncs after its own messages; anything else that changed the
  // models gets a sync of its own, through the loop or a system loop.
  if (frontEnd.dispatching_ == 0 && frontEnd.OutOfDate()) frontEnd.syncWindow_->Post();
}

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
  if (GetActiveWindow() == window->Hwnd()) closingActive_ = &form;
  windows_.erase(found);
  window->Close();
  retired_.push_back(std::move(window));
}

bool FrontEnd::OutOfDate() const {
  if (Finished()) return true;
  return std::any_of(windows_.begin(), windows_.end(),
                     [](const auto& window) { return window->OutOfDate(); });
}

void FrontEnd::SyncAll() {
  // Showing a window can move the focus and so run a handler, which may
  // change models (or load and unload forms: hence by index) again; a few
  // passes settle that. An idle pass applies nothing.
  constexpr int kMaxPasses = 4;
  ++dispatching_;
  // The active window that is about to hide.
  if (const FormWindow* active = FormWindowOf(GetActiveWindow())) {
    if (!active->Model().Visible()) closingActive_ = &active->Model();
  }
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    bool changed = false;
    for (std::size_t i = 0; i < windows_.size(); ++i) changed = windows_[i]->Sync() || changed;
    if (!changed) break;
  }
  --dispatching_;
  ActivateAfterClosing();
  if (Window::HandlersRunning() == 0) retired_.clear();
  if (Finished()) {
    quitting_ = true;
    PostQuitMessage(0);
  }
}

// The focus goes to the window the core names, not wherever the system puts
// it once the active window has gone.
void FrontEnd::ActivateAfterClosing() {
  const Form* closing = std::exchange(closingActive_, nullptr);
  if (closing == nullptr) return;
  const Form* next = FormAfterClosing(forms_, *closing);
  const FormWindow* window = next != nullptr ? WindowOf(*next) : nullptr;
  if (window == nullptr || !IsWindowVisible(window->Hwnd())) return;
  SetForegroundWindow(window->Hwnd());
  SetActiveWindow(window->Hwnd());
}

bool FrontEnd::HandleMessage(MSG& message) {
  if (message.message == WM_QUIT) return false;
  bool handled = false;
  if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) {
    // The tool tips see the mouse through the loop.
    if (FormWindow* window = FormWindowOf(message.hwnd)) window->RelayMouse(message);
  }
  if (message.message == WM_KEYDOWN) {
    constexpr std::pair<WPARAM, NavigationKey> kKeys[] = {{VK_TAB, NavigationKey::Tab},
                                                          {VK_UP, NavigationKey::Up},
                                                          {VK_LEFT, NavigationKey::Left},
                                                          {VK_DOWN, NavigationKey::Down},
                                                          {VK_RIGHT, NavigationKey::Right}};
    std::optional<NavigationKey> key;
    for (const auto& [virtualKey, navigation] : kKeys) {
      if (message.wParam == virtualKey) key = navigation;
    }
    FormWindow* window = FormWindowOf(message.hwnd);
    if (key && window != nullptr) {
      ++dispatching_;
      handled = window->NavigationKeyDown(*key, GetKeyState(VK_SHIFT) < 0,
                                          GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0);
      --dispatching_;
    }
  }
  if (!handled) {
    ++dispatching_;
    TranslateMessage(&message);
    DispatchMessageA(&message);
    --dispatching_;
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
