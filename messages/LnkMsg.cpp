#include "messages/LnkMsg.h"

#include <iterator>

#include "core/Globals.h"
#include "messages/SysLgeMsg.h"

namespace {

// The message id's text, leaving the last-error text as it was; empty without
// a message table.
std::string SysMsgKep(std::uint8_t id, std::uint8_t lge) {
  if (!GuSysLgeMsg) return {};
  const std::string keep = GuLstErrMsg;
  std::string txt = GuSysLgeMsg->GetSysMsg(id, lge);
  GuLstErrMsg = keep;
  return txt;
}

}  // namespace

std::string PckTooLngMsg(std::size_t len, std::uint8_t lge) {
  std::string txt = SysMsgKep(SUM_LNK_PCK_TOO_LNG, lge);
  if (txt.empty())
    txt = "#601, The program is too long to be uploaded: one packet to the robot holds at most 255 bytes. "
          "Bytes in this program:";
  return txt + " " + std::to_string(len);
}

std::string RbtFltMsg(std::uint8_t adr, std::uint8_t knd, std::uint8_t lge, const std::string& vio) {
  static const char* const fix[] = {
      "the robot found no more instructions",
      "the program ran past its end, or its last instruction is cut off",
      "10000 instructions ran without a DELAY, a motion or a wait: does a loop need a DELAY?",
      "a jump leads outside the program",
      "the robot does not know this instruction or sensor",
      "RTI stands outside the switch-interrupt routine",
      "ENGINE SPEED is without its two values",
  };
  const std::uint8_t k = knd < std::size(fix) ? knd : 0;
  std::string txt = k ? SysMsgKep(static_cast<std::uint8_t>(SUM_RBT_FLT_LED + k), lge) : std::string();
  if (txt.empty()) txt = fix[k];
  if (!vio.empty()) {
    std::string lead = SysMsgKep(SUM_RBT_FLT_VIO, lge);
    if (lead.empty()) lead = "The robot stopped the program at the framed block";
    return lead + " " + vio + ": " + txt;
  }
  std::string lead = SysMsgKep(SUM_RBT_FLT_LED, lge);
  if (lead.empty()) lead = "The robot stopped the program at address";
  return lead + " " + std::to_string(adr) + ": " + txt;
}
