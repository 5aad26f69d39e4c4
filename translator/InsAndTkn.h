// The translator: instruction and token tables, program walk, token generation.
#pragma once

#include <memory>

#include "translator/SarAndTkn.h"

class IWndMsgTgt;

class TInsAndTkn {
public:
  explicit TInsAndTkn(IWndMsgTgt* owner);
  ~TInsAndTkn();
  std::unique_ptr<TSarAndTkn> FpSarAndTkn;

private:
  IWndMsgTgt* FpOwn;
};
