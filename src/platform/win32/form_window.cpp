#include "platform/win32/form_window.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "platform/win32/layout.h"
#include "platform/win32/system_library.h"
#include "platform/win32/units.h"

namespace quellor::win32 {

namespace {

constexpr UINT_PTR kFirstTimerId = 1;
// How much room the open list of a drop-down list gets, in face heights.
constexpr int kDropDownRows = 8;

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

bool IsLabel(const Control& control) {
  return control.Kind() == ControlKind::Label;
}

int CALLBACK NoteFamily(const LOGFONTA* /*font*/, const TEXTMETRICA* /*metrics*/, DWORD /*type*/,
                        LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Whether the system has a font family of this name.
bool Installed(const std::string& face) {
  static std::map<std::string, bool> known;
  auto it = known.find(face);
  if (it != known.end()) return it->second;
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(wanted.lfFaceName, face.c_str(), LF_FACESIZE);
  bool found = false;
  HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &wanted, &NoteFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  known[face] = found;
  return found;
}

bool HasText(const Control& control) {
  return control.Kind() != ControlKind::Shape && control.Kind() != ControlKind::ComboBox;
}

// Whether the control's messages pass through the form first: frames draw
// their captions in their own colours, labels with mouse handlers press and
// click as buttons do, and a box with a check on leaving notes where the
// focus goes. Every other control talks to its class alone.
bool NeedsOwnHandling(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::Frame:
      return true;
    case ControlKind::Label:
      return control.OnMouseDown || control.OnMouseUp || control.OnMouseMove || control.OnClick;
    case ControlKind::TextBox:
      return static_cast<bool>(control.OnLostFocus);
    default:
      return false;
  }
}

// The common controls library with its tool tips registered, at the first
// mouse move over a form with tips (the controls of the manifest's version 6
// may have loaded it already). False when it is missing.
bool LoadCommonControls() {
  static const bool loaded = [] {
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
  return loaded;
}

}  // namespace

FormWindow::FormWindow(Form& form) : form_(form) {}

FormWindow::~FormWindow() {
  Close();
  DropFonts();
  for (auto& [color, brush] : brushes_) DeleteObject(brush);
}

bool FormWindow::CreateNative() {
  const char* className = FormClassName(form_);
  RegisterClassOnce(className, 0);
  HWND hwnd = Create(className, FormWindowExStyle(form_), FormWindowStyle(form_),
                     form_.Caption.c_str(), CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr);
  if (hwnd == nullptr) return false;
  dpi_ = WindowDpi(hwnd);
  form_.SetHandle(reinterpret_cast<WindowHandle>(hwnd));
  return true;
}

void FormWindow::Close() {
  if (toolTip_ != nullptr) {
    DestroyWindow(toolTip_);
    toolTip_ = nullptr;
  }
  Destroy();
}

HWND FormWindow::ControlWindow(const Control& control) const {
  for (const NativeControl& native : controls_) {
    if (native.model == &control) return native.hwnd;
  }
  return nullptr;
}

FormWindow::NativeControl* FormWindow::Find(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  for (NativeControl& native : controls_) {
    if (native.hwnd == hwnd) return &native;
  }
  // The parts of a drop-down list tell their colours through the list's parent.
  for (NativeControl& native : controls_) {
    if (native.model->Kind() != ControlKind::ComboBox) continue;
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (GetComboBoxInfo(native.hwnd, &info) && (info.hwndList == hwnd || info.hwndItem == hwnd)) {
      return &native;
    }
  }
  return nullptr;
}

FormWindow::NativeControl* FormWindow::FindByModel(const Control* model) {
  for (NativeControl& native : controls_) {
    if (native.model == model) return &native;
  }
  return nullptr;
}

bool FormWindow::EffectivelyVisible(const Control& control) const {
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (!c->Visible()) return false;
  }
  return true;
}

bool FormWindow::EffectivelyEnabled(const Control& control) const {
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (!c->Enabled()) return false;
  }
  return true;
}

HFONT FormWindow::FontFor(const Font& font) {
  const FontKey key{font.face, font.points, font.bold};
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  HFONT created = CreateFontA(
      FontHeight(font.points, dpi_), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, ChooseFace(font.face, Installed).c_str());
  fonts_[key] = created;
  return created;
}

