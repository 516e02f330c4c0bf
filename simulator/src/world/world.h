// The world around the virtual card, as the card's core sees it: the sky and
// the antenna a tuner receives through, what a tune finds there, the DiSEqC
// equipment, the transport stream of a locked carrier and the EEPROM image.
// The core includes no other header of the world: everything it asks of the
// world is declared here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "signal_figures.h"

namespace qvsim {

struct DeviceConfig;
struct DeviceState;
struct Satellite;
struct SkyConfig;
struct TuneRequest;

// ---- The sky, and its satellites for the antenna a configuration describes.

struct Sky;
// The sky of the built-in table.
std::shared_ptr<const Sky> builtInSky();
// The sky a device receives: its configuration's, or the built-in one.
const Sky& skyOf(const DeviceConfig& device);
// A sky built from libdvbv5 channel files (dtv-scan-tables, dvbv5-scan): the
// satellite entries of each file are one satellite named after the file, the
// terrestrial and cable entries the ground channels; a part no file describes
// stays built in. Each carrier is given the level that locks it with a margin
// for its modulation and code rate. Null, with the reason in *problem, when a
// file cannot be read or holds an entry it cannot read; `notes` gets a line
// per file with entries the virtual card cannot place.
std::shared_ptr<const Sky> skyFromChannelFiles(const std::vector<std::string>& paths,
                                               std::string* problem,
                                               std::vector<std::string>* notes);

// The satellite behind committed-switch input `input` of the default
// antenna, or null when nothing is connected there.
const Satellite* satelliteOnInput(const Sky& sky, uint32_t input);
// Null when there is no satellite of that name.
const Satellite* satelliteNamed(const Sky& sky, const std::string& name);

// ---- Tuning and the signal.

// Whether the tuner of this device type can carry out the request at all:
// every code within its list, the frequency within the tuner's range (the
// intermediate frequency for a satellite tuner). A symbol rate the carrier
// does not have is tuned, and does not lock. A refused request changes nothing.
bool acceptsTune(uint32_t tunerType, const TuneRequest& tune);
// Stores an accepted tune and sets the LNB supply it implies.
void applyTune(DeviceState& device, const TuneRequest& tune);
// The figures one entry point reads. Readings of different entry points agree
// until one of them reads again, which takes a new measurement; the noise of
// a measurement depends only on the seed and the measurement's number.
SignalFigures measureSignal(DeviceState& device, SignalReader reader, const SkyConfig& sky,
                            uint32_t seed);

// ---- DiSEqC through the antenna.

// Microseconds of the steady clock; a positioner drives in real time.
int64_t steadyNowUs();
// SendDiSEqC: mode 1 tone burst (data 0 = A, 1 = B), mode 2 committed byte.
bool diseqcSimple(DeviceState& device, uint32_t mode, uint32_t data, int64_t nowUs = steadyNowUs());
// SendDiseqCmd: a full message of 3..6 bytes on a DiSEqC 1.x/2.x device.
bool diseqcMessage(DeviceState& device, const uint8_t* message, uint32_t length,
                   int64_t nowUs = steadyNowUs());
// SendDiseqCmdEx: needs DiSEqC 2.x. *reply receives the answer: nothing when
// the framing byte asks for none or no device on the bus is addressed, E5 when
// the addressed devices do not support the command, else E4 and any data.
bool diseqcMessageWithReply(DeviceState& device, const uint8_t* message, uint32_t length,
                            std::vector<uint8_t>* reply, int64_t nowUs = steadyNowUs());

// ---- The transport stream of the locked carrier, to SetFilter filters.

// Starts delivering to transport stream filter `number` of the library's
// filter table; packets may arrive before this returns.
void startStream(int32_t number);
// Joins the delivery of filters no longer in the table (after DelFilter,
// StopDVB, a device switch).
void reapStreams();

// ---- The EEPROM.

inline constexpr size_t kEepromSize = 8192;

class EepromImage {
 public:
  // The factory content for this device.
  explicit EepromImage(const DeviceConfig& device);

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  // Whole-image replacement (a kept image read back); must be kEepromSize bytes.
  void assign(const std::vector<uint8_t>& bytes);
  // The first `size` bytes (size <= kEepromSize).
  void read(uint8_t* out, size_t size) const;
  void write(const uint8_t* in, size_t size);

  // The MAC address as stored, whatever was written over it.
  std::array<uint8_t, 6> mac() const;
  // Whether the identity block carries its magic and a matching CRC.
  bool identityValid() const;

 private:
  std::vector<uint8_t> bytes_;
};

// The file that keeps the images across restarts: the devices' images one
// after the other in configuration order, kEepromSize bytes each.

// Loads what the file holds into `images`, in order. A missing file changes
// nothing. Returns a note for the trace when the file is unusable or holds
// fewer whole images than there are devices, else "".
std::string loadEepromFile(const std::string& path, const std::vector<EepromImage*>& images);
// Replaces the file with these images (written beside it, then renamed over
// it, so a failed save leaves the old file). False when it cannot be written.
bool saveEepromFile(const std::string& path, const std::vector<const EepromImage*>& images);

}  // namespace qvsim
