// The numeric spin control and the range check: positions, stepping, the buddy's text, parsing
// and the interval messages as tables; the data exchange in a dialog as the user meets it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "controls/NumericRange.h"
#include "controls/NumericSpinCtrl.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/comctl/UpDown.h"
#include "platform/display/InputSynth.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/Dialog.h"
#include "platform/user/MessageBox.h"
#include "tests/platform/mfc/MfcTestSupport.h"

namespace {

using namespace numeric_range;

constexpr UINT kSpinDialog = 64400, kEdit = 64410, kSpin = 64411;

TEST(NumericRange, PositionsAreTheStepsThatFitUpTo32767) {
  struct Case {
    double minimum, maximum, step;
    int positions;
  };
  const Case kCases[] = {
      {-100, 100, 0.5, 400}, {0, 100000, 1, 32767}, {0, 100, 1, 100},          {100, 0, 1, 100},
      {0, 1, 0.3, 3},        {5, 5, 1, 0},          {0, 1e300, 1e-300, 32767}, {0, DBL_MAX, -DBL_MAX, 1},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(PositionsFor(c.minimum, c.maximum, c.step), c.positions)
        << c.minimum << ".." << c.maximum << "/" << c.step;
}

TEST(NumericRange, TheIntegerPositionFollowsTheValueInProportion) {
  struct Case {
    double minimum, maximum;
    int positions;
    double value;
    int pos;
  };
  const Case kCases[] = {
      {0, 100, 100, 12.4, 12},   {0, 100, 100, 12.5, 13},    {-100, 100, 400, 0, 200},
      {-100, 100, 400, -150, 0}, {-100, 100, 400, 150, 400}, {0, 100, 100, std::nan(""), 0},
  };
  for (const Case& c : kCases)
    EXPECT_EQ(IntPosFor(c.minimum, c.maximum, c.positions, c.value), c.pos) << c.value;
}

TEST(NumericRange, SteppingPastAnEndClampsOrWrapsBeyondTheTolerance) {
  struct Case {
    double current;
    int delta;
    bool wrap;
    double result;
  };
  // Range 0 to 10, step 1.
  const Case kCases[] = {
      {5, +1, false, 6}, {9.5, +1, false, 10},   {10, +1, false, 10}, {10, +1, true, 0},
      {0, -1, false, 0}, {0, -1, true, 10},      {0.5, -1, false, 0}, {10 - 1 + 5e-10, +1, false, 10 + 5e-10},
      {3, +3, false, 6}, {1e308, +1, false, 10},
  };
  for (const Case& c : kCases)
    EXPECT_DOUBLE_EQ(StepValue(0, 10, 1, c.current, c.delta, c.wrap), c.result)
        << c.current << " " << c.delta << (c.wrap ? " wrap" : "");
  EXPECT_EQ(StepValue(0, 10, 1, 10 + 5e-10 - 1, +1, false), 10 + 5e-10 - 1 + 1)
      << "within the tolerance: kept";
}

TEST(NumericRange, TheBuddyTextHasItsDecimalsWithTrailingZerosTrimmed) {
  struct Case {
    double value;
    int decimals;
    bool trim;
    const char* text;
  };
  const Case kCases[] = {
      {12.5, 2, true, "12.5"},    {12, 2, true, "12"},
      {100, 2, true, "100"},      {12.5, 2, false, "12.50"},
      {0.125, -1, true, "0.125"}, {1.5e20, 2, true, "1.5e+20"},
      {1e20, 2, true, "1e+20"},   {1.25e-7, 3, true, "1.25e-07"},
      {-0.5, 0, true, "-0"},      {3.14159, 400, true, "3.14159"},
  };
  for (const Case& c : kCases) EXPECT_EQ(FormatValue(c.value, c.decimals, c.trim, '.'), c.text) << c.value;
}

TEST(NumericRange, OnlyFormatsThatTakeOneRealNumberAreAccepted) {
  const struct {
    const char* format;
    bool ok;
  } kCases[] = {{"%.1f s", true}, {"%g", true},     {"%+08.3e%%", true}, {"%s", false},
                {"%d", false},    {"%f %f", false}, {"100%", false},     {"plain", false}};
  for (const auto& c : kCases) EXPECT_EQ(IsValueFormat(c.format), c.ok) << c.format;
}

TEST(NumericRange, ATypedNumberMayHaveBlanksAroundItAndNothingElse) {
  const struct {
    const char* text;
    bool ok;
    double value;
  } kCases[] = {{"  2.5\t", true, 2.5}, {"-0", true, 0},    {"0", true, 0},    {".5", true, 0.5},
                {"1e3", true, 1000},    {"2.5x", false, 0}, {"", false, 0},    {"abc", false, 0},
                {"nan", false, 0},      {"inf", false, 0},  {"1 2", false, 0}, {"-", false, 0}};
  for (const auto& c : kCases) {
    double value = -1;
    EXPECT_EQ(ParseDouble(c.text, &value), c.ok) << c.text;
    if (c.ok) EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(NumericRange, TheIntervalInTheTextDecidesAndNamesTheMessage) {
  const std::string pan = "Pan X limit to ";
  const struct {
    double value;
    const char* range;
    const char* message;  // null: in range
  } kCases[] = {
      {150, "Pan X limit to [-100.00, 100.00]",
       "Pan X limit to is out of range. The valid value range is [-100.00, 100.00]."},
      {100, "Pan X limit to [-100.00, 100.00]", nullptr},
      {-100, "Pan X limit to [-100.00, 100.00]", nullptr},
      {100, "Pan X limit to (-100.00, 100.00)",
       "Pan X limit to is out of range. The valid value range is (-100.00, 100.00)."},
      {-1, "[0, inf]", "Value is out of range. The value should be greater than or equal to 0"},
      {0, "[0, inf]", nullptr},
      {1e300, "[0, INF]", nullptr},
      {0, "(0, ~]", "Value is out of range. The value should be greater than 0"},
      {10, "Size [-~, 10)", "Size is out of range. The value should be less than 10"},
      {10, "Size [-inf, 10]", nullptr},
      {1e300, "(-Inf, inf)", nullptr},
      {5, "no interval here", nullptr},
      {5, "broken ], [ order", nullptr},
      {5, "Zoom [20.00 500.00]", nullptr},
      {10, "Zoom Factor limit to [20.00, 500.00]",
       "Zoom Factor limit to is out of range. The valid value range is [20.00, 500.00]."},
  };
  for (const auto& c : kCases) {
    std::string message = "stale";
    EXPECT_EQ(CheckRange(c.value, c.range, &message), c.message == nullptr) << c.range << " " << c.value;
    EXPECT_EQ(message, c.message ? c.message : "") << c.range << " " << c.value;
  }
}

TEST(NumericRange, LoadedValuesShowThreeSignificantDigitsWithoutLosingWholeNumbers) {
  const struct {
    double value;
    const char* text;
  } kCases[] = {{3.14159, "3.14"},     {100, "100"},     {-0.5, "-0.5"},
                {0.001234, "0.00123"}, {1234.7, "1235"}, {250000, "250000"}};
  for (const auto& c : kCases) EXPECT_EQ(LoadText(c.value), c.text) << c.value;
}

// A dialog with the spin control and the checked value, driven by steps played whenever its
// loop waits idle.
class CSpinTestDlg : public CDialog {
 public:
  CSpinTestDlg() : CDialog(kSpinDialog) {}
  double m_value = 0;
  const char* m_range = "Pan X limit to [-100.00, 100.00]";
  CNumericSpinCtrl m_spin;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kSpin, m_spin);
    DDX_DoubleRange(pDX, kEdit, m_value, m_range);
  }
};

class SpinDialogTest : public testing_mfc::MfcTest {
 protected:
  static void SetUpTestSuite() {
    MfcTest::SetUpTestSuite();
    InitCommonControls();
  }
  // Runs `steps`, one each time the dialog's loop waits idle; the dialog's result.
  static INT_PTR Run(CSpinTestDlg& dialog, const std::vector<std::function<void()>>& steps) {
    testing_mfc::IdleScript script;
    for (const auto& step : steps) script.Then(step);
    const INT_PTR result = dialog.DoModal();
    EXPECT_TRUE(script.Done());
    return result;
  }
  static std::string EditText(CDialog& dialog) {
    CString text;
    dialog.GetDlgItemText(kEdit, text);
    return text.GetString();
  }
  static std::string ActiveText() {
    return testing_mfc::TextOf(::GetDlgItem(::GetActiveWindow(), pictavo::user::kMessageBoxTextId));
  }
};

TEST_F(SpinDialogTest, SavingOutsideTheIntervalTellsTheUserAndKeepsTheDialog) {
  CSpinTestDlg dialog;
  dialog.m_value = 3.14159;
  std::string loaded, told;
  const INT_PTR result = Run(dialog, {
                                         [&] { loaded = EditText(dialog); },
                                         [&] { dialog.SetDlgItemText(kEdit, "150"); },
                                         [] { pictavo::display::PressKey(VK_RETURN); },
                                         [&] { told = ActiveText(); },
                                         [] { pictavo::display::PressKey(VK_RETURN); },  // the message
                                         [&] { dialog.SetDlgItemText(kEdit, "100"); },
                                         [] { pictavo::display::PressKey(VK_RETURN); },
                                     });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(loaded, "3.14");
  EXPECT_EQ(told, "Pan X limit to is out of range. The valid value range is [-100.00, 100.00].");
  EXPECT_EQ(dialog.m_value, 100);
}

TEST_F(SpinDialogTest, LettersGetTheStandardMessageBeforeAnyRangeCheck) {
  CSpinTestDlg dialog;
  std::string told;
  const INT_PTR result = Run(dialog, {
                                         [&] { dialog.SetDlgItemText(kEdit, "abc"); },
                                         [] { pictavo::display::PressKey(VK_RETURN); },
                                         [&] { told = ActiveText(); },
                                         [] { pictavo::display::PressKey(VK_RETURN); },
                                         [] { pictavo::display::PressKey(VK_ESCAPE); },
                                     });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(told, "Please enter a number.");
}

TEST_F(SpinDialogTest, TheArrowsStepTheBuddyAndWrapOrClampAtTheEnds) {
  struct Case {
    bool wrap;
    const char* start;
    int presses;  // up-arrow key presses on the spin control
    const char* shown;
  };
  const Case kCases[] = {{false, "99", 3, "100"}, {true, "99.5", 2, "-100"}, {false, "12", 1, "12.5"}};
  for (const Case& c : kCases) {
    CSpinTestDlg dialog;
    std::string shown;
    std::vector<std::function<void()>> steps;
    steps.push_back([&] {
      if (c.wrap) dialog.m_spin.ModifyStyle(0, UDS_WRAP);
      dialog.m_spin.SetDecimals(2);
      dialog.m_spin.SetRange(-100, 100, 0.5);
      dialog.m_spin.SetPos(std::atof(c.start));
      dialog.GetDlgItem(kEdit)->SetFocus();
    });
    for (int i = 0; i < c.presses; ++i) steps.push_back([] { pictavo::display::PressKey(VK_UP); });
    steps.push_back([&] { shown = EditText(dialog); });
    steps.push_back([] { pictavo::display::PressKey(VK_ESCAPE); });
    EXPECT_EQ(Run(dialog, steps), IDCANCEL) << c.start;
    EXPECT_EQ(shown, c.shown) << c.start;
  }
}

}  // namespace
