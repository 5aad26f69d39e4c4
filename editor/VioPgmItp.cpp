#include "editor/VioPgmItp.h"

#include "messages/SysLgeMsg.h"

TVioPgmItp::TVioPgmItp(IWndMsgTgt* owner)
    : FpInsAndTkn(std::make_unique<TInsAndTkn>(owner)), FpOwnFrm(owner) {}

TVioPgmItp::~TVioPgmItp() = default;

void TVioPgmItp::CrtVioFld(int, int) {}

std::string TVioPgmItp::GetSysUsrMsg(std::uint8_t id) {
  return GuSysLgeMsg ? GuSysLgeMsg->GetSysMsg(id, FbyLgeIdx) : std::string();
}

bool TVioPgmItp::AddVio(std::uint8_t) { return true; }

void TVioPgmItp::RmvVio(TVio*) { FpCurVio = nullptr; }
