#include "common/layout.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace quellor {

Rect PositionInForm(const Control& control) {
  Rect rect = control.Position;
  for (const Control* container = control.Container; container != nullptr;
       container = container->Container) {
    rect.left += container->Position.left;
    rect.top += container->Position.top;
  }
  return rect;
}

std::uint32_t RevisionWithContainers(const Control& control) {
  // Revisions only grow, so the sum changes whenever any of them does.
  std::uint32_t sum = 0;
  for (const Control* c = &control; c != nullptr; c = c->Container) sum += c->Revision();
  return sum;
}

int Depth(const Control& control) {
  int depth = 0;
  for (const Control* c = control.Container; c != nullptr; c = c->Container) ++depth;
  return depth;
}

bool EffectivelyVisible(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (!c->Visible()) return false;
  }
  return true;
}

bool EffectivelyEnabled(const Control& control) {
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (!c->Enabled()) return false;
  }
  return true;
}

bool ShownToUser(const Control& control) {
  return EffectivelyVisible(control) && (control.Owner == nullptr || control.Owner->Visible());
}

bool EnabledForUser(const Control& control) {
  return EffectivelyEnabled(control) && (control.Owner == nullptr || control.Owner->Enabled());
}

bool UsesSystemBackground(const Control& control) {
  if (control.HasBackColor) return false;
  return control.Kind() == ControlKind::TextBox || control.Kind() == ControlKind::ComboBox;
}

Color BackColorOf(const Control& control, const Form& form) {
  for (const Control* c = &control; c != nullptr; c = c->Container) {
    if (c->HasBackColor) return c->BackColor;
  }
  return form.BackColor;
}

std::vector<Control*> StackingOrder(const Form& form) {
  auto layer = [](const Control* c) {
    switch (c->Kind()) {
      case ControlKind::Label:
        return 1;
      case ControlKind::Shape:
        return 2;
      case ControlKind::Frame:
        return 3;
      default:
        return 0;
    }
  };
  const std::vector<Control*>& created = form.Controls();
  // Later controls lie above earlier ones of the same layer.
  std::vector<Control*> order(created.rbegin(), created.rend());
  std::stable_sort(order.begin(), order.end(), [&](const Control* a, const Control* b) {
    const int layerA = layer(a);
    const int layerB = layer(b);
    if (layerA != layerB) return layerA < layerB;
    if (layerA == 3) return Depth(*a) > Depth(*b);
    return false;
  });
  return order;
}

std::vector<Control*> TabOrder(const Form& form) {
  std::vector<Control*> order;
  for (Control* c : form.Controls()) {
    if (c->TabStop) order.push_back(c);
  }
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex < b->TabIndex; });
  return order;
}

namespace {

bool SameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string ChooseFace(const std::string& face,
                       const std::function<bool(const std::string&)>& installed) {
  if (installed(face)) return face;
  std::vector<std::string> candidates;
  // Closest widths first, so that captions keep to the lines they were laid
  // out on: Liberation Sans has the widths of Arial, which are close to those
  // of Microsoft Sans Serif, and Liberation Mono those of Courier New. Tahoma
  // comes last for MS Sans Serif: it runs wider, and some Wine installations
  // carry a Tahoma whose bold face draws regular strokes at bold widths.
  if (SameLetters(face, "Courier") || SameLetters(face, "Courier New")) {
    candidates = {"Courier New", "Courier", "Liberation Mono", "DejaVu Sans Mono",
                  "Lucida Console"};
  } else if (SameLetters(face, "MS Sans Serif")) {
    candidates = {"Microsoft Sans Serif", "Arial", "Liberation Sans", "Tahoma"};
  } else if (SameLetters(face, "Tahoma")) {
    candidates = {"Verdana", "Microsoft Sans Serif", "Arial", "Liberation Sans"};
  }
  for (const std::string& candidate : candidates) {
    if (installed(candidate)) return candidate;
  }
  return face;
}

Control* FrameAt(const Form& form, float x, float y) {
  Control* best = nullptr;
  for (Control* c : form.Controls()) {
    if (c->Kind() != ControlKind::Frame || !EffectivelyVisible(*c)) continue;
    const Rect r = PositionInForm(*c);
    if (x < r.left || y < r.top || x >= r.left + r.width || y >= r.top + r.height) continue;
    if (best == nullptr || Depth(*c) > Depth(*best)) best = c;
  }
  return best;
}

void PlaceIfNeverPlaced(Form& form, const Rect& workArea) {
  if (form.Placed()) return;
  form.Move(workArea.left + (workArea.width - form.Width()) / 2,
            workArea.top + (workArea.height - form.Height()) / 2);
}

}  // namespace quellor
