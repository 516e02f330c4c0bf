// qv_rc5_send [-t TOGGLE] [-g GAP_MS] DEVICE ADDRESS:COMMAND...
// Sends RC-5 frames through a lirc device (for the kernel rig: the loopback
// remote-control device, whose receiver decodes them again). Each code is one
// key press: the toggle bit starts at TOGGLE (0) and flips after every frame,
// as a remote control's does between presses; GAP_MS (150) of silence
// separates the frames. The frames are written as pulse and space durations,
// because a scancode written in LIRC_MODE_SCANCODE cannot carry the toggle.
#include <fcntl.h>
#include <linux/lirc.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "rc5_frame.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: qv_rc5_send [-t 0|1] [-g GAP_MS] DEVICE ADDRESS:COMMAND...\n");
  return 2;
}

bool WriteAll(int fd, const std::vector<uint32_t>& train) {
  const size_t bytes = train.size() * sizeof(uint32_t);
  const ssize_t n = write(fd, train.data(), bytes);
  return n >= 0 && static_cast<size_t>(n) == bytes;
}

}  // namespace

int main(int argc, char** argv) {
  bool toggle = false;
  unsigned gapMs = 150;
  int opt;
  while ((opt = getopt(argc, argv, "t:g:")) != -1) {
    if (opt == 't' && (std::strcmp(optarg, "0") == 0 || std::strcmp(optarg, "1") == 0)) {
      toggle = optarg[0] == '1';
    } else if (opt == 'g') {
      char* end = nullptr;
      const unsigned long value = std::strtoul(optarg, &end, 10);
      if (*optarg == '\0' || *end != '\0' || value > 10000) return Usage();
      gapMs = static_cast<unsigned>(value);
    } else {
      return Usage();
    }
  }
  if (argc - optind < 2) return Usage();
  const char* device = argv[optind];
  std::vector<rc5::Frame> frames;
  for (int i = optind + 1; i < argc; ++i) {
    const std::optional<rc5::Frame> frame = rc5::ParseFrame(argv[i]);
    if (!frame) {
      std::fprintf(stderr, "qv_rc5_send: not an RC-5 code (address 0-31, command 0-127): %s\n",
                   argv[i]);
      return 2;
    }
    frames.push_back(*frame);
  }

  const int fd = open(device, O_WRONLY | O_CLOEXEC);
  if (fd < 0) {
    std::fprintf(stderr, "qv_rc5_send: %s: %s\n", device, std::strerror(errno));
    return 1;
  }
  uint32_t mode = LIRC_MODE_PULSE;
  if (ioctl(fd, LIRC_SET_SEND_MODE, &mode) != 0) {
    std::fprintf(stderr, "qv_rc5_send: %s cannot send pulses: %s\n", device, std::strerror(errno));
    close(fd);
    return 1;
  }
  for (size_t i = 0; i < frames.size(); ++i) {
    rc5::Frame frame = frames[i];
    frame.toggle = toggle;
    // The write returns once the device has sent the frame.
    if (!WriteAll(fd, *rc5::PulseTrain(frame))) {
      std::fprintf(stderr, "qv_rc5_send: writing to %s failed: %s\n", device, std::strerror(errno));
      close(fd);
      return 1;
    }
    toggle = !toggle;
    if (i + 1 < frames.size()) usleep(gapMs * 1000);
  }
  close(fd);
  return 0;
}
