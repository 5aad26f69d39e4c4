#include "messages/LnkMsg.h"

#include "messages/SysMsgBui.h"
#include "messages/SysMsgIdf.h"

std::string PckTooLngMsg(std::size_t len, std::uint8_t lge) {
  return SysMsgOr(SUM_LNK_PCK_TOO_LNG, lge) + " " + std::to_string(len);
}

std::string RbtFltMsg(std::uint8_t adr, std::uint8_t knd, std::uint8_t lge, const std::string& vio) {
  // Kinds 1 to 6 have their texts after the lead-in's; any other kind says
  // that the robot ran out of instructions.
  const bool known = knd >= 1 && knd <= SUM_RBT_FLT_SPD - SUM_RBT_FLT_LED;
  const std::string txt = known ? SysMsgOr(static_cast<std::uint8_t>(SUM_RBT_FLT_LED + knd), lge)
                                : std::string("the robot found no more instructions");
  // A fault at a block of the field names the block, which is framed.
  if (!vio.empty()) return SysMsgOr(SUM_RBT_FLT_VIO, lge) + " " + vio + ": " + txt;
  return SysMsgOr(SUM_RBT_FLT_LED, lge) + " " + std::to_string(adr) + ": " + txt;
}
