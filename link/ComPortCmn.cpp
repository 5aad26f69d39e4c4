// The parts of the serial port component that are the same on every
// platform: the owner's callbacks fired, and the ring buffers emptied.
#include <cstdint>
#include <string>

#include "link/ComPort2p5.h"

void TComport2p5::FirErr(std::int8_t code, const std::string& text) {
  if (!Qt() && FOnComPrtErrEvt) FOnComPrtErrEvt(this, code, text);
}

void TComport2p5::FirLer(std::uint32_t num, std::uint32_t err) {
  if (!Qt() && FOnComPrtLerEvt) FOnComPrtLerEvt(this, num, err);
}

void TComport2p5::DrpRxd() {
  if (!FOnGetRxdChr) return;
  std::uint8_t b;
  while (FOnGetRxdChr(b)) {
  }
}

void TComport2p5::DrpTxd() {
  if (!FOnGetTxdChr) return;
  std::uint8_t b;
  std::uint64_t n = 0;
  while (FOnGetTxdChr(b)) ++n;
  FiTxDrp.fetch_add(n);
}
