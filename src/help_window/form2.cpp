#include "help_window/form2.h"

#include "common/control_ids.h"

// Placeholder until the help window lands.
namespace quellor {
std::string UsageText(const std::string&) {
  return {};
}
std::string VersionLine() {
  return {};
}
Form2::Form2(Program& program)
    : Form("Form2", 2),
      Label3("Label3", ids::form2::kLabel3),
      Label4("Label4", ids::form2::kLabel4),
      Text1("Text1", ids::form2::kText1),
      Label5("Label5", ids::form2::kLabel5),
      Label2("Label2", ids::form2::kLabel2),
      Label1("Label1", ids::form2::kLabel1),
      program_(program) {}
void Form2::Label1_Click() {}
void Form2::Label2_Click() {}
void Form2::Label5_Click() {}
void Form2::Form_QueryUnload() {}
void Form2::Design() {}
void Form2::Form_Load() {}
}  // namespace quellor
