// Tests of the Windows side that need no display: unit conversions, the look
// decided from the models, and the registry, counter and process services
// against the real system.
// First, so that the interfaces keep their names (see services.h).
#include "platform/win32/services.h"

#include <algorithm>

#include "check.h"
#include "platform/win32/layout.h"
#include "platform/win32/units.h"

namespace quellor::win32 {
namespace {

using platform::CounterHandle;
using platform::KeyHandle;
using platform::QueryHandle;
using platform::Status;

// ---- Units ----

QUELLOR_TEST(TwipsBecomePixelsAtTheGivenResolution) {
  CHECK_EQ(TwipsToPixels(1440, 96), 96);
  CHECK_EQ(TwipsToPixels(15, 96), 1);
  CHECK_EQ(TwipsToPixels(7, 96), 0);
  CHECK_EQ(TwipsToPixels(8, 96), 1);
  CHECK_EQ(TwipsToPixels(4830, 144), 483);
  CHECK_EQ(TwipsToPixels(-300, 96), -20);
  CHECK_EQ(PixelsToTwips(65, 96), 975.0f);
  CHECK_EQ(PixelsToTwips(-20, 96), -300.0f);
  CHECK_EQ(PixelsToTwips(96, 192), 720.0f);
}

QUELLOR_TEST(RectanglesKeepTheirEdges) {
  const RECT r = TwipsToPixelRect({975, 120, 2745, 240}, 96);
  CHECK_EQ(r.left, 65L);
  CHECK_EQ(r.top, 8L);
  CHECK_EQ(r.right, 248L);
  CHECK_EQ(r.bottom, 24L);
  // Two touching rectangles stay touching whatever the rounding.
  const RECT a = TwipsToPixelRect({0, 0, 1007, 10}, 120);
  const RECT b = TwipsToPixelRect({1007, 0, 500, 10}, 120);
  CHECK_EQ(a.right, b.left);
  const Rect back = PixelRectToTwips(RECT{65, 8, 248, 24}, 96);
  CHECK(back == (Rect{975, 120, 2745, 240}));
}

QUELLOR_TEST(FontHeightsFollowPointsAndResolution) {
  CHECK_EQ(FontHeight(8.25f, 96), -11);
  CHECK_EQ(FontHeight(12, 96), -16);
  CHECK_EQ(FontHeight(12, 144), -24);
  CHECK_EQ(FontHeight(9.75f, 96), -13);
}

QUELLOR_TEST(MouseFlagsBecomeButtonsAndShiftState) {
  CHECK_EQ(HeldButtons(MK_LBUTTON), 1);
  CHECK_EQ(HeldButtons(MK_RBUTTON), 2);
  CHECK_EQ(HeldButtons(MK_MBUTTON), 4);
  CHECK_EQ(HeldButtons(MK_LBUTTON | MK_RBUTTON | MK_SHIFT), 3);
  CHECK_EQ(HeldButtons(MK_SHIFT | MK_CONTROL), 0);
  CHECK_EQ(ShiftState(MK_SHIFT, false), 1);
  CHECK_EQ(ShiftState(MK_CONTROL | MK_LBUTTON, true), 6);
}

// ---- The look decided from the models ----

struct SampleForm : Form {
  SampleForm() : Form("Form2", 2) {
    for (Control* c : std::initializer_list<Control*>{&Frame1, &Label5, &Shape1, &Frame2, &Option1,
                                                      &Text1, &Check1, &Combo1}) {
      Add(*c);
    }
    Frame1.Position = {120, 720, 4590, 3045};
    Frame2.Container = &Frame1;
    Frame2.Position = {120, 1320, 4335, 1095};
    Option1.Container = &Frame2;
    Option1.Position = {120, 360, 1335, 255};
    Label5.Container = &Frame1;
    Label5.Position = {120, 720, 1095, 375};
    Shape1.Container = &Frame1;
    Shape1.Position = Label5.Position;
  }
  Frame Frame1{"Frame1", 1};
  Label Label5{"Label5", 2};
  Shape Shape1{"Shape1", 3};
  Frame Frame2{"Frame2", 4};
  OptionButton Option1{"Option1", 5};
  TextBox Text1{"Text1", 6};
  CheckBox Check1{"Check1", 7};
  ComboBox Combo1{"Combo1", 8};
};

QUELLOR_TEST(PositionsAddUpTheirContainers) {
  SampleForm form;
  CHECK(PositionInForm(form.Option1) == (Rect{360, 2400, 1335, 255}));
  CHECK(PositionInForm(form.Label5) == (Rect{240, 1440, 1095, 375}));
  CHECK(PositionInForm(form.Frame1) == form.Frame1.Position);
  CHECK_EQ(Depth(form.Option1), 2);
  CHECK_EQ(Depth(form.Frame1), 0);
}

QUELLOR_TEST(EachKindGetsItsNativeClassAndStyles) {
  SampleForm form;
  form.Label5.Align = Alignment::Center;
  form.Label5.Border = true;
  NativeKind kind = KindOf(form.Label5);
  CHECK_EQ(std::string(kind.className), std::string("STATIC"));
  CHECK((kind.style & SS_NOTIFY) != 0);
  CHECK_EQ(kind.style & SS_TYPEMASK, static_cast<DWORD>(SS_CENTER));
  CHECK((kind.style & WS_BORDER) != 0);
  CHECK((kind.exStyle & WS_EX_STATICEDGE) == 0);

  form.Check1.TabStop = true;
  kind = KindOf(form.Check1);
  CHECK_EQ(std::string(kind.className), std::string("BUTTON"));
  CHECK_EQ(kind.style & BS_TYPEMASK, static_cast<DWORD>(BS_CHECKBOX));
  CHECK((kind.style & WS_TABSTOP) != 0);
  kind = KindOf(form.Option1);
  CHECK_EQ(kind.style & BS_TYPEMASK, static_cast<DWORD>(BS_RADIOBUTTON));
  CHECK((kind.style & WS_TABSTOP) == 0);
  kind = KindOf(form.Frame1);
  CHECK_EQ(kind.style & BS_TYPEMASK, static_cast<DWORD>(BS_GROUPBOX));
  kind = KindOf(form.Combo1);
  CHECK_EQ(std::string(kind.className), std::string("COMBOBOX"));
  CHECK_EQ(kind.style & 3, static_cast<DWORD>(CBS_DROPDOWNLIST));
  kind = KindOf(form.Shape1);
  CHECK_EQ(kind.style & SS_TYPEMASK, static_cast<DWORD>(SS_BLACKFRAME));
  CHECK((kind.style & SS_NOTIFY) == 0);

  form.Text1.Align = Alignment::Center;
  kind = KindOf(form.Text1);
  CHECK_EQ(std::string(kind.className), std::string("EDIT"));
  CHECK((kind.style & ES_CENTER) != 0);
  CHECK((kind.style & ES_MULTILINE) == 0);
  form.Text1.MultiLine = true;
  form.Text1.VerticalScrollBar = true;
  form.Text1.Align = Alignment::Left;
  kind = KindOf(form.Text1);
  CHECK((kind.style & ES_MULTILINE) != 0);
  CHECK((kind.style & WS_VSCROLL) != 0);
  CHECK((kind.style & ES_CENTER) == 0);
}

QUELLOR_TEST(TheSunkenLookReplacesTheFlatBorder) {
  Label label("Label9", 9);
  label.Border = true;
  DWORD style = WS_CHILD | WS_BORDER;
  DWORD exStyle = 0;
  label.SetSunken(true);
  LabelBorderStyles(label, style, exStyle);
  CHECK((style & WS_BORDER) == 0);
  CHECK((exStyle & WS_EX_STATICEDGE) != 0);
  CHECK((style & WS_CHILD) != 0);
  label.SetSunken(false);
  LabelBorderStyles(label, style, exStyle);
  CHECK((style & WS_BORDER) != 0);
  CHECK((exStyle & WS_EX_STATICEDGE) == 0);
  label.Border = false;
  LabelBorderStyles(label, style, exStyle);
  CHECK((style & WS_BORDER) == 0);
}

QUELLOR_TEST(BackColoursComeFromTheNearestOwner) {
  SampleForm form;
  form.BackColor = Rgb(192, 255, 192);
  CHECK_EQ(BackColorOf(form.Option1, form), Rgb(192, 255, 192));
  form.Frame1.HasBackColor = true;
  form.Frame1.BackColor = Rgb(1, 2, 3);
  CHECK_EQ(BackColorOf(form.Option1, form), Rgb(1, 2, 3));
  form.Option1.HasBackColor = true;
  form.Option1.BackColor = Rgb(4, 5, 6);
  CHECK_EQ(BackColorOf(form.Option1, form), Rgb(4, 5, 6));
  CHECK(UsesSystemBackground(form.Text1));
  CHECK(UsesSystemBackground(form.Combo1));
  CHECK(!UsesSystemBackground(form.Label5));
  form.Combo1.HasBackColor = true;
  CHECK(!UsesSystemBackground(form.Combo1));
}

QUELLOR_TEST(ContainersLieBehindWhatTheyHold) {
  SampleForm form;
  const std::vector<Control*> order = StackingOrder(form);
  CHECK_EQ(order.size(), form.Controls().size());
  auto place = [&](const Control& c) {
    return std::find(order.begin(), order.end(), &c) - order.begin();
  };
  CHECK(place(form.Label5) < place(form.Shape1));
  CHECK(place(form.Shape1) < place(form.Frame2));
  CHECK(place(form.Frame2) < place(form.Frame1));
  CHECK(place(form.Option1) < place(form.Label5));
  // Later windows above earlier ones.
  CHECK(place(form.Combo1) < place(form.Check1));
  CHECK(place(form.Check1) < place(form.Text1));
  CHECK(order.back() == &form.Frame1);
}

QUELLOR_TEST(TheInnermostVisibleFrameIsFoundUnderAPoint) {
  SampleForm form;
  CHECK(FrameAt(form, 200, 800) == &form.Frame1);
  CHECK(FrameAt(form, 400, 2100) == &form.Frame2);
  CHECK(FrameAt(form, 10, 10) == nullptr);
  CHECK(FrameAt(form, 4710, 800) == nullptr);  // right edge is outside
  form.Frame2.SetVisible(false);
  CHECK(FrameAt(form, 400, 2100) == &form.Frame1);
  form.Frame1.SetVisible(false);
  CHECK(FrameAt(form, 400, 2100) == nullptr);
}

QUELLOR_TEST(MissingFontsFallBackToTheirStandIns) {
  auto only = [](std::vector<std::string> names) {
    return [names](const std::string& face) {
      return std::find(names.begin(), names.end(), face) != names.end();
    };
  };
  CHECK_EQ(ChooseFace("Courier", only({"Courier"})), std::string("Courier"));
  CHECK_EQ(ChooseFace("Courier", only({"DejaVu Sans Mono", "Courier New"})),
           std::string("Courier New"));
  CHECK_EQ(ChooseFace("MS Sans Serif", only({"Tahoma"})), std::string("Tahoma"));
  CHECK_EQ(ChooseFace("ms sans serif", only({"Arial"})), std::string("Arial"));
  CHECK_EQ(ChooseFace("MS Sans Serif", only({"Tahoma", "Liberation Sans"})),
           std::string("Liberation Sans"));
  CHECK_EQ(ChooseFace("MS Sans Serif", only({"MS Sans Serif", "Liberation Sans"})),
           std::string("MS Sans Serif"));
  CHECK_EQ(ChooseFace("Tahoma", only({"Liberation Sans", "DejaVu Sans"})),
           std::string("Liberation Sans"));
  CHECK_EQ(ChooseFace("Tahoma", only({"Tahoma", "Liberation Sans"})), std::string("Tahoma"));
  CHECK_EQ(ChooseFace("Courier New", only({"DejaVu Sans Mono", "Liberation Mono"})),
           std::string("Liberation Mono"));
  CHECK_EQ(ChooseFace("Tahoma", only({})), std::string("Tahoma"));
  CHECK_EQ(ChooseFace("Wingdings", only({"Tahoma"})), std::string("Wingdings"));
}

// ---- System services ----

constexpr const char* kTestKey = "Software\\QuellorWindowsTests";

QUELLOR_TEST(TheRegistryKeepsTextsAndNumbers) {
  Win32Registry registry;
  const std::string path = std::string(kTestKey) + "\\Deep\\Settings";
  KeyHandle key = 0;
  CHECK_EQ(registry.RegCreateKeyA(platform::kHkeyCurrentUser, path, key), 0);
  CHECK(key != 0);
  const std::uint8_t text[] = {'a', 'b', 'c', 0};
  CHECK_EQ(registry.RegSetValueExA(key, "Name", platform::kRegSz, text, 4), 0);
  const std::int32_t minusOne = -1;
  CHECK_EQ(registry.RegSetValueExA(key, "Number", platform::kRegDword,
                                   reinterpret_cast<const std::uint8_t*>(&minusOne), 4),
           0);
  CHECK_EQ(registry.RegCloseKey(key), 0);

  KeyHandle opened = 0;
  CHECK_EQ(registry.RegOpenKeyA(platform::kHkeyCurrentUser, path, opened), 0);
  CHECK(opened != 0);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  CHECK_EQ(registry.RegQueryValueExA(opened, "Name", type, nullptr, size), 0);
  CHECK_EQ(type, platform::kRegSz);
  CHECK_EQ(size, 4u);
  std::uint8_t small[2] = {};
  size = 2;
  CHECK_EQ(registry.RegQueryValueExA(opened, "Name", type, small, size), platform::kErrorMoreData);
  CHECK_EQ(size, 4u);
  std::uint8_t data[4] = {};
  size = 4;
  CHECK_EQ(registry.RegQueryValueExA(opened, "Name", type, data, size), 0);
  CHECK_EQ(std::string(reinterpret_cast<const char*>(data)), std::string("abc"));
  std::int32_t number = 0;
  size = 4;
  CHECK_EQ(registry.RegQueryValueExA(opened, "Number", type,
                                     reinterpret_cast<std::uint8_t*>(&number), size),
           0);
  CHECK_EQ(type, platform::kRegDword);
  CHECK_EQ(number, -1);
  // A missing value leaves the type as it was.
  type = 0;
  size = 0;
  CHECK(registry.RegQueryValueExA(opened, "Missing", type, nullptr, size) != 0);
  CHECK_EQ(type, 0u);
  CHECK_EQ(registry.RegCloseKey(opened), 0);

  RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kTestKey) + "\\Deep").c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
}

