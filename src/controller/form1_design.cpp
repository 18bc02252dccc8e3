// The main window's design: its controls as laid out, their looks and the
// handlers wired to them, and the state Design() puts back before each load.
#include "controller/form1.h"

#include <cstddef>
#include <string>

#include "common/control_ids.h"
#include "controller/program_state.h"
#include "settings/registry_key.h"

namespace quellor {
namespace {

constexpr Color kWindowColor = Rgb(192, 255, 192);
constexpr Color kListColor = Rgb(192, 255, 255);
constexpr Color kDarkBlue = Rgb(0, 0, 192);
constexpr Color kGreen = Rgb(0, 128, 0);
constexpr Color kOrange = Rgb(255, 128, 0);

const Font kLabelButtonFont{"MS Sans Serif", 12, true};

constexpr float kDesignLeft = 7320;
constexpr float kDesignTop = 5805;

// A red-on-black read-out: the processor usage and the countdown.
void MakeDisplay(Label& label, std::string accessibleName) {
  label.AccessibleName = std::move(accessibleName);
  label.Border = true;
  label.Align = Alignment::Center;
  label.TextFont.bold = true;
  label.TextFont.points = 12;
  label.BackColor = kBlack;
  label.HasBackColor = true;
  label.SetForeColor(kRed);
}

}  // namespace

Form1::Form1(ProgramState& program)
    : Form("Form1"),
      Label8("Label8", ids::form1::kLabel8),
      Frame1("Frame1", ids::form1::kFrame1),
      Timer1(1000),
      Label2("Label2", ids::form1::kLabel2),
      Combo1("Combo1", ids::form1::kCombo1),
      Label6("Label6", ids::form1::kLabel6),
      Label7("Label7", ids::form1::kLabel7),
      Check1("Check1", ids::form1::kCheck1),
      Check2("Check2", ids::form1::kCheck2),
      Shape1("Shape1", ids::form1::kShape1),
      Label5("Label5", ids::form1::kLabel5),
      Shape2("Shape2", ids::form1::kShape2),
      Label3("Label3", ids::form1::kLabel3),
      Label1("Label1", ids::form1::kLabel1),
      Frame2("Frame2", ids::form1::kFrame2),
      Option1{{OptionButton("Option1", ids::form1::kOption1 + 0),
               OptionButton("Option1", ids::form1::kOption1 + 1),
               OptionButton("Option1", ids::form1::kOption1 + 2),
               OptionButton("Option1", ids::form1::kOption1 + 3)}},
      Label4("Label4", ids::form1::kLabel4),
      Text2("Text2", ids::form1::kText2),
      Label9("Label9", ids::form1::kLabel9),
      Label12("Label12", ids::form1::kLabel12),
      Label10("Label10", ids::form1::kLabel10),
      program_(program) {
  Caption = kAppTitle;
  WindowClass = ids::kForm1Class;
  Style = FormStyle::Borderless;
  BackColor = kWindowColor;
  ClientWidth = 4830;
  ClientHeight = 3840;

  Place(Label8, nullptr, {975, 120, 2745, 240});
  Label8.ToolTip = "Double click to check your free upgrade";
  Label8.Align = Alignment::Center;
  Label8.TextFont = {"Courier", 12, true};
  Label8.SetForeColor(kBlue);

  Place(Frame1, nullptr, {120, 720, 4590, 3045});

  Place(Label2, &Frame1, {240, 120, 2655, 375});
  Label2.TextFont = {"Tahoma", 12, true};

  Place(Combo1, &Frame1, {3120, 120, 1335, 315});
  Combo1.BackColor = kListColor;
  Combo1.HasBackColor = true;
  Combo1.AccessibleName = "Computer Operation";

  Place(Label6, &Frame1, {120, 480, 1095, 255});
  Label6.Align = Alignment::Center;
  Label6.SetForeColor(kDarkBlue);

  Place(Label7, &Frame1, {1440, 480, 1215, 255});
  Label7.Align = Alignment::Center;
  Label7.SetForeColor(kDarkBlue);

  Place(Check1, &Frame1, {3000, 600, 1335, 375});
  // The misspelt tip is the design's own, kept as its users have always read it.
  Check1.ToolTip = "Force running appllication to close";

  Place(Check2, &Frame1, {3000, 960, 1335, 255});
  Check2.ToolTip = "Force window on top";

  Place(Shape1, &Frame1, {120, 720, 1095, 375});
  Place(Label5, &Frame1, {120, 720, 1095, 375});
  MakeDisplay(Label5, "CPU usage");
  Place(Shape2, &Frame1, {1440, 720, 1215, 375});
  Place(Label3, &Frame1, {1440, 720, 1215, 375});
  MakeDisplay(Label3, "Time out");

  Place(Label1, &Frame1, {1440, 1080, 1215, 255});
  Label1.Align = Alignment::Center;
  Label1.TextFont.points = 9.75f;
  Label1.SetForeColor(kDarkBlue);

  Place(Frame2, &Frame1, {120, 1320, 4335, 1095});
  Frame2.SetForeColor(kGreen);

  Place(Option1[0], &Frame2, {120, 360, 1335, 255});
  Place(Option1[1], &Frame2, {1680, 360, 1335, 255});
  Place(Option1[2], &Frame2, {120, 600, 1695, 375});
  Place(Option1[3], &Frame2, {1680, 600, 1575, 375});

  Place(Label4, &Frame2, {3120, 240, 1095, 255});
  Label4.ToolTip = "Monitor % CPU usage";
  Label4.Align = Alignment::Center;

  Place(Text2, &Frame2, {3360, 480, 555, 285});
  Text2.AccessibleName = "% CPU Usage";
  // A longer threshold would not be stored (nor read back), and a huge one
  // would stall every reading of it.
  Text2.MaxLength = kMaxTextLength;

  Place(Label9, &Frame1, {120, 2520, 1335, 375});
  MakeLabelButton(Label9, kLabelButtonFont, kBlue, PressedLook::UntilReleased,
                  "Set shutdown timer");
  Place(Label12, &Frame1, {2160, 2520, 375, 375});
  MakeLabelButton(Label12, kLabelButtonFont, kOrange, PressedLook::UntilReleased, "Help menu");
  Place(Label10, &Frame1, {3480, 2520, 975, 375});
  MakeLabelButton(Label10, kLabelButtonFont, kBlue, PressedLook::UntilReleased,
                  "Abort shutdown operation and exit program");

  Add({&Label8,     &Frame1,     &Label2, &Combo1, &Label6, &Label7,  &Check1,     &Check2,
       &Shape1,     &Label5,     &Shape2, &Label3, &Label1, &Frame2,  &Option1[0], &Option1[1],
       &Option1[2], &Option1[3], &Label4, &Text2,  &Label9, &Label12, &Label10});
  Add(Timer1);

  for (std::size_t i = 0; i < Option1.size(); ++i) {
    optionGroup_.push_back(&Option1[i]);
    Option1[i].Group = &optionGroup_;
    Option1[i].OnClick = [this, i] { Option1_Click(static_cast<int>(i)); };
  }
  Check2.OnClick = [this] { Check2_Click(); };
  Text2.OnLostFocus = [this] { Text2_Validate(); };
  Label8.OnClick = [this] { Label8_Click(); };
  Label9.OnClick = [this] { Label9_Click(); };
  Label10.OnClick = [this] { Label10_Click(); };
  Label12.OnClick = [this] { Label12_Click(); };
  OnMouseMove = [this](const MouseArgs& args) { Form_MouseMove(args); };
  Frame1.OnMouseMove = [this](const MouseArgs& args) { Form_MouseMove(args); };
  OnCloseRequest = [this] { Form_QueryUnload(); };
  Timer1.OnTimer = [this] { Timer1_Timer(); };
}

void Form1::Design() {
  for (Control* control : Controls()) {
    control->SetVisible(true);
    control->SetEnabled(true);
  }
  // The design's caption still names an older version; it is never seen, as
  // Form_Load writes the title over it before the window is first shown.
  Label8.SetCaption("Quellor V2.0.1");
  Label2.SetCaption("Computer Operation :");
  Combo1.Clear();
  Label6.SetCaption("CPU Usage :");
  Label7.SetCaption("Time out:");
  Check1.SetCaption("Force close");
  Check1.SetDesignValue(1);
  Check2.SetCaption("Always on top");
  Check2.SetDesignValue(1);
  Label5.SetCaption("100%");
  Label5.Tag.clear();
  Label3.SetCaption("00:00:00");
  Label1.SetCaption("hh:mm:ss");
  Frame2.SetCaption("Shutdown Methods");
  Option1[0].SetCaption("Timer");
  Option1[1].SetCaption("CPU Idle Only");
  Option1[2].SetCaption("Timer AND CPU");
  Option1[3].SetCaption("Timer OR CPU");
  Option1[2].SetDesignValue(true);
  Label4.SetCaption("% CPU Usage");
  Text2.SetText("2");
  Label9.SetCaption("Set Timer");
  Label12.SetCaption("?");
  Label10.SetCaption("Abort");
  for (Label* button : {&Label9, &Label10, &Label12}) button->SetSunken(false);
  Timer1.SetEnabled(true);
  Move(kDesignLeft, kDesignTop);
}

}  // namespace quellor
