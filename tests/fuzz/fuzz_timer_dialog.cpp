// Any texts in the timer dialog's fields, any clock, either mode, with or
// without the field rules run: the rules leave " " and a whole number within
// the field's limits, and OK leaves a finite countdown of 0 or more, a
// time-out equal to it rounded, and the main window ticking again; the timer
// then fires in the tick in which that countdown has run out, and never
// earlier.
#include <cmath>
#include <cstdint>
#include <string>

#include "common/number.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in(data, size);
  quellor::fake::Session s;
  const int hour = in.Byte() % 24;
  const int minute = in.Byte() % 60;
  s.process.Clock = {hour, minute, in.Byte() % 60};
  const std::uint8_t flags = in.Byte();
  auto& dialog = s.program.form3;
  s.Start("-t3000 -o0");
  const double before = s.program.CountdownSeconds;
  s.form.Label9.OnClick();  // nothing in the dialog may end the program: that would abort
  FUZZ_CHECK(dialog.Loaded() && !s.form.Timer1.Enabled());
  if ((flags & 1) != 0) dialog.Option2.Select();
  const bool clockMode = dialog.Option2.Value();
  quellor::TextBox* fields[] = {&dialog.Text1, &dialog.Text2, &dialog.Text3};
  const double limits[] = {clockMode ? 24.0 : 32767.0, 60, 60};
  for (quellor::TextBox* field : fields) field->TextTypedByUser(in.Piece());
  for (int i = 0; i < 3; ++i) {
    if ((flags & (2 << i)) == 0) continue;
    fields[i]->OnLostFocus();
    const std::string& text = fields[i]->Text();
    FUZZ_CHECK(text.size() >= 2 && text[0] == ' ' && IsWholeNumberUpTo(text, limits[i]));
  }
  if ((flags & 16) != 0) {
    dialog.Label6.OnClick();
    FUZZ_CHECK(s.program.CountdownSeconds == before);
  } else {
    dialog.Label5.OnClick();
  }
  FUZZ_CHECK(!dialog.Loaded() && s.form.Timer1.Enabled());
  FUZZ_CHECK(std::isfinite(s.program.CountdownSeconds) && s.program.CountdownSeconds >= 0);
  const auto rounded = quellor::ToInt32(s.program.CountdownSeconds);
  FUZZ_CHECK(rounded.has_value() && *rounded == s.program.TimeOutSeconds);
  // Method "Timer" and the operation "Shutdown" without force close (no -f).
  FUZZ_CHECK(SelectedMethod(s.form) == 0 && s.form.Combo1.SelectedText() == "Shutdown");
  CheckFiring(s, 64);
  return 0;
}