QUELLOR_TEST(PredefinedRootsBecomeTheSystemsHandles) {
  CHECK(NativeKey(platform::kHkeyCurrentUser) == HKEY_CURRENT_USER);
  CHECK(NativeKey(0x80000002u) == HKEY_LOCAL_MACHINE);
  CHECK(NativeKey(0x1234) == reinterpret_cast<HKEY>(0x1234));
}

QUELLOR_TEST(AMissingKeyOpensAsNoHandle) {
  Win32Registry registry;
  KeyHandle key = 12345;
  CHECK_EQ(registry.RegOpenKeyA(platform::kHkeyCurrentUser,
                                std::string(kTestKey) + "\\Never\\There", key),
           static_cast<Status>(ERROR_FILE_NOT_FOUND));
  CHECK_EQ(key, KeyHandle{0});
}

QUELLOR_TEST(TheFirstProcessorCounterGivesValuesFromTheSecondSample) {
  Win32Pdh pdh;
  QueryHandle query = 0;
  CHECK_EQ(pdh.PdhOpenQuery(1, query), 0);
  CHECK(query != 0);
  CounterHandle counter = 0;
  pdh.PdhVbAddCounter(query, "\\Processor(0)\\% Processor Time", counter);
  CHECK(counter != 0);
  Status status = 0;
  pdh.PdhCollectQueryData(query);
  pdh.PdhVbGetDoubleCounterValue(counter, status);
  CHECK(status != platform::kPdhCstatusValidData && status != platform::kPdhCstatusNewData);
  double value = -1;
  for (int attempt = 0; attempt < 5; ++attempt) {
    Sleep(250);
    pdh.PdhCollectQueryData(query);
    value = pdh.PdhVbGetDoubleCounterValue(counter, status);
    if (status == platform::kPdhCstatusValidData || status == platform::kPdhCstatusNewData) break;
  }
  CHECK(status == platform::kPdhCstatusValidData || status == platform::kPdhCstatusNewData);
  CHECK(value >= 0 && value <= 100);
  CHECK_EQ(pdh.PdhCloseQuery(query), 0);
}

