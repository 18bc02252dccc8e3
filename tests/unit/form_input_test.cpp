// What keys, clicks, focus changes, mouse moves and placement mean to the
// forms: the decisions the front end only carries out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/form_input.h"
#include "common/layout.h"
#include "controller/program.h"
#include "fake_platform.h"

namespace quellor::testing {
namespace {

struct Started : fake::Session {
  Started() { Start("-t3000"); }
};

// A form of two nested frames and a label that records what reaches them.
struct Recording : Form {
  Recording() : Form("Recording") {
    Place(outer, nullptr, {100, 200, 2000, 1500});
    Place(inner, &outer, {300, 400, 1000, 600});
    Place(button, nullptr, {0, 0, 500, 300});
    for (Control* c : std::initializer_list<Control*>{&outer, &inner, &button}) Add(*c);
    OnMouseMove = [this](const MouseArgs& a) { Note("form", a); };
    outer.OnMouseMove = [this](const MouseArgs& a) { Note("outer", a); };
    inner.OnMouseMove = [this](const MouseArgs& a) { Note("inner", a); };
    button.OnMouseDown = [this](const MouseArgs&) { log += "down "; };
    button.OnMouseUp = [this](const MouseArgs&) { log += "up "; };
    button.OnClick = [this] { log += "click "; };
  }
  void Note(const char* who, const MouseArgs& a) {
    log += std::string(who) + "@" + std::to_string(int(a.x)) + "," + std::to_string(int(a.y));
  }
  Frame outer{"Outer", 1};
  Frame inner{"Inner", 2};
  Label button{"Button", 3};
  std::string log;
};

TEST(FormInput, TabGoesRoundTheUsableStopsWithEachOptionGroupAsOneStop) {
  Started s;
  Form1& f = s.form;
  Control* const combo = &f.Combo1;
  Control* const method = &f.Option1[kMethodTimerAndCpu];
  EXPECT_EQ(FirstFocus(f), combo);
  const struct {
    Control* from;
    bool backwards;
    Control* to;
  } kRows[] = {
      {combo, false, &f.Check1},      {&f.Check2, false, method},
      {method, false, &f.Text2},      {&f.Text2, false, combo},
      {combo, true, &f.Text2},        {method, true, &f.Check2},
      {nullptr, false, combo},        {nullptr, true, &f.Text2},
      {&f.Option1[0], false, method},  // a focused unselected button still leaves its group
  };
  for (const auto& row : kRows) {
    const KeyOutcome out = KeyDown(f, row.from, NavigationKey::Tab, row.backwards, false);
    EXPECT_TRUE(out.handled);
    EXPECT_EQ(out.focus, row.to) << "from " << (row.from ? row.from->Name() : "nowhere")
                                 << (row.backwards ? " backwards" : "");
  }
  // A disabled box is passed over; Ctrl or Alt leaves Tab to the system.
  f.Option1[kMethodTimer].Select();
  EXPECT_EQ(KeyDown(f, &f.Option1[0], NavigationKey::Tab, false, false).focus, combo);
  EXPECT_FALSE(KeyDown(f, combo, NavigationKey::Tab, false, true).handled);
}

TEST(FormInput, ArrowKeysGoRoundTheGroupAndSelectAsAClickWould) {
  Started s;
  Form1& f = s.form;
  s.program.CountdownSeconds = 3;
  const std::pair<NavigationKey, std::size_t> kRows[] = {{NavigationKey::Down, 3},
                                                         {NavigationKey::Right, 0},
                                                         {NavigationKey::Up, 3},
                                                         {NavigationKey::Left, 2}};
  Control* focus = &f.Option1[kMethodTimerAndCpu];
  for (const auto& [key, to] : kRows) {
    const KeyOutcome out = KeyDown(f, focus, key, false, false);
    ASSERT_TRUE(out.handled);
    EXPECT_EQ(out.focus, &f.Option1[to]);
    EXPECT_TRUE(f.Option1[to].Value()) << "to " << to;
    focus = out.focus;
  }
  EXPECT_EQ(s.program.CountdownSeconds, 10);  // the method's click handling ran
  // Outside a group the arrows are the control's own.
  EXPECT_FALSE(KeyDown(f, &f.Text2, NavigationKey::Down, false, false).handled);
  EXPECT_FALSE(KeyDown(f, nullptr, NavigationKey::Up, false, false).handled);
  EXPECT_FALSE(KeyDown(f, focus, NavigationKey::Up, false, true).handled);
}

TEST(FormInput, ActivationReturnsTheFocusWhereItWasWhileItCanTakeIt) {
  Started s;
  Form1& f = s.form;
  EXPECT_EQ(FocusOnActivation(f, &f.Text2), &f.Text2);
  EXPECT_EQ(FocusOnActivation(f, nullptr), &f.Combo1);
  f.Frame2.SetEnabled(false);  // the box is unusable through its frame
  EXPECT_EQ(FocusOnActivation(f, &f.Text2), &f.Combo1);
  f.Frame1.SetVisible(false);
  EXPECT_EQ(FirstFocus(f), nullptr);
}

TEST(FormInput, AFieldsRuleRunsWhenTheFocusLeavesForTheFormAndABoxClickTicksOnlyAClearOne) {
  Started s;
  CheckBox& box = s.form.Check2;
  for (const auto& [before, after] : {std::pair{0, 1}, std::pair{1, 0}, std::pair{2, 0}}) {
    box.SetDesignValue(before);
    const std::size_t calls = s.user32.Calls.size();
    CheckBoxClicked(box);
    EXPECT_EQ(box.Value(), after) << "from " << before;
    EXPECT_EQ(s.user32.Calls.size(), calls + 1) << "its click handling ran";
  }
  Form3& dialog = s.program.form3;
  dialog.Show();
  for (const auto& [to, after] : {std::pair<const Control*, const char*>{&dialog.Text3, " 60"},
                                  {nullptr, "75"},
                                  {&dialog.Text2, "75"}}) {
    dialog.Text2.SetText("75");
    FocusMoved(dialog.Text2, to);
    EXPECT_EQ(dialog.Text2.Text(), after) << "to " << (to ? to->Name() : "elsewhere");
  }
}

TEST(FormInput, MouseMovesGoToTheInnermostFrameUnderThemRelativeToIt) {
  Recording r;
  const struct {
    float x, y;
    const char* reaches;
  } kRows[] = {{50, 50, "form@50,50"},          {150, 250, "outer@50,50"},
               {450, 650, "inner@50,50"},       {1399, 1199, "inner@999,599"},
               {1400, 1200, "outer@1300,1000"}, {2100, 1700, "form@2100,1700"}};
  for (const auto& row : kRows) {
    r.log.clear();
    RouteMouseMove(r, MouseArgs{kLeftButton, 0, row.x, row.y});
    EXPECT_EQ(r.log, row.reaches) << "at " << row.x << "," << row.y;
  }
  r.inner.SetVisible(false);
  r.log.clear();
  RouteMouseMove(r, MouseArgs{0, 0, 450, 650});
  EXPECT_EQ(r.log, "outer@350,450");
}

TEST(FormInput, ALabelClicksAfterALeftPressReleasedOnIt) {
  // L, R: left or right press; C: the click reported; U, u: released on or
  // off the label; x: the capture lost.
  const std::pair<const char*, const char*> kRows[] = {
      {"LCU", "down up click "},    {"LCu", "down up "},  {"LU", "down up "},  // a double click
      {"RCU", "down up "},          {"LCxU", "down up "}, {"C", "click "},     // not from the mouse
      {"LCUU", "down up click up "}};
  for (const auto& [steps, log] : kRows) {
    Recording r;
    LabelPresses presses;
    int button = kLeftButton;
    for (const char* step = steps; *step != 0; ++step) {
      if (*step == 'L' || *step == 'R') {
        button = *step == 'L' ? kLeftButton : kRightButton;
        presses.MouseDown(r.button, MouseArgs{button, 0, 1, 1});
        EXPECT_TRUE(presses.Pressing(r.button)) << steps;
      } else if (*step == 'U' || *step == 'u') {
        presses.MouseUp(r.button, MouseArgs{button, 0, 1, 1}, *step == 'U');
        EXPECT_FALSE(presses.Pressing(r.button)) << steps;
      } else if (*step == 'C') {
        presses.Clicked(r.button);
      } else {
        presses.CaptureLost(r.button);
      }
    }
    EXPECT_EQ(r.log, log) << steps;
  }
}

TEST(FormInput, MouseFlagsBecomeButtonsAndShiftState) {
  EXPECT_EQ(HeldButtons(kMkLButton), kLeftButton);
  EXPECT_EQ(HeldButtons(kMkRButton | kMkMButton), kRightButton | kMiddleButton);
  EXPECT_EQ(HeldButtons(kMkShift | kMkControl), 0);
  EXPECT_EQ(ShiftState(kMkShift, false), 1);
  EXPECT_EQ(ShiftState(kMkControl | kMkLButton, true), 2 | 4);
}

TEST(Layout, ContainersOffsetPositionsAndLieBehindWhatTheyHold) {
  Started s;
  Form1& f = s.form;
  EXPECT_EQ(PositionInForm(f.Option1[1]), (Rect{120 + 120 + 1680, 720 + 1320 + 360, 1335, 255}));
  EXPECT_EQ(Depth(f.Text2), 2);
  const std::vector<Control*> order = StackingOrder(f);
  ASSERT_EQ(order.size(), f.Controls().size());
  auto at = [&](const Control* c) { return std::find(order.begin(), order.end(), c); };
  for (Control* c : f.Controls()) {
    if (c->Container != nullptr) {
      EXPECT_LT(at(c), at(c->Container)) << c->Name();
    }
  }
  EXPECT_LT(at(&f.Label10), at(&f.Label9));  // later above earlier
  EXPECT_LT(at(&f.Check1), at(&f.Label9));   // windows of their own above labels
  EXPECT_LT(at(&f.Shape1), at(&f.Frame2));   // shapes above frames
}

TEST(Layout, MissingFontsFallBackToTheirClosestStandIns) {
  const struct {
    const char* face;
    std::vector<std::string> installed;
    const char* chosen;
  } kRows[] = {
      {"Courier", {"Courier"}, "Courier"},
      {"Courier", {"DejaVu Sans Mono", "Courier New"}, "Courier New"},
      {"courier new", {"Liberation Mono", "DejaVu Sans Mono"}, "Liberation Mono"},
      {"MS Sans Serif", {"Tahoma", "Liberation Sans"}, "Liberation Sans"},
      {"Tahoma", {"Liberation Sans", "Verdana"}, "Verdana"},
      {"Tahoma", {"DejaVu Sans"}, "Tahoma"},
  };
  for (const auto& row : kRows) {
    const auto installed = [&](const std::string& face) {
      return std::find(row.installed.begin(), row.installed.end(), face) != row.installed.end();
    };
    EXPECT_EQ(ChooseFace(row.face, installed), row.chosen) << row.face;
  }
}

TEST(Layout, OnlyAWindowThatNothingPlacedIsCentred) {
  const Rect area{1000, 500, 9000, 6000};
  Recording fresh, moved, reported;
  fresh.SetOuterSize(3000, 2000);
  moved.Move(0, 0);
  reported.ReportPlacement(0, 0);
  for (Recording* r : {&fresh, &moved, &reported}) PlaceIfNeverPlaced(*r, area);
  EXPECT_EQ((Rect{fresh.Left(), fresh.Top()}), (Rect{4000, 2500}));
  EXPECT_EQ((Rect{moved.Left(), moved.Top()}), (Rect{0, 0}));
  EXPECT_EQ((Rect{reported.Left(), reported.Top()}), (Rect{0, 0}));
}

}  // namespace
}  // namespace quellor::testing
