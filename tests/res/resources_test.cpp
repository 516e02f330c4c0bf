#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "res/control_names.h"
#include "res/dialogs.h"
#include "res/icon.h"
#include "res/resource_ids.h"
#include "res/strings.h"
#include "res/version.h"

namespace {

using Bytes = std::vector<unsigned char>;

uint32_t Be32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}
uint32_t Le32(const unsigned char* p) {
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}
uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[1] << 8 | p[0]); }

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes Embedded(const res::IconImage& image) { return Bytes(image.png, image.png + image.length); }

// Guards against UTF-8 mangled by the build and unknown ids giving a text.
TEST(Strings, TableAndUnknownIds) {
  EXPECT_EQ(res::LoadString(IDS_ABOUTBOX), "&About  QuorvexDemo...");
  // UTF-8 must survive the build: "Не" is D0 9D D0 B5.
  const std::string sockets = res::LoadString(IDP_SOCKETS_INIT_FAILED);
  EXPECT_EQ(sockets.substr(0, 4), "\xD0\x9D\xD0\xB5");
  EXPECT_EQ(sockets.substr(sockets.size() - 16), "Windows Sockets.");
  EXPECT_TRUE(res::LoadString(0).empty());
  EXPECT_TRUE(res::LoadString(102).empty());
}

// Guards against a version resource left behind by a project version bump.
TEST(Version, AgreesWithItselfAndTheProject) {
  const std::string joined =
      std::to_string(res::kVersionMajor) + "." + std::to_string(res::kVersionMinor) + "." +
      std::to_string(res::kVersionBuild) + "." + std::to_string(res::kVersionRevision);
  EXPECT_EQ(res::kFileVersion, joined);
  EXPECT_EQ(res::kProductVersion, joined);
  EXPECT_EQ(joined, QV_PROJECT_VERSION);
}

// Guards against a control a script cannot name, a name left out of the
// table, or a name bound to an id no dialog has.
TEST(ControlNames, NameEveryNumberedControlOfTheDialogs) {
  const fw::DialogTemplate& main = res::MainDialogTemplate();
  const fw::DialogTemplate& about = res::AboutDialogTemplate();
  std::set<int> named;
  for (const res::ControlName& c : res::ControlNames()) {
    EXPECT_TRUE(main.Find(c.id) || about.Find(c.id)) << c.name << " = " << c.id;
    EXPECT_EQ(res::ControlIdByName(c.name), c.id) << c.name << " is also another control's name";
    named.insert(c.id);
  }
  for (const fw::DialogTemplate* t : {&main, &about}) {
    for (const fw::ControlTemplate& c : t->controls) {
      if (c.id < 1000) continue;  // OK, Cancel and the unnumbered labels
      EXPECT_TRUE(named.count(c.id)) << "control " << c.id << " has no name";
    }
  }
  EXPECT_FALSE(res::ControlIdByName("IDC_BTN_TUN"));
}

// Guards against icons of the wrong size or opaque, and lookups rounding down.
TEST(Icon, EmbeddedPngsHaveTheirDeclaredSizes) {
  const std::vector<int> expected{16, 24, 32, 48, 64, 256};
  std::vector<int> sizes;
  for (const auto& image : res::AppIconImages()) {
    sizes.push_back(image.size);
    ASSERT_GT(image.length, 33u);
    const unsigned char* p = image.png;
    EXPECT_EQ(Bytes(p, p + 8), (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    EXPECT_EQ(std::string(p + 12, p + 16), "IHDR");
    EXPECT_EQ(Be32(p + 16), static_cast<uint32_t>(image.size));
    EXPECT_EQ(Be32(p + 20), static_cast<uint32_t>(image.size));
    EXPECT_EQ(p[25], 6) << "RGBA, so the rounded corners stay transparent";
    EXPECT_EQ(std::string(p + image.length - 8, p + image.length - 4), "IEND");
  }
  EXPECT_EQ(sizes, expected);

  EXPECT_EQ(res::AppIconImage(16).size, 16);
  EXPECT_EQ(res::AppIconImage(20).size, 24);
  EXPECT_EQ(res::AppIconImage(128).size, 256);
  EXPECT_EQ(res::AppIconImage(512).size, 256);
}

// The Windows resource's ICO and the PNGs the program embeds come from one
// script run; a stale ICO would show another icon on Windows.
TEST(Icon, WindowsIconHoldsTheEmbeddedImages) {
  const std::string dir = std::string(QV_SOURCE_DIR) + "/res/icons/";
  const Bytes ico = ReadFile(dir + "quorvex.ico");
  ASSERT_GE(ico.size(), 6u);
  EXPECT_EQ(Le16(&ico[0]), 0);
  EXPECT_EQ(Le16(&ico[2]), 1);
  const auto images = res::AppIconImages();
  ASSERT_EQ(Le16(&ico[4]), images.size());
  ASSERT_GE(ico.size(), 6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    const unsigned char* e = &ico[6 + 16 * i];
    const int dim = images[i].size >= 256 ? 0 : images[i].size;
    EXPECT_EQ(e[0], dim);
    EXPECT_EQ(e[1], dim);
    const uint32_t length = Le32(e + 8);
    const uint32_t offset = Le32(e + 12);
    ASSERT_LE(uint64_t{offset} + length, ico.size());
    EXPECT_EQ(Bytes(ico.begin() + offset, ico.begin() + offset + length), Embedded(images[i]));
  }
}

}  // namespace