void FormWindow::DropFonts() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
  fonts_.clear();
}

HBRUSH FormWindow::BrushFor(COLORREF color) {
  auto found = brushes_.find(color);
  if (found != brushes_.end()) return found->second;
  HBRUSH brush = CreateSolidBrush(color);
  brushes_[color] = brush;
  return brush;
}

// ---- Building and layout ----

void FormWindow::Build() {
  HWND form = Hwnd();
  built_ = true;
  SetWindowTextA(form, form_.Caption.c_str());
  // Reserved in full: a subclassed control's window keeps its entry's address.
  controls_.reserve(form_.Controls().size());
  for (Control* control : form_.Controls()) {
    const NativeKind kind = KindOf(*control);
    HWND hwnd = CreateWindowExA(kind.exStyle, kind.className, "", kind.style, 0, 0, 0, 0, form,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control->Id())),
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd == nullptr) continue;
    NativeControl native;
    native.model = control;
    native.hwnd = hwnd;
    native.enabled = true;
    if (IsLabel(*control)) native.sunken = static_cast<const Label*>(control)->Sunken();
    controls_.push_back(std::move(native));
    NativeControl& added = controls_.back();
    const ControlKind what = control->Kind();
    if (what == ControlKind::Frame || what == ControlKind::CheckBox ||
        what == ControlKind::OptionButton ||
        (what == ControlKind::ComboBox && control->HasBackColor)) {
      // The classic look, which draws in the control's own colours.
      SetSystemWindowTheme(hwnd, L"", L"");
    }
    if (NeedsOwnHandling(*control)) {
      added.owner = this;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&added));
      added.original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
          hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FormWindow::ControlProcedure)));
    }
  }
  // Containers behind what they hold, later controls above earlier ones.
  HWND after = HWND_TOP;
  for (Control* control : StackingOrder(form_)) {
    HWND hwnd = ControlWindow(*control);
    if (hwnd == nullptr) continue;
    SetWindowPos(hwnd, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = hwnd;
  }
  Layout();
  PlaceWindow();
}

