// The serial port component. (Placeholder until the link is built: the port
// can never be opened.)
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TComport2p5;

using TComEvt = std::function<void(TComport2p5* sender, std::uint8_t kind, std::uint32_t extra, std::uint8_t data)>;
using TCtlEvt = std::function<void(TComport2p5* sender, std::uint32_t mask)>;
using TErrEvt = std::function<void(TComport2p5* sender, std::int8_t code, const std::string& text)>;
using TLerEvt = std::function<void(TComport2p5* sender, std::uint32_t evtNum, std::uint32_t lastErr)>;
using TGetChr = std::function<bool(std::uint8_t& b)>;
using TPutChr = std::function<bool(std::uint8_t b)>;
using TDatAvl = std::function<bool()>;

class TComport2p5 {
public:
  explicit TComport2p5(void* owner) : FpOwn(owner) {}
  ~TComport2p5() = default;
  TComport2p5(const TComport2p5&) = delete;
  TComport2p5& operator=(const TComport2p5&) = delete;

  // Opens the port FsPrtNam and starts the threads; 0 on success.
  std::uint8_t OpnPrt() { return 7; }
  bool SndChr(std::uint8_t) { return false; }
  bool StpThr() { return true; }
  bool StaThr() { return true; }

  std::uint8_t FbyDatBts = 7;
  std::uint8_t FbyPrt = 0;
  std::uint8_t FbyStpBts = 0;
  std::uint8_t FbyBauIdx = 6;
  std::uint16_t FstComEvt = 0x30;
  std::string FsPrtNam = "COM1";
  bool FbMdmEvt = true;
  bool FbSglChr = false;
  bool FbBlkCbk = true;

  TComEvt FOnComPrtComEvt;
  TCtlEvt FOnComPrtCtlEvt;
  TErrEvt FOnComPrtErrEvt;
  TLerEvt FOnComPrtLerEvt;
  TGetChr FOnGetTxdChr;
  TPutChr FOnPutTxdChr;
  TDatAvl FOnTxdDatAvl;
  TGetChr FOnGetRxdChr;
  TPutChr FOnPutRxdChr;
  TDatAvl FOnRxdDatAvl;

private:
  void* FpOwn;
};
