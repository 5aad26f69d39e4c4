// Program files: one value per line, a block per vio, "EOF" at the end.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/Globals.h"
#include "core/StrUtl.h"
#include "core/Seams.h"
#include "editor/VioNum.h"
#include "editor/VioPgmItp.h"

namespace {

// Limits that keep a damaged file from costing unbounded time or memory.
constexpr std::uintmax_t GcMaxFilSiz = 16u * 1024u * 1024u;
constexpr std::size_t GcMaxLinLen = 4096;
constexpr std::size_t GcMaxVioBlk = 1200;
constexpr long long GcMaxCelNbr = 9999;

std::string FmtCel(int v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d", v);
  return buf;
}

// Splits the bytes into lines: CR, LF or the pair CR LF end a line; a last
// line without an end counts.
void SplLns(const std::string& all, TStrLst& lines) {
  lines.clear();
  std::size_t pos = 0;
  while (pos < all.size()) {
    std::size_t end = pos;
    while (end < all.size() && all[end] != '\r' && all[end] != '\n') ++end;
    lines.emplace_back(all, pos, end - pos);
    if (end < all.size() && all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ++end;
    pos = end + 1;
  }
}


// One vio block of a file, read and checked before the field is touched.
struct TuVioBlk {
  std::uint8_t Typ;
  int Col;
  int Row;
  std::string Prm[3];
};

class TVioFilRdr {
public:
  TVioFilRdr(const TStrLst& lines, const std::string& path) : FLns(lines), FsPth(path) {}

  // False with the message in GuLstErrMsg.
  bool Prs(std::vector<TuVioBlk>& blks) {
    std::size_t i = 0;
    while (i < FLns.size()) {
      if (!ChkLen(i)) return false;
      const std::string& lin = FLns[i];
      if (lin.empty()) {
        ++i;
        continue;
      }
      if (lin == "EOF") return true;
      const int typ = GetVioTypOfKey(lin);
      if (typ < 0) {
        GuLstErrMsg = "#401, Illegal vio type in vio file detected";
        return false;
      }
      if (blks.size() >= GcMaxVioBlk) {
        GuLstErrMsg = "#408, Vio file '" + FsPth + "' holds more than " + std::to_string(GcMaxVioBlk) +
                      " vios";
        return false;
      }
      const std::size_t blkLin = i;
      TuVioBlk b{};
      b.Typ = static_cast<std::uint8_t>(typ);
      ++i;
      if (!RdCel(i, blkLin, lin, b.Col) || !RdCel(i, blkLin, lin, b.Row)) return false;
      switch (b.Typ) {
        case VT_DLY: case VT_LBL: case VT_GTO:
          if (!RdPrm(i, blkLin, lin, b.Prm[0])) return false;
          break;
        case VT_ACT:
          for (std::string& p : b.Prm)
            if (!RdPrm(i, blkLin, lin, p)) return false;
          break;
        case VT_SNS:
          if (!RdPrm(i, blkLin, lin, b.Prm[0]) || !RdPrm(i, blkLin, lin, b.Prm[1])) return false;
          // The block's empty separator belongs to it; a file without
          // separators goes straight on with the next block.
          if (i < FLns.size() && FLns[i].empty()) ++i;
          break;
        case VT_SPD: {
          if (!RdPrm(i, blkLin, lin, b.Prm[0])) return false;
          long long v;
          if (!StrToInt(b.Prm[0], v)) {
            GuLstErrMsg = "#405, Engine speed '" + b.Prm[0] + "' in line " + std::to_string(i) +
                          " of vio file '" + FsPth + "' is not a whole number";
            return false;
          }
          break;
        }
        default:
          break;
      }
      blks.push_back(std::move(b));
    }
    return true;
  }

private:
  bool ChkLen(std::size_t i) {
    if (FLns[i].size() <= GcMaxLinLen) return true;
    GuLstErrMsg = "#406, Line " + std::to_string(i + 1) + " of vio file '" + FsPth + "' is longer than " +
                  std::to_string(GcMaxLinLen) + " characters";
    return false;
  }

  bool CutShort(std::size_t blkLin, const std::string& key) {
    GuLstErrMsg = "#403, Vio file '" + FsPth + "' ends inside the " + key + " block of line " +
                  std::to_string(blkLin + 1);
    return false;
  }

  bool RdPrm(std::size_t& i, std::size_t blkLin, const std::string& key, std::string& out) {
    if (i >= FLns.size()) return CutShort(blkLin, key);
    if (!ChkLen(i)) return false;
    out = FLns[i++];
    return true;
  }

  // A column or row line: the cell number + 1 as a decimal number.
  bool RdCel(std::size_t& i, std::size_t blkLin, const std::string& key, int& cel) {
    std::string txt;
    if (!RdPrm(i, blkLin, key, txt)) return false;
    long long v;
    if (!StrToInt(txt, v) || v < -GcMaxCelNbr || v > GcMaxCelNbr) {
      GuLstErrMsg = "#404, Illegal column or row number '" + txt + "' in line " + std::to_string(i) +
                    " of vio file '" + FsPth + "'";
      return false;
    }
    cel = static_cast<int>(v) - 1;
    return true;
  }

  const TStrLst& FLns;
  std::string FsPth;
};

}  // namespace

bool TVioPgmItp::BldVioLns(TStrLst& lines) {
  lines.clear();
  for (const TVio* vio : FpVioLst) {
    const std::uint8_t typ = vio->Rec.VioTyp;
    lines.push_back(GetVioKey(typ));
    lines.push_back(FmtCel(vio->Left() / FiCelWdt + 1));
    lines.push_back(FmtCel(vio->Top() / FiCelHgt + 1));
    switch (typ) {
      case VT_STA: case VT_STO: case VT_IFF: case VT_THN: case VT_ELS: case VT_SWI: case VT_RTI:
        break;
      case VT_DLY:
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Edt, CR_VAL));
        break;
      case VT_LBL:
        if (vio->FndCtl(TeCtlKnd::Cbx, CR_LBL_NAM) < 0) {
          ShwMsgBox("#018, No combobox on 'label' vio found");
          return false;
        }
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Cbx, CR_LBL_NAM));
        break;
      case VT_GTO:
        if (vio->FndCtl(TeCtlKnd::Cbx, CR_GTO_NAM) < 0) {
          ShwMsgBox("#019, No combobox on 'goto' vio found");
          return false;
        }
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Cbx, CR_GTO_NAM));
        break;
      case VT_ACT:
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_TYP));
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_COM));
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Edt, CR_VAL));
        break;
      case VT_SNS:
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_TYP));
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Cbx, CR_SAR_COM));
        break;
      case VT_SPD:
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Edt, CR_SPD));
        lines.push_back(GetCtlTxt(vio, TeCtlKnd::Edt, CR_SPD_TWO));
        break;
      default:
        ShwMsgBox("#029, Unknown instruction type");
        break;
    }
    lines.push_back("");
  }
  lines.push_back("EOF");
  return true;
}

