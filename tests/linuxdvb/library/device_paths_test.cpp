// Finding a card's nodes and its remote-control receiver.
#include <gtest/gtest.h>
#include <linux/lirc.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "dvb_paths.h"

namespace ldvb {
namespace {

namespace fs = std::filesystem;

class TempTree : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qv-ldvb-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    unsetenv("QUORVEX_LINUXDVB_RC");
    fs::remove_all(root_);
  }
  void Touch(const std::string& rel) {
    fs::create_directories(fs::path(root_ + "/" + rel).parent_path());
    std::ofstream(root_ + "/" + rel) << "";
  }
  void Write(const std::string& rel, const std::string& text) {
    fs::create_directories(fs::path(root_ + "/" + rel).parent_path());
    std::ofstream(root_ + "/" + rel) << text;
  }
  void Link(const std::string& rel, const std::string& target) {
    fs::create_directories(fs::path(root_ + "/" + rel).parent_path());
    fs::create_directory_symlink(root_ + "/" + target, root_ + "/" + rel);
  }
  std::string root_;
};

// Guards against adapter10 sorting before adapter2 and non-frontend nodes listed.
TEST_F(TempTree, FrontendsComeInNumericAdapterAndFrontendOrder) {
  for (const char* n :
       {"adapter10/frontend0", "adapter2/frontend1", "adapter2/frontend0", "adapter2/demux0",
        "adapter2/frontendX", "adapterA/frontend0", "adapter0/dvr0"})
    Touch(n);
  const std::vector<FrontendNode> nodes = ListFrontends(root_);
  ASSERT_EQ(nodes.size(), 3u);
  EXPECT_EQ(nodes[0].adapter, 2u);
  EXPECT_EQ(nodes[0].frontend, 0u);
  EXPECT_EQ(nodes[1].frontend, 1u);
  EXPECT_EQ(nodes[2].adapter, 10u);
  EXPECT_TRUE(ListFrontends(root_ + "/missing").empty());
  EXPECT_EQ(NodePath("/dev/dvb", 1, "demux", 0), "/dev/dvb/adapter1/demux0");
}

// Guards against another card's receiver used, and a path escape via the environment.
TEST_F(TempTree, TheReceiverOnTheCardsOwnHardwareIsFound) {
  fs::create_directories(root_ + "/devices/pci0/0000:01:00.0");
  fs::create_directories(root_ + "/devices/pci0/0000:02:00.0");
  fs::create_directories(root_ + "/devices/platform/rc-loopback");
  Link("class/dvb/dvb0.frontend0/device", "devices/pci0/0000:01:00.0");
  Link("class/dvb/dvb1.frontend0/device", "devices/pci0/0000:02:00.0");
  Link("class/rc/rc0/device", "devices/platform/rc-loopback");
  Link("class/rc/rc1/device", "devices/pci0/0000:02:00.0");
  Touch("class/rc/rc1/lirc3/dev");
  Link("class/rc/rc2/device", "devices/pci0/0000:01:00.0");
  Touch("class/rc/rc2/input7/event4/dev");
  Write("class/rc/rc2/protocols", "[rc-5] nec rc-6\n");

  const std::optional<RcNode> second = FindRemoteControl(root_, {1, 0});
  ASSERT_TRUE(second);
  EXPECT_EQ(second->path, "/dev/lirc3");
  EXPECT_TRUE(second->lirc);
  // A receiver without lirc is read through its input device.
  const std::optional<RcNode> first = FindRemoteControl(root_, {0, 0});
  ASSERT_TRUE(first);
  EXPECT_EQ(first->path, "/dev/input/event4");
  EXPECT_FALSE(first->lirc);
  EXPECT_EQ(first->protocol, static_cast<uint32_t>(RC_PROTO_RC5));
  EXPECT_FALSE(FindRemoteControl(root_, {5, 0}));

  // A receiver named by the environment serves every adapter.
  setenv("QUORVEX_LINUXDVB_RC", "rc1", 1);
  EXPECT_EQ(FindRemoteControl(root_, {0, 0})->path, "/dev/lirc3");
  setenv("QUORVEX_LINUXDVB_RC", "../rc1", 1);
  EXPECT_FALSE(FindRemoteControl(root_, {0, 0}));
}

// Guards against 1-10 matching 1-1 (a prefix compare).
TEST(DevicePaths, HardwareMatchesOnWholePathComponents) {
  EXPECT_TRUE(SameHardware("/sys/devices/pci0/usb1/1-1", "/sys/devices/pci0/usb1/1-1"));
  EXPECT_TRUE(SameHardware("/sys/devices/pci0/usb1/1-1/1-1:1.0", "/sys/devices/pci0/usb1/1-1"));
  EXPECT_TRUE(SameHardware("/sys/devices/pci0/usb1/1-1", "/sys/devices/pci0/usb1/1-1/1-1:1.0"));
  EXPECT_FALSE(SameHardware("/sys/devices/pci0/usb1/1-10", "/sys/devices/pci0/usb1/1-1"));
  EXPECT_FALSE(SameHardware("", ""));
}

// Guards against guessing the protocol when none or several are enabled.
TEST(DevicePaths, OnlyASingleEnabledProtocolNamesTheInputDevicesCodes) {
  EXPECT_EQ(EnabledProtocol("[rc-5] nec rc-6"), static_cast<uint32_t>(RC_PROTO_RC5));
  EXPECT_EQ(EnabledProtocol("rc-5 [nec]"), static_cast<uint32_t>(RC_PROTO_NEC));
  EXPECT_EQ(EnabledProtocol("[rc-5] [nec]"), 0u);
  EXPECT_EQ(EnabledProtocol("rc-5 nec"), 0u);
  EXPECT_EQ(EnabledProtocol("[rc-5-sz]"), static_cast<uint32_t>(RC_PROTO_RC5_SZ));
  EXPECT_EQ(EnabledProtocol(""), 0u);
}

}  // namespace
}  // namespace ldvb
