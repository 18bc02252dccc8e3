// Models of the windows and their controls.
//
// Each window of the program is a Form that owns these models; its behaviour
// reads and writes them and nothing else. A native front end mirrors them on
// screen and feeds the user's actions back through the event hooks, so all
// behaviour can run and be tested without a window system.
//
// Every setter that changes what is shown bumps `Revision()`, so the front end
// redraws only the controls that changed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quellor {

class Form;

using Color = std::uint32_t;  // 0x00BBGGRR
constexpr Color Rgb(unsigned r, unsigned g, unsigned b) {
  return r | (g << 8) | (b << 16);
}
// The system's own colours, which the user chooses (and high contrast sets):
// values no design colour has, resolved by the front end when it draws.
enum class SystemColor : std::uint32_t {
  Window,
  WindowText,
  ButtonFace,
  ButtonText,
  GrayText,
  Highlight,
  HighlightText
};
constexpr std::uint32_t kSystemColorFlag = 0xFF000000u;
constexpr Color System(SystemColor color) {
  return kSystemColorFlag | static_cast<std::uint32_t>(color);
}
// Stands for the system's window colour (label buttons).
constexpr Color kSystemWindowColor = System(SystemColor::Window);
constexpr Color kBlack = Rgb(0, 0, 0);
// The colours more than one window takes: the label buttons' blue, the red of
// the headings and read-outs.
constexpr Color kBlue = Rgb(0, 0, 255);
constexpr Color kRed = Rgb(255, 0, 0);

// Positions and sizes in twips (1/1440 inch), relative to the container.
struct Rect {
  float left = 0, top = 0, width = 0, height = 0;
  bool operator==(const Rect&) const = default;
};

struct Font {
  std::string face = "MS Sans Serif";
  float points = 8.25f;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

enum class ControlKind { Label, TextBox, CheckBox, OptionButton, ComboBox, Frame, Shape };
enum class Alignment { Left, Right, Center };

// What a control is to assistive technology such as a screen reader.
enum class AccessibleRole {
  StaticText,
  PushButton,
  Text,
  CheckButton,
  RadioButton,
  ComboBox,
  Grouping,
  Graphic
};

// Mouse buttons as the handlers receive them: 1 left, 2 right, 4 middle.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };

struct MouseArgs {
  int button = 0;  // the buttons held (move) or the button pressed (down/up)
  int shift = 0;
  float x = 0, y = 0;
};

class Control {
 public:
  Control(ControlKind kind, std::string name, int id);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  int Id() const { return id_; }  // the native control identifier
  std::uint32_t Revision() const { return revision_; }

  // The design: set once by the owning form, never changed afterwards.
  Control* Container = nullptr;  // nullptr: the form itself
  const Form* Owner = nullptr;   // the form that holds it, once it is added
  Rect Position;
  std::string ToolTip;
  Font TextFont;
  Alignment Align = Alignment::Left;
  Color BackColor = 0;
  bool HasBackColor = false;  // false: the container's colour
  bool Border = false;        // a single-line border
  bool TabStop = false;
  int TabIndex = 0;
  // What a screen reader reports: the role (by default the one of the kind)
  // and the name, when the caption is not it (a read-out, a text box).
  AccessibleRole Role;
  std::string AccessibleName;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string text);
  Color ForeColor() const { return foreColor_; }
  void SetForeColor(Color color);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Event hooks, set by the owning form to its handlers.
  std::function<void()> OnClick;
  std::function<void(const MouseArgs&)> OnMouseDown;
  std::function<void(const MouseArgs&)> OnMouseUp;
  std::function<void(const MouseArgs&)> OnMouseMove;
  std::function<void()> OnGotFocus;
  std::function<void()> OnLostFocus;  // the focus moves to another control of the form

 protected:
  void Touch() { ++revision_; }

 private:
  ControlKind kind_;
  std::string name_;
  int id_;
  std::uint32_t revision_ = 1;
  std::string caption_;
  Color foreColor_ = kBlack;
  bool visible_ = true;
  bool enabled_ = true;
};

// A label; with `Border` and the event hooks it serves as a push button.
class Label : public Control {
 public:
  Label(std::string name, int id) : Control(ControlKind::Label, std::move(name), id) {}
  // A text the program keeps with the label; not shown.
  std::string Tag;
  // Whether it serves as a button (or link): it has a handler for the mouse
  // or the click, and so sees its presses first.
  bool IsButton() const { return OnMouseDown || OnMouseUp || OnClick; }
  // Sunken (three-dimensional) border instead of the flat one: the pressed look.
  bool Sunken() const { return sunken_; }
  void SetSunken(bool sunken);