QUELLOR_TEST(AnUnknownCounterGivesNoHandleAndNoValue) {
  Win32Pdh pdh;
  QueryHandle query = 0;
  CHECK_EQ(pdh.PdhOpenQuery(1, query), 0);
  CounterHandle counter = 0;
  CHECK(pdh.PdhVbAddCounter(query, "\\No Such Object(0)\\Nothing", counter) != 0);
  CHECK_EQ(counter, CounterHandle{0});
  pdh.PdhCollectQueryData(query);
  Status status = 0;
  pdh.PdhVbGetDoubleCounterValue(0, status);
  CHECK(status != platform::kPdhCstatusValidData && status != platform::kPdhCstatusNewData);
  pdh.PdhCloseQuery(query);
}

QUELLOR_TEST(TheProcessKnowsItsArgumentsAndTheTime) {
  Win32Process process;
  // ctest starts the tests without arguments.
  CHECK_EQ(process.CommandLineText(), std::string());
  const platform::LocalTime now = process.Now();
  CHECK(now.hour >= 0 && now.hour < 24);
  CHECK(now.minute >= 0 && now.minute < 60);
  CHECK(now.second >= 0 && now.second < 61);
}

QUELLOR_TEST(ACommandOtherThanShutdownStartsNothing) {
  // Would start the command processor if anything but the shutdown command
  // could run; the marker file must stay absent.
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  const std::string marker = std::string(folder) + "quellor-run-marker.txt";
  DeleteFileA(marker.c_str());
  Win32Process().RunCommandLine("cmd /c echo x > \"" + marker + "\"", SW_HIDE);
  Sleep(500);
  CHECK(GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace quellor::win32
