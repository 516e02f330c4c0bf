#include "remote/rc_control.h"

#include "remote/rc_line.h"
#include "res/resource_ids.h"
#include "tuner/tuner_api.h"
#include "tuner/ui_port.h"

RcControl::RcControl(UiPort& ui)
    : ui_(ui), reception_(ui, [this] {
        if (ui_.Shown()) ServeLines();
      }) {}

void RcControl::ServeLines() { ui_.LogLines(reception_.TakeLines()); }

void RcControl::Returned(bool deleted) {
  if (deleted) reception_.Accept(false);
  ServeLines();
}

void RcControl::Start() {
  const RcCodeType* type = FindRcCodeType(m_nRcType);
  if (type == nullptr) return;
  // A registration whose deletion failed may still deliver: it goes first,
  // and while it stays, no second one doubles every code.
  if (!filter_.ClearOrphan(ui_, [this](bool deleted) { Returned(deleted); })) {
    m_bRcEnable = 0;
    return;
  }
  // Codes may arrive during the registering call itself.
  reception_.Accept(true);
  const bool added = filter_.Register([&](int32_t* number) {
    return TunerApi.SetRemoteControl(type->typeCode, RcDeviceFilter(*type, m_nRcDev),
                                     type->callback, number) != 0;
  });
  if (added) {
    ui_.Log(type->enabledText);
  } else {
    reception_.Accept(false);
    ui_.Log(type->failedText);
    m_bRcEnable = 0;
  }
}

void RcControl::Stop() {
  m_bRcEnable = 0;
  filter_.Delete(ui_, [this](bool deleted) { Returned(deleted); });
}

void RcControl::Close() {
  filter_.Close(ui_, [this](bool deleted) { Returned(deleted); });
}

int RcControl::EnableBox() const { return IDC_CHK_RC_ENABLE; }

unsigned RcControl::SettleMs() const { return 0; }
