// The help and version window.
//
// Its design controls:
//   Label3   the title "Quellor"
//   Label4   the version line
//   Text1    the command-line usage text
//   Label5   Online Help: opens the home page
//   Label2   OK that returns to the main window
//   Label1   OK that ends the program (help asked for on the command line)
#pragma once

#include <string>

#include "common/form.h"
// Generated from the build's project(VERSION).
#include "quellor_version.h"

namespace quellor {

class ProgramState;

inline constexpr Color kHelpWindowColor = Rgb(255, 224, 192);
inline constexpr Color kUsageBackColor = Rgb(224, 224, 224);

inline constexpr int kVersionMajor = QUELLOR_VERSION_MAJOR;
inline constexpr int kVersionMinor = QUELLOR_VERSION_MINOR;
inline constexpr int kVersionRevision = QUELLOR_VERSION_PATCH;

// The command-line usage text shown in the help window, lines joined by CR LF.
std::string UsageText(const std::string& defaultSwitches);
// "Version :2.0.3".
std::string VersionLine();

class Form2 : public Form {
 public:
  explicit Form2(ProgramState& program);

  Label Label3;
  Label Label4;
  TextBox Text1;
  Label Label5;
  Label Label2;  // OK: back to the main window
  Label Label1;  // OK: ends the program

  // Shows the window with one of its two OK labels: Label1, which ends the
  // program, or Label2, which returns to the main window.
  void ShowWithOk(bool endsProgram);

  void Label1_Click();
  void Label2_Click();
  void Label5_Click();
  void Form_QueryUnload();

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_Unload() override;

 private:
  ProgramState& program_;
};

}  // namespace quellor
