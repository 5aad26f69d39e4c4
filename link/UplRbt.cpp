#include "link/UplRbt.h"

#include "core/Globals.h"
#include "link/LinSet.h"
#include "link/PrtNam.h"

std::chrono::milliseconds UplAnsTim(std::size_t len, std::chrono::milliseconds tmo) {
  // The frame adds seven bytes to the stream: start, origin, sequence,
  // count, class, code and end.
  return std::chrono::milliseconds(RbtLinMs(len + 7) + 1) + tmo;
}

TUplRbt::TUplRbt(std::string prt) : FsPrt(std::move(prt)), FsPth(PrtDevPth(FsPrt)) {}

void TUplRbt::End(TeUplRes res) {
  FeRes = res;
  FpSes.reset();
}

bool TUplRbt::Sta(std::uint8_t cod, const std::vector<std::uint8_t>& stm) {
  if (FsPth.empty()) {
    End(TeUplRes::NoDev);
    return false;
  }
  FpSes = std::make_unique<TLnkSes>();
  GuLstErrMsg.clear();
  FOpn = FpSes->Opn(FsPrt);
  if (!FOpn.Ok()) {
    FbLinGon = FOpn == TeOpnPrt::LinSet && FpSes->Com().LinGon();
    FsWhy = GuLstErrMsg;
    End(TeUplRes::Opn);
    return false;
  }
  GuLstErrMsg.clear();
  if (!FpSes->Snd(MC_PGM, cod, stm)) {
    FbPrtOpn = FpSes->Com().PrtOpn();
    FsWhy = GuLstErrMsg;
    End(TeUplRes::Snd);
    return false;
  }
  return true;
}

void TUplRbt::Go() {
  if (FpSes) FpSes->Com().FbBlkCbk = false;
}

bool TUplRbt::Wai(TLnkSes::TClk::time_point lim, bool fin) {
  if (FeRes != TeUplRes::Pnd) return true;
  if (!FpSes) return false;  // not started
  switch (FpSes->WaiAns(MC_STS, MK_TRF_CMP, lim, FsWhy)) {
    case TeAnsWai::Ans: End(TeUplRes::Cfm); return true;
    case TeAnsWai::End:
      FbDevLst = FpSes->DevLst();
      End(TeUplRes::Lst);
      return true;
    case TeAnsWai::Tmo: break;
  }
  if (fin) End(TeUplRes::Tmo);
  return fin;
}
