// The host's window-free rules: layout arithmetic, filters, default extension,
// texts and assertion lines.
#include "hosts/wx/rules.h"

#include <gtest/gtest.h>

#include "hosts/wx/assert_handler.h"
#include "hosts/wx/wx_text.h"

namespace {

using namespace wxhost;

TEST(Rules, TouchingTemplateRectanglesTouchButNeverOverlapAtAnyScale) {
  for (double s : {1.0, 1.37, 1.5, 1.625, 2.1, 2.999}) {
    const Scale scale{s, s * 1.13};
    for (int x = 0; x < 40; ++x) {
      const PixelRect a = ToPixels(fw::DluRect{x, x, 7, 5}, scale);
      const PixelRect b = ToPixels(fw::DluRect{x + 7, x + 5, 3, 3}, scale);
      EXPECT_EQ(a.Right(), b.x) << s << " " << x;
      EXPECT_EQ(a.Bottom(), b.y) << s << " " << x;
      EXPECT_FALSE(a.Overlaps(b));
    }
  }
}

TEST(Rules, DropDownsKeepTheirClosedHeightOthersTheirOwn) {
  fw::ControlTemplate combo{1007, fw::ControlKind::ComboBox, {}, {60, 60, 36, 96}, 0, {}, 0};
  EXPECT_EQ(ScreenDlu(combo).cy, kClosedComboDlu);
  fw::ControlTemplate list{1013, fw::ControlKind::ListBox, {}, {6, 294, 248, 102}, 0, {}, 0};
  EXPECT_EQ(ScreenDlu(list).cy, 102);
}

TEST(Rules, ScaleGrowsPerAxisUntilEveryControlFitsAndStopsAtTheCap) {
  const Scale base{1.5, 1.75};
  // Fits already: the base stays.
  std::vector<Fit> fits{{fw::ControlKind::Edit, {0, 0, 40, 14}, 0, 20}};
  Scale s = FitScale(base, fits, 2.0);
  EXPECT_DOUBLE_EQ(s.x, 1.5);
  EXPECT_DOUBLE_EQ(s.y, 1.75);
  // A 34-pixel entry in 14 units needs 35/14 = 2.5 pixels per unit; a label
  // 100 pixels wide in 50 units needs 2.02.
  fits.push_back({fw::ControlKind::Edit, {0, 0, 40, 14}, 0, 34});
  fits.push_back({fw::ControlKind::Static, {0, 0, 50, 8}, 100, 10});
  s = FitScale(base, fits, 2.0);
  EXPECT_DOUBLE_EQ(s.y, 2.5);
  EXPECT_DOUBLE_EQ(s.x, 101.0 / 50.0);
  for (const Fit& f : fits) {
    const PixelRect r = ToPixels(f.dlu, s);
    EXPECT_GE(r.width, f.neededWidth);
    EXPECT_GE(r.height, f.neededHeight);
  }
  // One control that wants the moon is cut rather than blowing up the window.
  fits.push_back({fw::ControlKind::Static, {0, 0, 10, 8}, 5000, 0});
  EXPECT_DOUBLE_EQ(FitScale(base, fits, 2.0).x, 3.0);
}

TEST(Rules, WildcardDropsTheTerminatorAndMakesStarDotStarMatchEverything) {
  const std::string log = "Log (*.log)|*.log|All Files (*.*)|*.*||";
  EXPECT_EQ(Wildcard(log, true), "Log (*.log)|*.log|All Files (*.*)|*.*");
  EXPECT_EQ(Wildcard(log, false), "Log (*.log)|*.log|All Files (*.*)|*");
  EXPECT_EQ(Wildcard("Images|*.bin;*.*;*.rom||", false), "Images|*.bin;*;*.rom");
  EXPECT_EQ(Wildcard("", false), "");
  // A dangling description has no pattern to offer.
  EXPECT_EQ(Wildcard("TS (*.ts)|*.ts|Other", false), "TS (*.ts)|*.ts");
}

TEST(Rules, TextsSurviveTheTripAndLegacyBytesStillShow) {
  EXPECT_EQ(FromWx(ToWx("Не удалось")), "Не удалось");
  EXPECT_EQ(FromWx(ToWx("")), "");
  EXPECT_EQ(FromWx(ToWx(std::string("Tuner \xE9t\xE9", 9))), "Tuner été");
  EXPECT_EQ(DescribeAssertion("a.cpp", 12, "F", "x > 0", "bad"),
            "wxWidgets assertion failed: a.cpp:12 in F(): \"x > 0\": bad");
}

}  // namespace
