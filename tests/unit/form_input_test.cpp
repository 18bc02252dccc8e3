// What keys, clicks, focus changes, mouse moves and placement mean to the
// forms: the decisions the front end only carries out.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "common/form_input.h"
#include "common/layout.h"
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
    Add({&inner, &outer, &button});
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
  // From, backwards or not, to; a focused unselected button still leaves its group.
  const std::tuple<Control*, bool, Control*> kRows[] = {
      {combo, false, &f.Check1}, {&f.Check2, false, method}, {method, false, &f.Text2},
      {&f.Text2, false, combo},  {combo, true, &f.Text2},    {method, true, &f.Check2},
      {nullptr, false, combo},   {nullptr, true, &f.Text2},  {&f.Option1[0], false, method}};
  for (const auto& [from, backwards, to] : kRows) {
    const KeyOutcome out = KeyDown(f, from, NavigationKey::Tab, backwards, false);
    EXPECT_TRUE(out.handled);
    EXPECT_EQ(out.focus, to) << "from " << (from ? from->Name() : "nowhere")
                             << (backwards ? " backwards" : "");
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
  const std::pair<NavigationKey, std::size_t> kRows[] = {// clang-format off
      {NavigationKey::Down, 3}, {NavigationKey::Right, 0}, {NavigationKey::Up, 3},
      {NavigationKey::Left, 2}};
  // clang-format on
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
  // Disabled buttons are passed over; the last usable one keeps the arrow and goes nowhere.
  f.Option1[1].SetEnabled(false);
  f.Option1[3].SetEnabled(false);
  EXPECT_EQ(KeyDown(f, &f.Option1[2], NavigationKey::Down, false, false).focus, &f.Option1[0]);
  f.Option1[0].SetEnabled(false);
  const KeyOutcome alone = KeyDown(f, &f.Option1[2], NavigationKey::Down, false, false);
  EXPECT_TRUE(alone.handled && alone.focus == nullptr);
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

TEST(FormInput, MouseMovesGoToTheInnermostFrameUnderThemRelativeToIt) {
  Recording r;
  const std::tuple<float, float, const char*> kRows[] = {
      {50, 50, "form@50,50"},        {150, 250, "outer@50,50"},     {450, 650, "inner@50,50"},
      {400, 600, "inner@0,0"},       {1399, 1199, "inner@999,599"}, {1400, 700, "outer@1300,500"},
      {500, 1200, "outer@400,1000"}, {399, 700, "outer@299,500"},   {500, 599, "outer@400,399"},
      {2100, 1700, "form@2100,1700"}};
  for (const auto& [x, y, reaches] : kRows) {
    r.log.clear();
    RouteMouseMove(r, MouseArgs{kLeftButton, 0, x, y});
    EXPECT_EQ(r.log, reaches) << "at " << x << "," << y;
  }
  // Labels lie above the other controls, frames below them, an inner frame above its outer one.
  EXPECT_EQ(StackingOrder(r), (std::vector<Control*>{&r.button, &r.inner, &r.outer}));
}

TEST(FormInput, ALabelClicksAfterALeftPressReleasedOnIt) {
  // L, R: left or right press; C: the click reported; U: released at `at`
  // (the label is 500 by 300 twips); x: the capture lost.
  // clang-format off
  struct Case { const char* steps; Rect at{1, 1}; const char* log; };
  const Case cases[] = {
      {.steps = "LCU", .at = {0, 0}, .log = "down up click "},
      {.steps = "LCU", .at = {500, 1}, .log = "down up "},
      {.steps = "LCU", .at = {1, 300}, .log = "down up "},
      {.steps = "LCU", .at = {-1, 1}, .log = "down up "},
      {.steps = "LCU", .at = {1, -1}, .log = "down up "},
      {.steps = "LU", .log = "down up "},  // a double click
      {.steps = "RCU", .log = "down up "},
      {.steps = "LCxU", .log = "down up "},
      {.steps = "C", .log = "click "},  // not from the mouse
      {.steps = "LCUU", .log = "down up click up "},
      {.steps = "LCxLU", .log = "down down up "}};
  // clang-format on
  for (const Case& c : cases) {
    Recording r;
    r.Show();
    LabelPresses presses;
    int button = kLeftButton;
    for (const char* step = c.steps; *step != 0; ++step) {
      if (*step == 'L' || *step == 'R') {
        button = *step == 'L' ? kLeftButton : kRightButton;
        EXPECT_TRUE(presses.MouseDown(r.button, MouseArgs{button, 0, 1, 1})) << c.steps;
      } else if (*step == 'U') {
        presses.MouseUp(r.button, MouseArgs{button, 0, c.at.left, c.at.top});
      } else if (*step == 'C') {
        presses.Clicked(r.button);
      } else {
        presses.CaptureLost(r.button);
      }
    }
    EXPECT_EQ(r.log, c.log) << c.steps << " released at " << c.at.left << "," << c.at.top;
  }
}

// The recording form's label, a check box and an option button, in its outer frame.
struct Clickable : Recording {
  Clickable() {
    Show();
    for (Control* control : All()) Place(*control, &outer, {0, 0, 100, 100});
    Add({&button, &box, &option});
  }
  std::array<Control*, 3> All() { return {&button, &box, &option}; }
  CheckBox box{"Box", 4};
  OptionButton option{"Option", 5};
};

TEST(FormInput, AHiddenOrDisabledControlActsOnNoClickWhateverClaimsOne) {
  // Turned off: their window, else the frame that holds the controls, else each control;
  // hidden, else disabled.
  // clang-format off
  struct Case { const char* off; bool frame = false; bool hide = false; bool acts = false; bool window = false; };
  const Case cases[] = {
      {.off = "nothing", .acts = true},
      {.off = "the controls hidden", .hide = true},
      {.off = "the controls disabled"},
      {.off = "their frame hidden", .frame = true, .hide = true},
      {.off = "their frame disabled", .frame = true},
      {.off = "their window hidden", .hide = true, .window = true},
      {.off = "their window disabled", .window = true}};
  // clang-format on
  for (const Case& c : cases) {
    Clickable r;
    for (Control* control : r.All()) {
      if (c.acts || c.frame || c.window) continue;
      c.hide ? control->SetVisible(false) : control->SetEnabled(false);
    }
    if (c.frame) c.hide ? r.outer.SetVisible(false) : r.outer.SetEnabled(false);
    if (c.window) c.hide ? r.Hide() : r.SetEnabled(false);
    LabelPresses presses;
    EXPECT_EQ(presses.MouseDown(r.button, MouseArgs{kLeftButton, 0, 1, 1}), c.acts) << c.off;
    presses.Clicked(r.button);
    presses.MouseUp(r.button, MouseArgs{kLeftButton, 0, 1, 1});
    presses.Clicked(r.button);  // from the keyboard
    CheckBoxClicked(r.box);
    OptionButtonClicked(r.option);
    EXPECT_EQ(r.log, c.acts ? "down up click click " : "up ") << c.off;
    EXPECT_EQ(r.box.Value(), c.acts ? 1 : 0) << c.off;
    EXPECT_EQ(r.option.Value(), c.acts) << c.off;
  }
}

TEST(FormInput, OnlyATimerMessageThatComesWhenTheTimerIsDueIsATick) {
  // clang-format off
  struct Case { std::uint64_t last, now; unsigned interval; bool tick; };
  const Case cases[] = {
      {.last = 5000, .now = 6000, .interval = 1000, .tick = true},
      {.last = 5000, .now = 5750, .interval = 1000, .tick = true},
      {.last = 5000, .now = 5749, .interval = 1000, .tick = false},
      {.last = 5000, .now = 5001, .interval = 1000, .tick = false},
      {.last = 5000, .now = 4000, .interval = 1000, .tick = false},  // before the start
      {.last = 5000, .now = 5100, .interval = 100, .tick = true}};
  // clang-format on
  for (const Case& c : cases) {
    EXPECT_EQ(IsTimerTick(c.last, c.now, c.interval), c.tick)
        << c.now - c.last << " ms after, interval " << c.interval;
  }
}

TEST(FormInput, AClickTogglesACheckBoxAndSelectsAnOptionButtonOnce) {
  // The countdown is raised to 10 by the method's click handling only.
  // clang-format off
  struct Case { int checkBefore, checkAfter; std::size_t selectedBefore, clicked; int countdownAfter; };
  const Case cases[] = {
      {.checkBefore = 0, .checkAfter = 1, .selectedBefore = 0, .clicked = 2, .countdownAfter = 10},
      {.checkBefore = 1, .checkAfter = 0, .selectedBefore = 2, .clicked = 2, .countdownAfter = 3},
      {.checkBefore = 2, .checkAfter = 0, .selectedBefore = 3, .clicked = 1, .countdownAfter = 10}};
  // clang-format on
  for (const Case& c : cases) {
    Started s;
    Form1& f = s.form;
    f.Check1.SetValue(c.checkBefore);
    CheckBoxClicked(f.Check1);
    EXPECT_EQ(f.Check1.Value(), c.checkAfter) << "from " << c.checkBefore;
    f.Option1[c.selectedBefore].Select();
    s.program.CountdownSeconds = 3;
    f.IdleCountdown = 7;
    OptionButtonClicked(f.Option1[c.clicked]);
    // A new method starts the count again.
    EXPECT_EQ(f.IdleCountdown, c.clicked == c.selectedBefore ? 7 : kIdleTicksRequired);
    EXPECT_EQ(f.SelectedMethod(), static_cast<int>(c.clicked)) << "clicked " << c.clicked;
    EXPECT_EQ(s.program.CountdownSeconds, c.countdownAfter) << "clicked " << c.clicked;
  }
}

TEST(FormInput, AControlIsOutOfDateWhenItOrAnyContainerChanged) {
  // Which of outer, inner and button changes, and which of them are out of date.
  // clang-format off
  struct Case { std::size_t changed; std::array<bool, 3> newRevision; };
  const Case cases[] = {{.changed = 0, .newRevision = {true, true, false}},
                        {.changed = 1, .newRevision = {false, true, false}},
                        {.changed = 2, .newRevision = {false, false, true}}};
  // clang-format on
  for (const Case& c : cases) {
    Recording r;
    Control* const controls[] = {&r.outer, &r.inner, &r.button};
    std::array<std::uint32_t, 3> before{};
    for (std::size_t i = 0; i < 3; ++i) before[i] = RevisionWithContainers(*controls[i]);
    controls[c.changed]->SetCaption("changed");
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(RevisionWithContainers(*controls[i]) != before[i], c.newRevision[i])
          << controls[i]->Name() << " after a change to " << controls[c.changed]->Name();
    }
  }
}

