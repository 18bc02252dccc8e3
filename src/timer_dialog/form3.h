// The timer dialog: the countdown as a duration or as a time of day.
//
// Its design controls:
//   Option1   Count down: the fields are a duration
//   Option2   Timer: the fields are a time of day
//   Label7    "Clock :"          Label1   the clock, now (on Shape1)
//   Frame1    the fields' frame, captioned as the chosen mode
//   Label2    "Hour"             Text1    hours
//   Label3    "Min"              Text2    minutes
//   Label4    "Sec"              Text3    seconds
//   Label5    OK                 Label6   Cancel
//   Timer1    the clock's tick
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/form.h"
#include "platform/platform.h"

namespace quellor {

class ProgramState;

// The dialog's background, also that of its option buttons and its frame.
inline constexpr Color kTimerDialogColor = Rgb(192, 192, 255);
// Upper limits of the fields: hours in clock-time mode, minutes and seconds.
inline constexpr int kHoursLimitClock = 24;
inline constexpr int kMinutesLimit = 60;
inline constexpr int kSecondsLimit = 60;
// A countdown of this many seconds or fewer is refused by OK.
inline constexpr double kLongestRefusedCountdown = 10;
inline constexpr double kSecondsPerDay = 86400;

// The countdown OK sets from the fields as numbers, in count-down mode or as
// a time of day against the clock `now`; nothing when it is refused.
std::optional<double> DialogCountdown(bool clockMode, double hours, double minutes, double seconds,
                                      const platform::LocalTime& now);

class Form3 : public Form {
 public:
  explicit Form3(ProgramState& program);

  OptionButton Option1;  // count-down mode
  OptionButton Option2;  // clock-time mode
  Label Label7;
  Label Label1;  // clock
  Shape Shape1;
  Frame Frame1;
  Label Label2;
  TextBox Text1;  // hours
  Label Label3;
  TextBox Text2;  // minutes
  Label Label4;
  TextBox Text3;  // seconds
  Label Label5;   // OK
  Label Label6;   // Cancel
  Timer Timer1;

  void Option1_Click();
  void Option2_Click();
  void Text_GotFocus(TextBox& field);
  void Text1_Validate();
  void Text2_Validate();
  void Text3_Validate();
  void Label5_Click();
  void Label6_Click();
  void Timer1_Timer();
  void Form_MouseMove(const MouseArgs& args);
  void Form_QueryUnload();
  void CloseDialog();

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_Unload() override;

 private:
  std::string ClockText() const;

  ProgramState& program_;
  std::vector<OptionButton*> optionGroup_;
};

}  // namespace quellor
