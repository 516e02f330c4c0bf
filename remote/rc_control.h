// Remote-control reception as the "Remote control" group drives it: the
// fields of the group, the library's registration and the codes it delivers.
#pragma once

#include <cstdint>

#include "remote/rc_reception.h"
#include "tuner/filter_user.h"
#include "tuner/library_filter.h"

class UiPort;

class RcControl final : public FilterUser {
 public:
  explicit RcControl(UiPort& ui);

  // Bound to the group's controls by the dialog's data exchange.
  int32_t m_bRcEnable = 0;
  int32_t m_nRcType = 0;
  int32_t m_nRcDev = 0;

  /* The library's registration: -1 for none; held while no reception runs, it belongs
     to a registration whose deletion failed. */
  const LibraryFilter& Filter() const { return filter_; }
  /* Whether the user's reception runs. */
  bool Running() const override { return filter_.Running(); }

  /* Registers the chosen code type; unticks the box (m_bRcEnable) when it fails. */
  void Start();
  /* Deletes the registration; the codes delivered until then are logged first. */
  void Stop() override;
  /* The window closes: a running registration is deleted without a word (its codes
     still logged), an orphan with its outcome logged. */
  void Close() override;
  int EnableBox() const override;
  unsigned SettleMs() const override;
  /* Logs the lines the callbacks have queued so far. */
  void ServeLines();

 private:
  // Once DelFilter returned: a registration that is gone delivers nothing
  // more (one whose deletion failed may still), and what came is logged.
  void Returned(bool deleted);

  UiPort& ui_;
  RcReception reception_;
  LibraryFilter filter_{{"DelFilter() success !", "RC disabled."}};
};