TEST(FormInput, OnlyFocusMovingToAnotherControlOfTheFormLeavesAField) {
  struct Case {
    const char* to;
    bool leaves;
  };
  Recording r;
  int left = 0;
  r.outer.OnLostFocus = [&] { ++left; };
  for (const Case& c :
       {Case{.to = "another window", .leaves = false}, Case{.to = "itself", .leaves = false},
        Case{.to = "inner", .leaves = true}}) {
    left = 0;
    const std::string to = c.to;
    FocusMoved(r.outer, to == "inner" ? &r.inner : (to == "itself" ? &r.outer : nullptr));
    EXPECT_EQ(left, c.leaves ? 1 : 0) << c.to;
  }
}

TEST(FormInput, OnlyAWindowNothingPlacedIsCentredAndUnloadingPutsItsStateBack) {
  struct Host : FormHost {
    void CreateWindowFor(Form& /*form*/) override { log += "create "; }
    void DestroyWindowFor(Form& /*form*/) override { log += "destroy "; }
    std::string log;
  } host;
  Recording r;
  r.Host = &host;
  r.ClientWidth = 1000;
  r.ClientHeight = 500;
  PlaceIfNeverPlaced(r, Rect{100, 200, 3000, 1500});
  EXPECT_EQ(Rect({r.Left(), r.Top()}), Rect({1100, 700}));
  r.Move(0, 0);  // placed by a stored position at the corner
  PlaceIfNeverPlaced(r, Rect{100, 200, 3000, 1500});
  EXPECT_EQ(Rect({r.Left(), r.Top()}), Rect({0, 0}));
  r.Show();
  r.SetEnabled(false);
  r.Unload();
  EXPECT_EQ(host.log, "create destroy ");
  EXPECT_TRUE(r.Enabled() && !r.Visible() && !r.Loaded());
}

