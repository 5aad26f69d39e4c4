#include "editor/VioPgmItp.h"

#include "messages/SysLgeMsg.h"

void TVio::SetVisible(bool v) { FbVis = v; }

TVioPgmItp::TVioPgmItp(IWndMsgTgt* owner)
    : FpInsAndTkn(std::make_unique<TInsAndTkn>(owner)), FpOwnFrm(owner) {}

TVioPgmItp::~TVioPgmItp() {
  for (TVio* v : FpVioLst) delete v;
}

void TVioPgmItp::CrtVioFld(int, int) {}

std::string TVioPgmItp::GetSysUsrMsg(std::uint8_t id) {
  return GuSysLgeMsg ? GuSysLgeMsg->GetSysMsg(id, FbyLgeIdx) : std::string();
}

bool TVioPgmItp::AddVio(std::uint8_t) { return true; }

void TVioPgmItp::RmvVio(TVio*) { FpCurVio = nullptr; }
