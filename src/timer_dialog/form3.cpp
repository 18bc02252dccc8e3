#include "timer_dialog/form3.h"

#include "common/control_ids.h"

// Placeholder until the timer dialog lands.
namespace quellor {
Form3::Form3(Program& program)
    : Form("Form3", 3),
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
      program_(program) {}
void Form3::Option1_Click() {}
void Form3::Option2_Click() {}
void Form3::Text_GotFocus(TextBox&) {}
void Form3::Text1_Validate() {}
void Form3::Text2_Validate() {}
void Form3::Text3_Validate() {}
void Form3::Label5_Click() {}
void Form3::Label6_Click() {}
void Form3::Timer1_Timer() {}
void Form3::Form_MouseMove(const MouseArgs&) {}
void Form3::Form_QueryUnload() {}
void Form3::CloseDialog() {}
void Form3::Design() {}
void Form3::Form_Load() {}
}  // namespace quellor