TEST(Layout, StackingPutsControlsUnderLabelsUnderShapesUnderFramesInnerFirst) {
  Started s;
  const Form1& f = s.form;
  const std::vector<Control*> order = StackingOrder(f);
  const Control* kBelowToAbove[] = {&f.Text2,  &f.Combo1, &f.Label10, &f.Label8,
                                    &f.Shape2, &f.Shape1, &f.Frame2,  &f.Frame1};
  for (std::size_t i = 0; i + 1 < std::size(kBelowToAbove); ++i) {
    EXPECT_LT(std::find(order.begin(), order.end(), kBelowToAbove[i]),
              std::find(order.begin(), order.end(), kBelowToAbove[i + 1]))
        << kBelowToAbove[i]->Name() << " and " << kBelowToAbove[i + 1]->Name();
  }
}

TEST(Layout, AMissingFaceGivesTheFirstInstalledOfItsKin) {
  // clang-format off
  struct Case { const char* face; std::vector<std::string> installed; const char* chosen; };
  const Case kCases[] = {
      {.face = "Tahoma", .installed = {"Tahoma", "Arial"}, .chosen = "Tahoma"},
      {.face = "Tahoma", .installed = {"Arial", "Verdana"}, .chosen = "Verdana"},
      {.face = "courier", .installed = {"Lucida Console", "Liberation Mono"}, .chosen = "Liberation Mono"},
      {.face = "Courier New", .installed = {"Courier"}, .chosen = "Courier"},
      {.face = "MS Sans Serif", .installed = {"Tahoma", "Arial"}, .chosen = "Arial"},
      {.face = "MS Sans Serif", .installed = {}, .chosen = "MS Sans Serif"},
      {.face = "MS Sans", .installed = {"Arial"}, .chosen = "MS Sans"},
      {.face = "Georgia", .installed = {"Verdana", "Courier New"}, .chosen = "Georgia"}};  // as long as "Courier"
  // clang-format on
  for (const Case& c : kCases) {
    const auto installed = [&](const std::string& face) {
      return std::find(c.installed.begin(), c.installed.end(), face) != c.installed.end();
    };
    EXPECT_EQ(ChooseFace(c.face, installed), c.chosen) << c.face;
  }
}

}  // namespace
}  // namespace quellor::testing