 private:
  bool sunken_ = false;
};

class TextBox : public Control {
 public:
  TextBox(std::string name, int id) : Control(ControlKind::TextBox, std::move(name), id) {}
  bool MultiLine = false;
  bool VerticalScrollBar = false;
  std::size_t MaxLength = 0;  // the most characters it takes; 0: any number
  const std::string& Text() const { return Caption(); }
  void SetText(std::string text) { SetCaption(std::move(text)); }
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  // Every call moves the caret, even to where the last one put it: the user
  // may have moved it since.
  void SetSelection(int start, int length);
  // Counts the calls of SetSelection, so the front end applies each once and
  // otherwise leaves the caret where the user's typing put it.
  std::uint32_t SelectionRevision() const { return selectionRevision_; }
  // What the box takes of a text: no more than MaxLength characters.
  std::string Fitted(std::string text) const {
    if (MaxLength != 0 && text.size() > MaxLength) text.resize(MaxLength);
    return text;
  }
  // The front end reports what the user typed; nothing else runs.
  void TextTypedByUser(std::string text) { SetCaption(Fitted(std::move(text))); }

 private:
  int selStart_ = 0;
  int selLength_ = 0;
  std::uint32_t selectionRevision_ = 0;
};

// A check box: 0 clear, 1 ticked, 2 greyed. Changing the value, from the
// program or by the user, runs OnClick, as a click would.
class CheckBox : public Control {
 public:
  CheckBox(std::string name, int id) : Control(ControlKind::CheckBox, std::move(name), id) {}
  int Value() const { return value_; }
  void SetValue(int value);
  // The design value: set without running anything.
  void SetDesignValue(int value);

 private:
  int value_ = 0;
};

// An option button; the buttons of one container exclude each other.
// Selecting a button that was not selected, from the program or by the user,
// clears the others of its group and runs its OnClick.
class OptionButton : public Control {
 public:
  OptionButton(std::string name, int id)
      : Control(ControlKind::OptionButton, std::move(name), id) {}
  bool Value() const { return value_; }
  void Select();
  // Clears the button without running anything.
  void Clear();
  // The design selection: selects without running anything.
  void SetDesignValue(bool selected);
  std::vector<OptionButton*>* Group = nullptr;

 private:
  bool value_ = false;
};

// A drop-down list without typing.
class ComboBox : public Control {
 public:
  ComboBox(std::string name, int id) : Control(ControlKind::ComboBox, std::move(name), id) {}
  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(std::string text, int index);
  int ListIndex() const { return listIndex_; }
  // -1 selects nothing; an index outside the list is refused (returns false).
  bool SetListIndex(int index);
  // The text of the selected entry, empty when nothing is selected.
  std::string SelectedText() const;
  // Empties the list; nothing is selected afterwards.
  void Clear() {
    if (items_.empty() && listIndex_ == -1) return;
    items_.clear();
    listIndex_ = -1;
    Touch();
  }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

class Frame : public Control {
 public:
  Frame(std::string name, int id) : Control(ControlKind::Frame, std::move(name), id) {}
};

class Shape : public Control {
 public:
  Shape(std::string name, int id) : Control(ControlKind::Shape, std::move(name), id) {}
};

// A timer of a form; the front end delivers OnTimer every Interval ms while
// it is enabled.
class Timer {
 public:
  explicit Timer(unsigned intervalMs) : interval_(intervalMs) {}
  unsigned Interval() const { return interval_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  std::function<void()> OnTimer;

 private:
  unsigned interval_;
  bool enabled_ = true;
};

// Puts a control into its container (nullptr: the form) at its design place.
void Place(Control& control, Control* container, Rect position);
// How long a label button looks pressed: sunken from the mouse-down until the
// button is released (flat again, its caption back in its colour), or until
// its window's design puts it back.
enum class PressedLook { UntilReleased, UntilDesign };
// A bordered label that serves as a push button: centred bold caption on the
// system's window colour; a push button to screen readers; its pressed look.
void MakeLabelButton(Label& label, Font font, Color textColor, PressedLook look,
                     std::string toolTip = {});

// Opaque native window handle, as the platform gives it.
using WindowHandle = std::uintptr_t;

}  // namespace quellor
