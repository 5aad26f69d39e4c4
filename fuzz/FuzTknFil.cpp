// Fuzz target: ExtComTkn.sys read at start, then every question the editor
// and the translator ask of it.
#include "FuzSup.h"
#include "translator/SarAndTkn.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzSetPlt();
  const std::string p = FuzWrtFil("ExtComTkn.sys", data, size);
  TSarAndTkn tkn(nullptr);
  if (!tkn.LodTknFil(p)) return 0;
  TStrLst typ, com;
  for (std::uint8_t lge = 0; lge < 3; ++lge)
    for (std::uint8_t avl = 0; avl < 3; ++avl)
      for (bool act : {true, false}) {
        if (!tkn.GetSarTypLst(typ, lge, avl, act)) continue;
        for (const std::string& t : typ) {
          if (!tkn.GetSarComLst(com, t, lge, avl, act)) continue;
          for (const std::string& c : com) {
            const int v = tkn.GetSarTkn(lge, t, c);
            if (v > 255) std::abort();
          }
        }
      }
  return 0;
}
