// Any texts in the timer dialog's fields, any clock, either mode, with or
// without the field rules run, then OK or Cancel: each rule leaves a whole
// number within its field's limits, the countdown stays finite and 0 or more,
// and the main window's trigger fires as CheckFiring says.
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzInput in{{reinterpret_cast<const char*>(data), size}};
  quellor::fake::Session s;
  s.process.Clock = {in.Byte() % 24, in.Byte() % 60, in.Byte() % 60};
  const std::uint8_t flags = in.Byte();
  auto& dialog = s.program.form3;
  s.Start("-t3000 -o0");
  s.form.Label9.OnClick();  // Set Timer; an end in the dialog escapes and aborts
  if ((flags & 1) != 0) dialog.Option2.Select();
  quellor::TextBox* fields[] = {&dialog.Text1, &dialog.Text2, &dialog.Text3};
  const double limits[] = {dialog.Option2.Value() ? 24.0 : 32767.0, 60, 60};
  for (quellor::TextBox* field : fields) field->TextTypedByUser(in.Piece());
  for (int i = 0; i < 3; ++i) {
    if ((flags & (2 << i)) == 0) continue;
    fields[i]->OnLostFocus();
    FUZZ_CHECK(IsWholeNumberUpTo(fields[i]->Text(), limits[i]));
  }
  ((flags & 16) != 0 ? dialog.Label6 : dialog.Label5).OnClick();  // Cancel or OK
  FUZZ_CHECK(std::isfinite(s.program.CountdownSeconds) && s.program.CountdownSeconds >= 0);
  CheckFiring(s, 64);
  return 0;
}
