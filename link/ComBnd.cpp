#include "link/ComBnd.h"

#include "link/ComPort2p5.h"
#include "link/MtxAndRbf.h"

void BndComRbf(TComport2p5& com, TMtxAndRbf& tx, TMtxAndRbf& rx) {
  com.FOnGetTxdChr = [&tx](std::uint8_t& b) { return LckGetChr(tx, b); };
  com.FOnPutTxdChr = [&tx](std::uint8_t b) { return LckPutChr(tx, b); };
  com.FOnTxdDatAvl = [&tx] { return LckDatAvl(tx); };
  com.FOnGetRxdChr = [&rx](std::uint8_t& b) { return LckGetChr(rx, b); };
  com.FOnPutRxdChr = [&rx](std::uint8_t b) { return LckPutChr(rx, b); };
  com.FOnRxdDatAvl = [&rx] { return LckDatAvl(rx); };
}

void SetZefLin(TComport2p5& com, const std::string& prt) {
  com.FsPrtNam = prt;
  com.FbyBauIdx = 4;  // 2400 baud
  com.FbyDatBts = 7;  // 8 data bits
  com.FbyPrt = 0;
  com.FbyStpBts = 0;
  com.FbSglChr = true;
}