void FormWindow::CreateToolTips() {
  toolTipsTried_ = true;
  const bool wanted = std::any_of(controls_.begin(), controls_.end(),
                                  [](const NativeControl& n) { return !n.model->ToolTip.empty(); });
  if (!wanted || !LoadCommonControls()) return;
  HWND form = Hwnd();
  toolTip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                             WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, form, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
  if (toolTip_ == nullptr) return;
  for (const NativeControl& native : controls_) {
    if (native.model->ToolTip.empty()) continue;
    // The loop passes the mouse messages on (RelayMouse), so that the
    // controls need no subclass of the tool tips' own.
    TOOLINFOA tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = form;
    tool.uId = reinterpret_cast<UINT_PTR>(native.hwnd);
    tool.lpszText = const_cast<char*>(native.model->ToolTip.c_str());
    SendMessageA(toolTip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(4800, dpi_));
}

void FormWindow::RelayMouse(const MSG& message) {
  if (!built_) return;
  if (!toolTipsTried_ && message.message == WM_MOUSEMOVE) CreateToolTips();
  if (toolTip_ != nullptr) {
    SendMessageA(toolTip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
  }
}

void FormWindow::SizeWindow(int x, int y, UINT flags) {
  HWND form = Hwnd();
  RECT outer{0, 0, TwipsToPixels(form_.ClientWidth, dpi_), TwipsToPixels(form_.ClientHeight, dpi_)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(form, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(form, GWL_EXSTYLE));
  using AdjustForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
  if (adjustForDpi != nullptr) {
    adjustForDpi(&outer, style, FALSE, exStyle, dpi_);
  } else {
    AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  }
  SetWindowPos(form, nullptr, x, y, outer.right - outer.left, outer.bottom - outer.top,
               flags | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::Layout() {
  SizeWindow(0, 0, SWP_NOMOVE);
  LayoutControls();
}

void FormWindow::LayoutControls() {
  for (NativeControl& native : controls_) {
    const Control& control = *native.model;
    RECT r = TwipsToPixelRect(PositionInForm(control), dpi_);
    int height = r.bottom - r.top;
    if (control.Kind() == ControlKind::ComboBox) height *= kDropDownRows;
    SetWindowPos(native.hwnd, nullptr, r.left, r.top, r.right - r.left, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (control.Kind() != ControlKind::Shape) {
      SendMessageA(native.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(control.TextFont)),
                   TRUE);
    }
  }
  if (toolTip_ != nullptr) {
    SendMessageA(toolTip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(4800, dpi_));
  }
}

void FormWindow::PlaceWindow() {
  const unsigned screenDpi = SystemDpi();
  int x = TwipsToPixels(form_.Left(), screenDpi);
  int y = TwipsToPixels(form_.Top(), screenDpi);
  if (form_.Left() == 0 && form_.Top() == 0) {
    // Never placed by the program: centred on the main screen's work area.
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT outer{};
    GetWindowRect(Hwnd(), &outer);
    x = work.left + (work.right - work.left - (outer.right - outer.left)) / 2;
    y = work.top + (work.bottom - work.top - (outer.bottom - outer.top)) / 2;
  }
  SetWindowPos(Hwnd(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  placed_ = true;
  ReportPlacement();
}

void FormWindow::ReportPlacement() {
  HWND form = Hwnd();
  if (form == nullptr || !placed_ || IsIconic(form)) return;
  RECT outer{};
  if (!GetWindowRect(form, &outer)) return;
  const Rect twips = PixelRectToTwips(outer, SystemDpi());
  placedLeft_ = twips.left;
  placedTop_ = twips.top;
  form_.MovedByUser(twips.left, twips.top);
  form_.SetOuterSize(twips.width, twips.height);
}

// ---- Bringing the windows in line with the models ----

bool FormWindow::Sync() {
  if (Hwnd() == nullptr) return false;
  bool changed = !built_;
  if (!built_) Build();
  syncing_ = true;
  for (NativeControl& native : controls_) {
    if (native.revision == native.model->Revision()) continue;
    changed = true;
    const bool container = native.model->Kind() == ControlKind::Frame;
    Apply(native);
    if (container) {
      // What a frame holds shows and works only as the frame does.
      for (NativeControl& inner : controls_) {
        for (const Control* c = inner.model->Container; c != nullptr; c = c->Container) {
          if (c == native.model) Apply(inner);
        }
      }
    }
  }
  syncing_ = false;
  SyncTimers();
  if (form_.Revision() != formRevision_) {
    changed = true;
    ApplyForm();
  }
  return changed;
}

void FormWindow::Apply(NativeControl& native) {
  Control& control = *native.model;
  HWND hwnd = native.hwnd;
  native.revision = control.Revision();
  if (HasText(control) && control.Caption() != native.caption) {
    native.caption = control.Caption();
    SetWindowTextA(hwnd, native.caption.c_str());
  }
  if (control.ForeColor() != native.foreColor) {
    native.foreColor = control.ForeColor();
    InvalidateRect(hwnd, nullptr, TRUE);
  }
  switch (control.Kind()) {
    case ControlKind::Label: {
      const auto& label = static_cast<const Label&>(control);
      if (label.Sunken() != native.sunken) {
        native.sunken = label.Sunken();
        DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_STYLE));
        DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd, GWL_EXSTYLE));
        LabelBorderStyles(label, style, exStyle);
        SetWindowLongPtrA(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style));
        SetWindowLongPtrA(hwnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle));
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        InvalidateRect(hwnd, nullptr, TRUE);
      }
      break;
    }
    case ControlKind::TextBox: {
      const auto& box = static_cast<const TextBox&>(control);
      SendMessageA(hwnd, EM_SETSEL, static_cast<WPARAM>(box.SelStart()),
                   static_cast<LPARAM>(box.SelStart() + box.SelLength()));
      break;
    }
    case ControlKind::CheckBox: {
      const int value = static_cast<const CheckBox&>(control).Value();
      if (value != native.value) {
        native.value = value;
        const WPARAM state = value == 0   ? BST_UNCHECKED
                             : value == 2 ? BST_INDETERMINATE
                                          : BST_CHECKED;
        SendMessageA(hwnd, BM_SETCHECK, state, 0);
      }
      break;
    }
    case ControlKind::OptionButton: {
      const int value = static_cast<const OptionButton&>(control).Value() ? 1 : 0;
      if (value != native.value) {
        native.value = value;
        SendMessageA(hwnd, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      break;
    }
    case ControlKind::ComboBox: {
      const auto& combo = static_cast<const ComboBox&>(control);
      if (combo.Items() != native.items) {
        native.items = combo.Items();
        SendMessageA(hwnd, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : native.items) {
          SendMessageA(hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
      }
      if (SendMessageA(hwnd, CB_GETCURSEL, 0, 0) != combo.ListIndex()) {
        SendMessageA(hwnd, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
      }
      break;
    }
    case ControlKind::Frame:
    case ControlKind::Shape:
      break;
  }
  const bool enabled = EffectivelyEnabled(control);
  if (enabled != native.enabled) {
    native.enabled = enabled;
    EnableWindow(hwnd, enabled ? TRUE : FALSE);
  }
  const bool visible = EffectivelyVisible(control);
  if (visible != native.visible) {
    native.visible = visible;
    ShowWindow(hwnd, visible ? SW_SHOWNA : SW_HIDE);
  }
}

void FormWindow::ApplyForm() {
  HWND form = Hwnd();
  formRevision_ = form_.Revision();
  if (form_.Left() != placedLeft_ || form_.Top() != placedTop_) {
    const unsigned screenDpi = SystemDpi();
    SetWindowPos(form, nullptr, TwipsToPixels(form_.Left(), screenDpi),
                 TwipsToPixels(form_.Top(), screenDpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ReportPlacement();
  }
  const bool enabled = form_.Enabled();
  if ((IsWindowEnabled(form) != FALSE) != enabled) EnableWindow(form, enabled ? TRUE : FALSE);
  const bool visible = form_.Visible();
  if ((IsWindowVisible(form) != FALSE) != visible) {
    ShowWindow(form, visible ? SW_SHOW : SW_HIDE);
    if (visible && !shownOnce_) {
      shownOnce_ = true;
      if (GetActiveWindow() == form) SetFocusInside();
    }
  }
}

void FormWindow::SyncTimers() {
  const std::vector<Timer*>& timers = form_.Timers();
  timersRunning_.resize(timers.size(), false);
  for (std::size_t i = 0; i < timers.size(); ++i) {
    const bool wanted = timers[i]->Enabled() && timers[i]->Interval() > 0;
    if (wanted == timersRunning_[i]) continue;
    timersRunning_[i] = wanted;
    if (wanted) {
      SetTimer(Hwnd(), kFirstTimerId + i, timers[i]->Interval(), nullptr);
    } else {
      KillTimer(Hwnd(), kFirstTimerId + i);
    }
  }
}

// ---- Focus ----

HWND FormWindow::FirstFocus() const {
  const NativeControl* best = nullptr;
  for (const NativeControl& native : controls_) {
    const Control& c = *native.model;
    if (!c.TabStop || !native.visible || !native.enabled) continue;
    if (c.Kind() == ControlKind::OptionButton) {
      // Into a group of option buttons at its selected one.
      const auto& option = static_cast<const OptionButton&>(c);
      if (!option.Value() && option.Group != nullptr &&
          std::any_of(option.Group->begin(), option.Group->end(),
                      [](const OptionButton* o) { return o->Value(); })) {
        continue;
      }
    }
    if (best == nullptr || c.TabIndex < best->model->TabIndex) best = &native;
  }
  return best != nullptr ? best->hwnd : nullptr;
}

void FormWindow::MoveFocus(bool backwards) {
  std::vector<HWND> stops;
  HWND focus = GetFocus();
  for (Control* control : TabOrder(form_)) {
    const NativeControl* native = FindByModel(control);
    if (native == nullptr || !native->visible || !native->enabled) continue;
    if (control->Kind() == ControlKind::OptionButton && native->hwnd != focus) {
      // A group of option buttons is one stop, at its selected button.
      const auto& option = static_cast<const OptionButton&>(*control);
      if (!option.Value() && option.Group != nullptr &&
          std::any_of(option.Group->begin(), option.Group->end(),
                      [](const OptionButton* o) { return o->Value(); })) {
        continue;
      }
    }
    stops.push_back(native->hwnd);
  }
  if (stops.empty()) return;
  auto at = std::find(stops.begin(), stops.end(), focus);
  std::size_t next = 0;
  if (at == stops.end()) {
    next = backwards ? stops.size() - 1 : 0;
  } else {
    const auto index = static_cast<std::size_t>(at - stops.begin());
    next = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
  }
  SetFocus(stops[next]);
}

bool FormWindow::MoveInGroup(bool backwards) {
  NativeControl* focused = Find(GetFocus());
  if (focused == nullptr || focused->model->Kind() != ControlKind::OptionButton) return false;
  const auto& option = static_cast<const OptionButton&>(*focused->model);
  if (option.Group == nullptr) return false;
  // The usable buttons of the group, in tab order.
  std::vector<NativeControl*> buttons;
  for (Control* control : TabOrder(form_)) {
    NativeControl* native = FindByModel(control);
    if (native == nullptr || !native->visible || !native->enabled) continue;
    if (control->Kind() != ControlKind::OptionButton) continue;
    const auto* member = static_cast<const OptionButton*>(control);
    if (std::find(option.Group->begin(), option.Group->end(), member) != option.Group->end()) {
      buttons.push_back(native);
    }
  }
  auto at = std::find(buttons.begin(), buttons.end(), focused);
  if (buttons.size() < 2 || at == buttons.end()) return true;
  const auto index = static_cast<std::size_t>(at - buttons.begin());
  NativeControl* next = buttons[backwards ? (index + buttons.size() - 1) % buttons.size()
                                          : (index + 1) % buttons.size()];
  SetFocus(next->hwnd);
  // The arrow keys select as they go, as a click would.
  static_cast<OptionButton*>(next->model)->Select();
  return true;
}

bool FormWindow::SetFocusInside() {
  HWND target = lastFocus_;
  if (target == nullptr || !IsWindow(target) || !IsChild(Hwnd(), target) ||
      !IsWindowVisible(target) || !IsWindowEnabled(target)) {
    target = FirstFocus();
  }
  if (target == nullptr) return false;
  SetFocus(target);
  return true;
}

std::optional<LRESULT> FormWindow::OnActivate(bool active) {
  if (!active) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Hwnd(), focus)) lastFocus_ = focus;
    return 0;
  }
  // With nothing to take the focus, the form keeps it (and its keys).
  if (!built_ || !SetFocusInside()) SetFocus(Hwnd());
  return 0;
}

std::optional<LRESULT> FormWindow::OnSetFocus() {
  if (built_) SetFocusInside();
  return 0;
}

// ---- Events ----

void FormWindow::RunClick(Control& control) {
  if (control.OnClick) control.OnClick();
}

MouseArgs FormWindow::ArgsAt(int button, WPARAM keys, LPARAM position) const {
  MouseArgs args;
  args.button = button;
  args.shift = ShiftState(keys, GetKeyState(VK_MENU) < 0);
  args.x = PixelsToTwips(GET_X_LPARAM(position), dpi_);
  args.y = PixelsToTwips(GET_Y_LPARAM(position), dpi_);
  return args;
}

std::optional<LRESULT> FormWindow::OnCommand(int /*id*/, int code, HWND control) {
  NativeControl* native = Find(control);
  if (native == nullptr) return std::nullopt;
  Control& model = *native->model;
  switch (model.Kind()) {
    case ControlKind::Label:
      if (syncing_) return 0;
      if (code == STN_CLICKED) {
        // A click made with the mouse runs after the button's release.
        if (control == pressed_ || control == releasing_) {
          clickPending_ = true;
        } else {
          RunClick(model);
        }
      } else if (code == STN_DBLCLK) {
        if (model.OnDblClick) model.OnDblClick();
      }
      return 0;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED && !syncing_) {
        auto& check = static_cast<CheckBox&>(model);
        check.SetValue(check.Value() == 0 ? 1 : 0);
      }
      return 0;
    case ControlKind::OptionButton:
      if (code == BN_CLICKED && !syncing_) static_cast<OptionButton&>(model).Select();
      return 0;
    case ControlKind::ComboBox:
      if (code == CBN_SELCHANGE && !syncing_) {
        auto& combo = static_cast<ComboBox&>(model);
        const auto index = static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0));
        combo.SetListIndex(index);
        if (combo.OnClick) combo.OnClick();
      }
      return 0;
    case ControlKind::TextBox:
      if (code == EN_CHANGE && !syncing_) {
        auto& box = static_cast<TextBox&>(model);
        native->caption = WindowText(control);
        box.TextTypedByUser(native->caption);
        // The window already shows it.
        native->revision = box.Revision();
      } else if (code == EN_SETFOCUS) {
        if (model.OnGotFocus) model.OnGotFocus();
      } else if (code == EN_KILLFOCUS) {
        HWND next = focusGoingTo_ != nullptr ? focusGoingTo_ : GetFocus();
        if (next != nullptr && next != control && GetParent(next) == Hwnd() && model.OnLostFocus) {
          model.OnLostFocus();
        }
      }
      return 0;
    case ControlKind::Frame:
    case ControlKind::Shape:
      return 0;
  }
  return std::nullopt;
}

LRESULT CALLBACK FormWindow::ControlProcedure(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
  auto* native = reinterpret_cast<NativeControl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (native == nullptr || native->original == nullptr) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }
  if (message == WM_NCDESTROY) {
    // The class's own procedure again, for the last message.
    const WNDPROC original = native->original;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    native->original = nullptr;
    native->owner = nullptr;
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
  }
  return native->owner->OnControlMessage(*native, message, wParam, lParam);
}

LRESULT FormWindow::Forward(const NativeControl& native, UINT message, WPARAM wParam,
                            LPARAM lParam) {
  // Nothing once a handler has destroyed the window.
  if (native.original == nullptr) return 0;
  return CallWindowProcA(native.original, native.hwnd, message, wParam, lParam);
}

LRESULT FormWindow::OnControlMessage(NativeControl& native, UINT message, WPARAM wParam,
                                     LPARAM lParam) {
  HWND hwnd = native.hwnd;
  Control& model = *native.model;
  if (model.Kind() == ControlKind::Frame) {
    switch (message) {
      case WM_PAINT:
        PaintFrame(native);
        return 0;
      case WM_ERASEBKGND:
        return 1;
      case WM_SETTEXT:
      case WM_ENABLE:
      case WM_UPDATEUISTATE: {
        // The control may draw itself here; the caption is drawn again in
        // the frame's own colours.
        const LRESULT result = Forward(native, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
      }
      default:
        return Forward(native, message, wParam, lParam);
    }
  }
  if (!IsLabel(model)) {
    if (message == WM_KILLFOCUS) {
      focusGoingTo_ = reinterpret_cast<HWND>(wParam);
      const LRESULT result = Forward(native, message, wParam, lParam);
      focusGoingTo_ = nullptr;
      return result;
    }
    return Forward(native, message, wParam, lParam);
  }
  int button = 0;
  bool down = false;
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      button = kLeftButton;
      down = true;
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      button = kRightButton;
      down = true;
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      button = kMiddleButton;
      down = true;
      break;
    case WM_LBUTTONUP:
      button = kLeftButton;
      break;
    case WM_RBUTTONUP:
      button = kRightButton;
      break;
    case WM_MBUTTONUP:
      button = kMiddleButton;
      break;
    case WM_MOUSEMOVE:
      if (model.OnMouseMove) model.OnMouseMove(ArgsAt(HeldButtons(wParam), wParam, lParam));
      return Forward(native, message, wParam, lParam);
    case WM_CAPTURECHANGED:
      if (pressed_ == hwnd) pressed_ = nullptr;
      return Forward(native, message, wParam, lParam);
    default:
      return Forward(native, message, wParam, lParam);
  }
  const MouseArgs args = ArgsAt(button, wParam, lParam);
  if (down) {
    // The label keeps the mouse until the release, wherever that happens.
    pressed_ = hwnd;
    clickPending_ = false;
    SetCapture(hwnd);
    if (model.OnMouseDown) model.OnMouseDown(args);
    if (!IsWindow(hwnd)) return 0;
    return Forward(native, message, wParam, lParam);
  }
  const bool wasPressed = pressed_ == hwnd;
  pressed_ = nullptr;
  if (GetCapture() == hwnd) ReleaseCapture();
  if (model.OnMouseUp) model.OnMouseUp(args);
  if (!IsWindow(hwnd)) return 0;
  releasing_ = hwnd;
  const LRESULT result = Forward(native, message, wParam, lParam);
  releasing_ = nullptr;
  RECT client{};
  GetClientRect(hwnd, &client);
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const bool inside = PtInRect(&client, at) != FALSE;
  if (button == kLeftButton && wasPressed && clickPending_ && inside) {
    clickPending_ = false;
    RunClick(model);
  }
  clickPending_ = false;
  return result;
}

void FormWindow::PaintFrame(NativeControl& native) {
  // The system's frame draws its caption in the system's text colour; this
  // one draws it in the frame's.
  const Control& frame = *native.model;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(native.hwnd, &paint);
  RECT client{};
  GetClientRect(native.hwnd, &client);
  const COLORREF back = NativeColor(BackColorOf(frame, form_));
  FillRect(dc, &client, BrushFor(back));
  HGDIOBJ oldFont = SelectObject(dc, FontFor(frame.TextFont));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  RECT edge = client;
  edge.top += metrics.tmHeight / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  if (!frame.Caption().empty()) {
    SIZE extent{};
    GetTextExtentPoint32A(dc, frame.Caption().c_str(), static_cast<int>(frame.Caption().size()),
                          &extent);
    const int indent = std::max(1, MulDiv(6, static_cast<int>(dpi_), 96));
    RECT text{client.left + indent, client.top,
              std::min(client.right - indent, client.left + 2 * indent + extent.cx),
              client.top + metrics.tmHeight};
    FillRect(dc, &text, BrushFor(back));
    text.left += indent / 2;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, EffectivelyEnabled(frame) ? NativeColor(frame.ForeColor())
                                               : GetSysColor(COLOR_GRAYTEXT));
    DrawTextA(dc, frame.Caption().c_str(), static_cast<int>(frame.Caption().size()), &text,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
  EndPaint(native.hwnd, &paint);
}

std::optional<LRESULT> FormWindow::OnTimer(UINT_PTR id) {
  const std::vector<Timer*>& timers = form_.Timers();
  if (id < kFirstTimerId || id - kFirstTimerId >= timers.size()) return std::nullopt;
  Timer& timer = *timers[id - kFirstTimerId];
  if (timer.Enabled() && timer.OnTimer) timer.OnTimer();
  return 0;
}

std::optional<LRESULT> FormWindow::OnMouseMove(WPARAM keys, int x, int y) {
  MouseArgs args;
  args.button = HeldButtons(keys);
  args.shift = ShiftState(keys, GetKeyState(VK_MENU) < 0);
  args.x = PixelsToTwips(x, dpi_);
  args.y = PixelsToTwips(y, dpi_);
  if (Control* frame = FrameAt(form_, args.x, args.y)) {
    // The frame receives the moves over it, relative to itself.
    const Rect at = PositionInForm(*frame);
    args.x -= at.left;
    args.y -= at.top;
    if (frame->OnMouseMove) frame->OnMouseMove(args);
    return 0;
  }
  if (form_.OnMouseMove) form_.OnMouseMove(args);
  return 0;
}

std::optional<LRESULT> FormWindow::OnClose() {
  if (form_.OnCloseRequest) {
    form_.OnCloseRequest();
  } else {
    form_.Unload();
  }
  return 0;
}

std::optional<LRESULT> FormWindow::OnEndSession(bool ending) {
  if (ending) OnClose();
  return 0;
}

std::optional<LRESULT> FormWindow::OnWindowPosChanged() {
  ReportPlacement();
  return 0;
}

std::optional<LRESULT> FormWindow::OnDpiChanged(unsigned dpi, const RECT& suggested) {
  dpi_ = dpi;
  // The controls keep their fonts until they have the new ones.
  std::map<FontKey, HFONT> oldFonts;
  oldFonts.swap(fonts_);
  SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  if (built_) LayoutControls();
  for (auto& [key, font] : oldFonts) DeleteObject(font);
  ReportPlacement();
  return 0;
}

std::optional<LRESULT> FormWindow::OnEraseBackground(HDC dc) {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  FillRect(dc, &client, BrushFor(NativeColor(form_.BackColor)));
  return 1;
}

std::optional<LRESULT> FormWindow::OnControlColor(UINT /*message*/, HDC dc, HWND control) {
  NativeControl* native = Find(control);
  if (native == nullptr) return std::nullopt;
  const Control& model = *native->model;
  SetTextColor(dc, NativeColor(model.ForeColor()));
  if (UsesSystemBackground(model)) {
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
  }
  const COLORREF back = NativeColor(BackColorOf(model, form_));
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(BrushFor(back));
}

}  // namespace quellor::win32
