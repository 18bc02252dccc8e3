// The model of a window: loading, showing, placing and closing it.
#include "common/form.h"

namespace quellor {

void Form::Add(std::initializer_list<Control*> controls) {
  for (Control* control : controls) {
    control->Owner = this;
    control->TabIndex = static_cast<int>(controls_.size());
    const ControlKind kind = control->Kind();
    control->TabStop = kind == ControlKind::ComboBox || kind == ControlKind::CheckBox ||
                       kind == ControlKind::OptionButton || kind == ControlKind::TextBox;
    controls_.push_back(control);
  }
}

bool NoneLoaded(std::initializer_list<const Form*> forms) {
  for (const Form* form : forms) {
    if (form->Loaded()) return false;
  }
  return true;
}

void Form::Show() {
  if (!loaded_) {
    loaded_ = true;
    ++revision_;
    if (Host != nullptr) Host->CreateWindowFor(*this);
    Design();
    Form_Load();
  }
  if (!visible_) {
    visible_ = true;
    ++revision_;
  }
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  ++revision_;
}

void Form::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  ++revision_;
}

void Form::Unload() {
  if (!loaded_) return;
  Form_Unload();
  if (Host != nullptr) Host->DestroyWindowFor(*this);
  loaded_ = false;
  visible_ = false;
  enabled_ = true;
  handle_ = 0;
  rememberedFocus_ = nullptr;
  ++revision_;
}

void Form::CloseRequested() {
  if (OnCloseRequest) {
    OnCloseRequest();
  } else {
    Unload();
  }
}

void Form::Move(float left, float top) {
  if (placed_ && left == left_ && top == top_) return;
  placed_ = true;
  left_ = left;
  top_ = top;
  ++revision_;
}

void Form::ReportWindowRect(const Rect& outer, bool minimised) {
  if (minimised) return;
  ReportPlacement(outer.left, outer.top);
  SetOuterSize(outer.width, outer.height);
}

}  // namespace quellor