bool TVioPgmItp::SavVioFil(const std::string& path) {
  TStrLst lines;
  if (!BldVioLns(lines)) {
    GuLstErrMsg.clear();  // the message box has told it already
    return false;
  }
  std::string all;
  for (const std::string& l : lines) {
    all += l;
    all += "\r\n";
  }
  // Write beside the file and rename over it, so that a failed write never
  // destroys the program saved before.
  namespace fs = std::filesystem;
  const fs::path dst(path);
  fs::path tmp = dst;
  tmp += ".tmp~";
  bool ok;
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    ok = static_cast<bool>(out);
    if (ok) {
      out.write(all.data(), static_cast<std::streamsize>(all.size()));
      out.flush();
      ok = static_cast<bool>(out);
    }
  }
  std::error_code ec;
  if (ok) {
    fs::rename(tmp, dst, ec);
    ok = !ec;
  }
  if (!ok) {
    fs::remove(tmp, ec);
    GuLstErrMsg = "#414, Vio file '" + path + "' could not be written";
    return false;
  }
  return true;
}

bool TVioPgmItp::LodVioFil(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const std::uintmax_t siz = fs::file_size(path, ec);
  if (ec || !fs::is_regular_file(path, ec)) {
    GuLstErrMsg = "#402, Vio file '" + path + "' could not be read";
    return false;
  }
  if (siz > GcMaxFilSiz) {
    GuLstErrMsg = "#407, Vio file '" + path + "' is too large to be a program";
    return false;
  }
  std::string all;
  {
    std::ifstream in(path, std::ios::binary);
    if (in) all.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) {
      GuLstErrMsg = "#402, Vio file '" + path + "' could not be read";
      return false;
    }
  }
  TStrLst lines;
  SplLns(all, lines);
  // The whole file is checked before the field is touched: a damaged file
  // leaves the program on the field as it was.
  std::vector<TuVioBlk> blks;
  if (!TVioFilRdr(lines, path).Prs(blks)) return false;

  FpLblVioDdwStl.clear();
  RmvAllVio();
  if (FOnTbnEna) {
    FOnTbnEna(VT_STA, true);
    FOnTbnEna(VT_SWI, true);
  }
  auto addLbl = [this](const std::string& nam) {
    bool has = false;
    for (const std::string& l : FpLblVioDdwStl) has = has || EqlNoCase(l, nam);
    if (!has) FpLblVioDdwStl.push_back(nam);
  };
  for (const TuVioBlk& b : blks) {
    bool ok = true;
    switch (b.Typ) {
      case VT_STA: case VT_SWI:
        if (FOnTbnEna) FOnTbnEna(b.Typ, false);
        ok = CrtSmpVio(b.Typ, b.Col, b.Row);
        break;
      case VT_STO: case VT_IFF: case VT_THN: case VT_ELS: case VT_RTI:
        ok = CrtSmpVio(b.Typ, b.Col, b.Row);
        break;
      case VT_DLY: ok = CrtDlyVio(b.Col, b.Row, b.Prm[0]); break;
      case VT_LBL:
        addLbl(b.Prm[0]);
        ok = CrtLblVio(b.Col, b.Row, 0, b.Prm[0]);
        break;
      case VT_GTO:
        addLbl(b.Prm[0]);
        ok = CrtGtoVio(b.Col, b.Row, 0, b.Prm[0]);
        break;
      case VT_ACT:
        ok = CrtFilSarVio(b.Col, b.Row, b.Prm[0], b.Prm[1], b.Prm[2], true);
        break;
      case VT_SNS:
        ok = CrtFilSarVio(b.Col, b.Row, b.Prm[0], b.Prm[1], "", false);
        break;
      case VT_SPD: {
        long long v = 0;
        StrToInt(b.Prm[0], v);
        ok = CrtSpdVio(b.Col, b.Row, static_cast<std::uint8_t>(v & 0xFF));
        // The edit keeps the number as the file wrote it: cutting 300 down to
        // 8 bits would silently turn it into 44 and change the program.
        if (ok) {
          TVio* spd = FpVioLst.back();
          SetCtlTxt(spd, spd->FndCtl(TeCtlKnd::Edt, CR_SPD), b.Prm[0]);
        }
        break;
      }
      default:
        break;
    }
    if (!ok) return false;
  }
  return true;
}
