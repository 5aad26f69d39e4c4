#include "app/VslTbrTbl.h"

#include "core/Globals.h"
#include "messages/SysMsgIdf.h"

namespace {
using B = TeTbn;
constexpr TeTbr V = TeTbr::Vio, C = TeTbr::Com;
}  // namespace

constexpr std::array<TuTbnRow, GcTbnCnt> GcTbnDsg = {{
    // button, name, bar, gap, image, vio type, hint
    {B::Sta, "tbnSta", V, 0, 0, VT_STA, SUM_TBN_STA_XXX_HNT},
    {B::Sto, "tbnSto", V, 0, 1, VT_STO, SUM_TBN_STO_XXX_HNT},
    {B::Iff, "tbnIff", V, 0, 2, VT_IFF, SUM_TBN_IFF_XXX_HNT},
    {B::Thn, "tbnThn", V, 0, 3, VT_THN, SUM_TBN_THN_XXX_HNT},
    {B::Els, "tbnEls", V, 0, 4, VT_ELS, SUM_TBN_ELS_XXX_HNT},
    {B::Lbl, "tbnLbl", V, 0, 5, VT_LBL, SUM_TBN_LBL_XXX_HNT},
    {B::Gto, "tbnGto", V, 0, 6, VT_GTO, SUM_TBN_GTO_XXX_HNT},
    {B::Dly, "tbnDly", V, 0, 7, VT_DLY, SUM_TBN_DLY_XXX_HNT},
    {B::Act, "tbnAct", V, 0, 8, VT_ACT, SUM_TBN_ACT_XXX_HNT},
    {B::Sns, "tbnSns", V, 0, 9, VT_SNS, SUM_TBN_SNS_XXX_HNT},
    {B::Spd, "tbnSpd", V, 0, 10, VT_SPD, SUM_TBN_SPD_XXX_HNT},
    {B::Swi, "tbnSwi", V, 0, 11, VT_SWI, SUM_TBN_SWI_XXX_HNT},
    {B::Rti, "tbnRti", V, 0, 12, VT_RTI, SUM_TBN_RTI_XXX_HNT},
    {B::Upl, "tbnUpl", C, 0, 13, -1, SUM_TBN_UPL_XXX_HNT},
    {B::Run, "tbnRun", C, 0, 16, -1, SUM_TBN_RUN_XXX_HNT},
    {B::Upr, "tbnUpr", C, 0, 17, -1, SUM_TBN_UPR_XXX_HNT},
    {B::ComSte, "tbnComSte", C, 33, GcImgComNok, -1, SUM_TBN_COM_STE_HNT},
}};

constexpr std::array<TuTbnImg, GcTbnImgCnt> GcTbnImg = {{
    {"\\Vio. Start. 32x32. color.bmp", 0},
    {"\\Vio. Stop. 32x32. color.bmp", 1},
    {"\\Vio. If. 32x32. color.bmp", 2},
    {"\\Vio. Then. 32x32. color.bmp", 3},
    {"\\Vio. Else. 32x32. color.bmp", 4},
    {"\\Vio. Label. 32x32. color.bmp", 6},
    {"\\Vio. Goto. 32x32. color.bmp", 5},
    {"\\Vio. Delay. 32x32. color.bmp", 7},
    {"\\Vio. Actor. 32x32. color.bmp", 8},
    {"\\Vio. Sensor. 32x32. color.bmp", 9},
    {"\\Vio. EngSpd. 32x32. color.bmp", 10},
    {"\\Vio. SwiInt. 32x32. color.bmp", 11},
    {"\\Vio. RTI. 32x32. color.bmp", 12},
    {"\\Control. Upload. 32x32. color. green.bmp", 13},
    {"\\Control. Upload. 32x32. color. orange.bmp", 14},
    {"\\Control. Upload. 32x32. color. blue2.bmp", 15},
    {"\\Control. Run. 32x32. color. blue.bmp", 16},
    {"\\Control. Upload. Run. 32x32. color. yellow.bmp", 17},
    {"\\Comm. panel. Comm. Okay. green. 32x32. color.bmp", 19},
    {"\\Comm. panel. No Comm.. red. 32x32. color.bmp", 18},
}};

namespace {
// Each button at its index with a picture of the list; a vio button for each vio type.
constexpr bool TbnRows() {
  int vio = 0;
  for (std::size_t i = 0; i < GcTbnDsg.size(); ++i) {
    const TuTbnRow& r = GcTbnDsg[i];
    if (static_cast<std::size_t>(r.Tbn) != i || r.Img < 0 || r.Img >= GcTbnImgCnt) return false;
    if (r.VioTyp >= 0) vio += r.VioTyp < GcVioTypCnt && r.Bar == TeTbr::Vio ? 1 : 100;
  }
  return vio == GcVioTypCnt;
}
static_assert(TbnRows(), "one row for each button at its index, one vio button for each vio type");
// Each place of the load order given once; the Start picture first.
constexpr bool ImgLod() {
  for (std::size_t i = 0; i < GcTbnImg.size(); ++i) {
    if (GcTbnImg[i].Lod < 0 || GcTbnImg[i].Lod >= GcTbnImgCnt || (i == 0) != (GcTbnImg[i].Lod == 0)) return false;
    for (std::size_t o = 0; o < i; ++o)
      if (GcTbnImg[o].Lod == GcTbnImg[i].Lod) return false;
  }
  return true;
}
static_assert(ImgLod(), "every picture has its own place in the load order, the Start picture the first");
}  // namespace

int TbnVioTyp(TeTbn tbn) { return GcTbnDsg[static_cast<std::size_t>(tbn)].VioTyp; }

std::uint8_t TbnHntIdf(const std::string& name) {
  for (const TuTbnRow& r : GcTbnDsg)
    if (name == r.Nam) return r.Hnt;
  return 0x00;
}
