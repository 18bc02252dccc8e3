#include "help_window/form2.h"

#include "common/control_ids.h"
#include "controller/decision_rules.h"
#include "controller/form1.h"
#include "controller/program_state.h"

namespace quellor {

namespace {

const Font kLabelButtonFont{"MS Sans Serif", 12.0f, true};

// Which of the two OK labels answers: the one that returns to the main window
// unless the opener chose the one that ends the program.
void ChooseReturningOk(Label& returning, Label& ending) {
  returning.SetVisible(true);
  returning.SetEnabled(true);
  ending.SetVisible(false);
  ending.SetEnabled(false);
}

}  // namespace

std::string UsageText(const std::string& defaultSwitches) {
  std::string text = "Command Line Usage:\r\nquellor -[x] -f -tyy -czz -oww\r\n[x]  is ";
  const std::span<const Operation> rows = Operations();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::size_t left = rows.size() - 1 - i;
    text += rows[i].switchLetter + std::string(left > 1 ? ", " : left == 1 ? " or " : "");
    if (left > 1) text += rows[i].usagePad;
  }
  text += ", where\r\n";
  for (const Operation& row : Operations()) {
    text += std::string{'-', row.switchLetter} + "  : " + row.helpLine + "\r\n";
  }
  // One line of two sentences.
  constexpr const char* kForceCloseLine =
      "-f  : Forces running applications to close without warning. "
      "This will not prompt for File-Save in any open applications, "
      "so will result in a loss of all unsaved data!!!";
  constexpr const char* kLines[] = {
      "",
      kForceCloseLine,
      "",
      "yy  : timer in secs",
      "",
      "zz  : CPU Usage in %",
      "",
      "ww  : 0 = Timer only",
      "         1 = CPU idle only",
      "         2 = Timer AND CPU idle",
      "         3 = Timer OR CPU idle",
      "",
      "-?  : Show this help menu",
      "",
  };
  for (const char* line : kLines) {
    text += line;
    text += "\r\n";
  }
  text += "default : " + defaultSwitches;
  return text;
}

std::string VersionLine() {
  return "Version :" + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
         std::to_string(kVersionRevision);
}

Form2::Form2(ProgramState& program)
    : Form("Form2"),
      Label3("Label3", ids::form2::kLabel3),
      Label4("Label4", ids::form2::kLabel4),
      Text1("Text1", ids::form2::kText1),
      Label5("Label5", ids::form2::kLabel5),
      Label2("Label2", ids::form2::kLabel2),
      Label1("Label1", ids::form2::kLabel1),
      program_(program) {
  Caption = "Quellor Help";
  WindowClass = ids::kForm2Class;
  Style = FormStyle::FixedDialog;
  BackColor = kHelpWindowColor;
  ClientWidth = 3495;
  ClientHeight = 4695;

  Place(Label3, nullptr, {120, 240, 3255, 375});
  Label3.SetCaption("Quellor");
  Place(Label4, nullptr, {120, 600, 3255, 375});
  for (Label* heading : {&Label3, &Label4}) {
    heading->Align = Alignment::Center;
    heading->TextFont = Font{"Courier", 9.75f, true};
    heading->SetForeColor(kRed);
  }

  Place(Text1, nullptr, {120, 960, 3255, 3015});
  Text1.MultiLine = true;
  Text1.VerticalScrollBar = true;
  Text1.BackColor = kUsageBackColor;
  Text1.HasBackColor = true;
  Text1.AccessibleName = "Switches";

  Place(Label5, nullptr, {120, 4200, 1695, 375});
  MakeLabelButton(Label5, kLabelButtonFont, kBlue, PressedLook::UntilReleased);
  Label5.SetCaption("Online Help");
  // The two OK labels lie on top of each other; one is active at a time.
  Place(Label2, nullptr, {2280, 4200, 1095, 375});
  MakeLabelButton(Label2, kLabelButtonFont, kBlue, PressedLook::UntilDesign);
  Label2.SetCaption("OK");
  Place(Label1, nullptr, {2280, 4200, 1095, 375});
  MakeLabelButton(Label1, kLabelButtonFont, kBlue, PressedLook::UntilDesign);
  Label1.SetCaption("OK");
  ChooseReturningOk(Label2, Label1);

  Add({&Label3, &Label4, &Text1, &Label5, &Label2, &Label1});

  Label1.OnClick = [this] { Label1_Click(); };
  Label2.OnClick = [this] { Label2_Click(); };
  Label5.OnClick = [this] { Label5_Click(); };
  OnCloseRequest = [this] { Form_QueryUnload(); };
}

// The OK labels' visibility is the opener's choice, made before the window is
// shown; loading leaves it alone, and unloading puts the design back.
void Form2::Design() {
  Label4.SetCaption("Version : ");
  Text1.SetText("Text1");
  Text1.SetSelection(0, 0);
  for (Label* button : {&Label5, &Label2, &Label1}) button->SetSunken(false);
  Label5.SetForeColor(kBlue);
}

void Form2::Form_Load() {
  Form1& form1 = program_.MainWindow();
  form1.Hide();
  form1.SetEnabled(false);
  form1.Timer1.SetEnabled(false);
  Label4.SetCaption(VersionLine());
  Text1.SetText(UsageText(program_.DefaultSwitches));
}

void Form2::Form_Unload() {
  ChooseReturningOk(Label2, Label1);
}

void Form2::ShowWithOk(bool endsProgram) {
  // Showing loads the window first; the choice of OK label is made on the
  // loaded window, so nothing its loading sets up can undo it, and nothing
  // is drawn in between.
  Show();
  Label1.SetEnabled(endsProgram);
  Label1.SetVisible(endsProgram);
  Label2.SetEnabled(!endsProgram);
  Label2.SetVisible(!endsProgram);
}

void Form2::Label2_Click() {
  Form1& form1 = program_.MainWindow();
  form1.Show();
  form1.SetEnabled(true);
  form1.Timer1.SetEnabled(true);
  Unload();
}

void Form2::Label1_Click() {
  program_.Os.process.EndProcess(platform::kExitDone);
}

void Form2::Label5_Click() {
  program_.OpenHomePage(*this);
}

void Form2::Form_QueryUnload() {
  // Closed by other means than its OK labels: do what the visible OK does, so
  // the main window never stays hidden with its tick stopped.
  if (Label1.Visible()) {
    Label1_Click();
  } else {
    Label2_Click();
  }
}

}  // namespace quellor
