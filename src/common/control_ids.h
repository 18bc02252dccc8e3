// Native identifiers of the windows and controls. The front end gives each
// control its identifier; the Windows tests find controls by them.
#pragma once

namespace quellor::ids {

// Window class names of the three windows.
inline constexpr const char* kForm1Class = "QuellorForm1";
inline constexpr const char* kForm2Class = "QuellorForm2";
inline constexpr const char* kForm3Class = "QuellorForm3";

namespace form1 {
enum : int {
  kLabel8 = 1008,
  kFrame1 = 1101,
  kLabel2 = 1002,
  kCombo1 = 1201,
  kLabel6 = 1006,
  kLabel7 = 1007,
  kCheck1 = 1301,
  kCheck2 = 1302,
  kShape1 = 1401,
  kLabel5 = 1005,
  kShape2 = 1402,
  kLabel3 = 1003,
  kLabel1 = 1001,
  kFrame2 = 1102,
  kOption1 = 1500,  // + index 0..3
  kLabel4 = 1004,
  kText2 = 1602,
  kLabel9 = 1009,
  kLabel12 = 1012,
  kLabel10 = 1010,
};
}  // namespace form1

namespace form2 {
enum : int {
  kLabel3 = 2003,
  kLabel4 = 2004,
  kText1 = 2601,
  kLabel5 = 2005,
  kLabel2 = 2002,
  kLabel1 = 2001,
};
}  // namespace form2

namespace form3 {
enum : int {
  kOption1 = 3501,
  kOption2 = 3502,
  kLabel7 = 3007,
  kLabel1 = 3001,
  kShape1 = 3401,
  kFrame1 = 3101,
  kLabel2 = 3002,
  kText1 = 3601,
  kLabel3 = 3003,
  kText2 = 3602,
  kLabel4 = 3004,
  kText3 = 3603,
  kLabel5 = 3005,
  kLabel6 = 3006,
};
}  // namespace form3

}  // namespace quellor::ids
