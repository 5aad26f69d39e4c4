#include "translator/InsAndTkn.h"

TInsAndTkn::TInsAndTkn(IWndMsgTgt* owner) : FpSarAndTkn(std::make_unique<TSarAndTkn>(owner)), FpOwn(owner) {}
TInsAndTkn::~TInsAndTkn() = default;
