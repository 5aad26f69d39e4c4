// Fuzz target: SysMsgFil.sys read at start and every message looked up.
#include "FuzSup.h"
#include "messages/SysLgeMsg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzSetPlt();
  const std::string p = FuzWrtFil("SysMsgFil.sys", data, size);
  TSysLgeMsg msg(nullptr, p.substr(0, p.size() - 13));
  // Identifiers the program asks for, ones rarely used, and the input's own first byte.
  const std::uint8_t ids[] = {0x00, 0x02, 0x14, 0x1F, 0x23, 0x25, 0xA5, 0xFF, size ? data[0] : std::uint8_t{0}};
  for (std::uint8_t id : ids)
    for (std::uint8_t lge = 0; lge < 4; ++lge)
      if (msg.GetSysMsg(id, lge).size() > size) std::abort();  // every text comes from the file
  return 0;
}
