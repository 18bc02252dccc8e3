#include "timer_dialog/form3.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "common/control_ids.h"
#include "common/number.h"
#include "controller/form1.h"
#include "controller/program_state.h"

namespace quellor {

namespace {

constexpr Color kCyan = Rgb(0, 255, 255);

// Hours have no limit of their own in count-down mode; the field rule holds
// the number in 16 bits, so that is where it stops.
constexpr int kHoursLimitCountDown = std::numeric_limits<std::int16_t>::max();

const Font kLabelButtonFont{"Courier New", 14.25f, true};

// The field rule: the field's number, rounded half to even and clamped to
// 0..limit, written back after one blank. A number beyond the 16-bit range
// (or an infinity) is clamped like any other number out of range.
void ApplyFieldRule(TextBox& field, int limit) {
  const double rounded = RoundHalfEven(LeadingNumber(field.Text()));
  const double clamped =
      std::isnan(rounded) ? 0.0 : std::clamp(rounded, 0.0, static_cast<double>(limit));
  field.SetText(" " + std::to_string(static_cast<int>(clamped)));
}

}  // namespace

Form3::Form3(ProgramState& program)
    : Form("Form3"),
      Option1("Option1", ids::form3::kOption1),
      Option2("Option2", ids::form3::kOption2),
      Label7("Label7", ids::form3::kLabel7),
      Label1("Label1", ids::form3::kLabel1),
      Shape1("Shape1", ids::form3::kShape1),
      Frame1("Frame1", ids::form3::kFrame1),
      Label2("Label2", ids::form3::kLabel2),
      Text1("Text1", ids::form3::kText1),
      Label3("Label3", ids::form3::kLabel3),
      Text2("Text2", ids::form3::kText2),
      Label4("Label4", ids::form3::kLabel4),
      Text3("Text3", ids::form3::kText3),
      Label5("Label5", ids::form3::kLabel5),
      Label6("Label6", ids::form3::kLabel6),
      Timer1(1000),
      program_(program),
      optionGroup_{&Option1, &Option2} {
  Caption = "Set Timer";
  WindowClass = ids::kForm3Class;
  Style = FormStyle::Borderless;
  BackColor = kTimerDialogColor;
  ClientWidth = 4830;
  ClientHeight = 2055;

  Place(Option1, nullptr, {120, 180, 1215, 255});
  Option1.SetCaption("Count down");
  Option1.ToolTip = "Count down to shutdown";
  Place(Option2, nullptr, {1440, 180, 735, 255});
  Option2.SetCaption("Timer");
  Option2.ToolTip = "Shut down at specific time";
  for (OptionButton* option : optionGroup_) {
    option->BackColor = kTimerDialogColor;
    option->HasBackColor = true;
    option->Group = &optionGroup_;
  }

  Place(Label7, nullptr, {2400, 180, 735, 255});
  Label7.SetCaption("Clock :");
  Label7.Align = Alignment::Right;
  Label7.TextFont = Font{"MS Sans Serif", 9.75f, true};
  Label7.SetForeColor(kBlack);

  Place(Label1, nullptr, {3240, 120, 1455, 375});
  Label1.Align = Alignment::Center;
  Label1.Border = true;
  Label1.TextFont = Font{"Tahoma", 9.75f, true};
  Label1.BackColor = kBlack;
  Label1.HasBackColor = true;
  Label1.SetForeColor(kCyan);
  Label1.AccessibleName = "Clock";

  Place(Shape1, nullptr, {3240, 120, 1455, 375});

  Place(Frame1, nullptr, {120, 600, 4575, 855});
  Frame1.BackColor = kTimerDialogColor;
  Frame1.HasBackColor = true;

  Place(Label2, &Frame1, {240, 360, 495, 255});
  Label2.SetCaption("Hour");
  Place(Text1, &Frame1, {840, 345, 495, 285});
  Place(Label3, &Frame1, {1440, 360, 375, 255});
  Label3.SetCaption("Min");
  Place(Text2, &Frame1, {1920, 345, 495, 285});
  Place(Label4, &Frame1, {2520, 360, 375, 255});
  Label4.SetCaption("Sec");
  Place(Text3, &Frame1, {3000, 345, 495, 285});
  for (Label* caption : {&Label2, &Label3, &Label4}) caption->Align = Alignment::Right;
  for (TextBox* field : {&Text1, &Text2, &Text3}) field->Align = Alignment::Center;
  Text1.AccessibleName = "Hour";
  Text2.AccessibleName = "Min";
  Text3.AccessibleName = "Sec";

  Place(Label5, nullptr, {360, 1560, 1215, 375});
  MakeLabelButton(Label5, kLabelButtonFont, kBlue, PressedLook::UntilDesign);
  Label5.SetCaption("OK");
  Place(Label6, nullptr, {3240, 1560, 1215, 375});
  MakeLabelButton(Label6, kLabelButtonFont, kBlue, PressedLook::UntilDesign);
  Label6.SetCaption("Cancel");

  Add({&Option1, &Option2, &Label7, &Label1, &Shape1, &Frame1, &Label2, &Text1, &Label3, &Text2,
       &Label4, &Text3, &Label5, &Label6});
  Timer1.SetEnabled(false);
  Add(Timer1);

  Option1.OnClick = [this] { Option1_Click(); };
  Option2.OnClick = [this] { Option2_Click(); };
  for (TextBox* field : {&Text1, &Text2, &Text3}) {
    field->OnGotFocus = [this, field] { Text_GotFocus(*field); };
  }
  Text1.OnLostFocus = [this] { Text1_Validate(); };
  Text2.OnLostFocus = [this] { Text2_Validate(); };
  Text3.OnLostFocus = [this] { Text3_Validate(); };
  Label5.OnClick = [this] { Label5_Click(); };
  Label6.OnClick = [this] { Label6_Click(); };
  OnMouseMove = [this](const MouseArgs& args) { Form_MouseMove(args); };
  Frame1.OnMouseMove = [this](const MouseArgs& args) { Form_MouseMove(args); };
  OnCloseRequest = [this] { Form_QueryUnload(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
}

void Form3::Design() {
  for (TextBox* field : {&Text1, &Text2, &Text3}) {
    field->SetText("0");
    field->SetSelection(0, 0);
  }
  Option1.SetDesignValue(true);
  Frame1.SetCaption("Count down");
  Label1.SetCaption("Label1");
  Label5.SetSunken(false);
  Label6.SetSunken(false);
}

void Form3::Form_Load() {
  Label1.SetCaption(ClockText());
  Form1& form1 = program_.MainWindow();
  Move(form1.Left(), form1.Top() + form1.Height());
  if (form1.Check2.Value() != 0) {
    program_.MakeTopMost(Handle());
  } else {
    program_.MakeNotTopMost(Handle());
  }
  Timer1.SetEnabled(true);
}

void Form3::Form_Unload() {
  Timer1.SetEnabled(false);
}

std::string Form3::ClockText() const {
  const platform::LocalTime now = program_.Os.process.Now();
  return FormatTwoDigits(now.hour) + ":" + FormatTwoDigits(now.minute) + ":" +
         FormatTwoDigits(now.second);
}

void Form3::Timer1_Timer() {
  Label1.SetCaption(ClockText());
}

void Form3::Option1_Click() {
  Frame1.SetCaption("Count down");
}

void Form3::Option2_Click() {
  Frame1.SetCaption("Timer");
  Text1_Validate();
}

void Form3::Text_GotFocus(TextBox& field) {
  field.SetSelection(0, static_cast<int>(field.Text().size()));
}

void Form3::Text1_Validate() {
  ApplyFieldRule(Text1, Option2.Value() ? kHoursLimitClock : kHoursLimitCountDown);
}

void Form3::Text2_Validate() {
  ApplyFieldRule(Text2, kMinutesLimit);
}

void Form3::Text3_Validate() {
  ApplyFieldRule(Text3, kSecondsLimit);
}

std::optional<double> DialogCountdown(bool clockMode, double hours, double minutes, double seconds,
                                      const platform::LocalTime& now) {
  double total = hours * 3600 + minutes * 60 + seconds;
  if (clockMode) {
    total = (hours - now.hour) * 3600 + (minutes - now.minute) * 60 + (seconds - now.second);
  }
  // A time of day already past today is tomorrow's; that day is added once,
  // and the short countdown it may leave is not refused. A total that is
  // still negative (more than a day's worth of negative time typed into the
  // field that has the focus) would never run out, so it is refused. A NaN
  // (infinities of both signs typed) fails every comparison and is refused.
  bool accepted = false;
  if (total < 0) {
    total += kSecondsPerDay;
    accepted = total >= 0;
  } else {
    accepted = total > kLongestRefusedCountdown;
  }
  // A countdown that cannot be held as a 32-bit length is refused as well.
  if (!accepted || !ToInt32(total).has_value()) return std::nullopt;
  return total;
}

void Form3::Label5_Click() {
  // The fields count as they stand: a field that still has the focus has not
  // been through its rule, so a fraction or an out-of-range number counts.
  // The clock is read only in clock-time mode.
  const std::optional<double> total =
      DialogCountdown(Option2.Value(), LeadingNumber(Text1.Text()), LeadingNumber(Text2.Text()),
                      LeadingNumber(Text3.Text()),
                      Option2.Value() ? program_.Os.process.Now() : platform::LocalTime{});
  if (total) {
    program_.CountdownSeconds = *total;
    program_.MainWindow().DisplayTimer(*total);
  }
  // After a refused entry the length becomes the countdown as it stands.
  if (const std::optional<std::int32_t> length = ToInt32(program_.CountdownSeconds)) {
    program_.TimeOutSeconds = *length;
  }
  CloseDialog();
}

void Form3::Label6_Click() {
  CloseDialog();
}

void Form3::Form_MouseMove(const MouseArgs& args) {
  program_.DragWindow(*this, args);
  Form1& form1 = program_.MainWindow();
  form1.Move(Left(), Top() - form1.Height());
}

void Form3::Form_QueryUnload() {
  // Closed by the system or the close command: the main window's tick must
  // not stay stopped, so this ends as Cancel does.
  CloseDialog();
}

void Form3::CloseDialog() {
  program_.MainWindow().Timer1.SetEnabled(true);
  Unload();
}

}  // namespace quellor
