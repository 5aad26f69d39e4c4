// Program files: one value per line, a block per vio, "EOF" at the end.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#include "core/Globals.h"
#include "core/SafFil.h"
#include "core/StrUtl.h"
#include "core/Seams.h"
#include "editor/VioBlk.h"
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

// The lines of a program file, read in pieces so that no limit waits for
// the whole file: CR, LF or the pair CR LF end a line, a last line without an
// end counts. A line longer than the limit, more bytes than the file may
// hold, or a read error stop the reading.
class TVioLinRdr {
public:
  enum TeRes { LR_LIN, LR_END, LR_ERR };

  TVioLinRdr(std::istream& in, const std::string& path) : FIn(in), FsPth(path) {}

  // The next line into lin; LR_ERR with the message in GuLstErrMsg.
  TeRes Nxt(std::string& lin) {
    lin.clear();
    bool any = false;  // a character or a line end was taken
    for (;;) {
      if (FiPos == FiLen && !Fil()) {
        if (FbErr) return LR_ERR;
        if (!any) return LR_END;
        ++FiNbr;
        return LR_LIN;
      }
      const char* b = FcBuf + FiPos;
      const char* e = FcBuf + FiLen;
      if (FbCr) {  // the LF of a CR LF pair
        FbCr = false;
        if (*b == '\n') {
          ++FiPos;
          continue;
        }
      }
      const char* p = b;
      while (p != e && *p != '\r' && *p != '\n') ++p;
      const std::size_t n = static_cast<std::size_t>(p - b);
      if (lin.size() + n > GcMaxLinLen) {
        ++FiNbr;
        GuLstErrMsg = "#406, Line " + std::to_string(FiNbr) + " of vio file '" + FsPth + "' is longer than " +
                      std::to_string(GcMaxLinLen) + " characters";
        return LR_ERR;
      }
      lin.append(b, n);
      any = true;
      FiPos += n;
      if (p != e) {
        FbCr = *p == '\r';
        ++FiPos;
        ++FiNbr;
        return LR_LIN;
      }
    }
  }

  // Skips the empty lines that follow, all in one go (a file may hold
  // millions of them between its blocks).
  void SkpEmp() {
    for (;;) {
      if (FiPos == FiLen && !Fil()) return;  // a read error is reported by Nxt
      const char c = FcBuf[FiPos];
      if (c == '\n') {
        if (!FbCr) ++FiNbr;  // else the LF of a CR LF pair
        FbCr = false;
      } else if (c == '\r') {
        ++FiNbr;
        FbCr = true;
      } else {
        return;
      }
      ++FiPos;
    }
  }

  // Number of the line last read, from 1.
  std::size_t Nbr() const { return FiNbr; }

private:
  bool Fil() {
    FiPos = 0;
    FiLen = 0;
    if (FbErr || !FIn) return false;
    FIn.read(FcBuf, sizeof FcBuf);
    FiLen = static_cast<std::size_t>(FIn.gcount());
    if (FIn.bad()) {
      GuLstErrMsg = "#402, Vio file '" + FsPth + "' could not be read";
      FbErr = true;
      return false;
    }
    FiTot += FiLen;
    if (FiTot > GcMaxFilSiz) {  // the file grew after its size was checked
      GuLstErrMsg = "#407, Vio file '" + FsPth + "' is too large to be a program";
      FbErr = true;
      return false;
    }
    return FiLen > 0;
  }

  std::istream& FIn;
  std::string FsPth;
  char FcBuf[64 * 1024];
  std::size_t FiPos = 0, FiLen = 0;
  std::uintmax_t FiTot = 0;
  std::size_t FiNbr = 0;
  bool FbCr = false;
  bool FbErr = false;
};

class TVioFilRdr {
public:
  // qui: a text that may be no program at all (the clipboard's) asks for its
  // keywords without a box; the message alone says what is wrong.
  TVioFilRdr(std::istream& in, const std::string& path, int cls, int rws, bool qui = false)
      : FLns(in, path), FsPth(path), FiCls(cls), FiRws(rws), FbQui(qui) {}

  // False with the message in GuLstErrMsg.
  bool Prs(std::vector<TuVioBlk>& blks) {
    std::string lin;
    for (;;) {
      if (!FbPnd) FLns.SkpEmp();
      const TVioLinRdr::TeRes r = Get(lin);
      if (r == TVioLinRdr::LR_ERR) return false;
      if (r == TVioLinRdr::LR_END || lin == "EOF") return true;
      if (lin.empty()) continue;
      const int typ = FbQui ? VioTypOfKeyQui(lin) : GetVioTypOfKey(lin);
      if (typ < 0) {
        GuLstErrMsg = "#401, Illegal vio type in vio file detected";
        return false;
      }
      if (blks.size() >= GcMaxVioBlk) {
        GuLstErrMsg = "#408, Vio file '" + FsPth + "' holds more than " + std::to_string(GcMaxVioBlk) +
                      " vios";
        return false;
      }
      const std::size_t blkLin = FLns.Nbr();
      TuVioBlk b{};
      b.Typ = static_cast<std::uint8_t>(typ);
      if (!RdCel(blkLin, lin, b.Col, FiCls, "column") || !RdCel(blkLin, lin, b.Row, FiRws, "row")) return false;
      switch (b.Typ) {
        case VT_DLY:
          if (!RdPrm(blkLin, lin, b.Prm[0])) return false;
          break;
        case VT_LBL: case VT_GTO:
          if (!RdPrm(blkLin, lin, b.Prm[0])) return false;
          if (b.Prm[0].size() > GcMaxLblLen) {
            GuLstErrMsg = "#409, Label name in line " + std::to_string(FLns.Nbr()) + " of vio file '" + FsPth +
                          "' is longer than " + std::to_string(GcMaxLblLen) + " characters";
            return false;
          }
          break;
        case VT_ACT:
          for (std::string& p : b.Prm)
            if (!RdPrm(blkLin, lin, p)) return false;
          break;
        case VT_SNS: {
          if (!RdPrm(blkLin, lin, b.Prm[0]) || !RdPrm(blkLin, lin, b.Prm[1])) return false;
          // The block's empty separator belongs to it; a file without
          // separators goes straight on with the next block.
          const TVioLinRdr::TeRes s = Get(FsPnd);
          if (s == TVioLinRdr::LR_ERR) return false;
          FbPnd = s == TVioLinRdr::LR_LIN && !FsPnd.empty();
          break;
        }
        case VT_SPD: {
          if (!RdPrm(blkLin, lin, b.Prm[0])) return false;
          long long v;
          if (!StrToInt(b.Prm[0], v)) {
            GuLstErrMsg = "#405, Engine speed '" + b.Prm[0] + "' in line " + std::to_string(FLns.Nbr()) +
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
  }

private:
  // The next line: the one looked at after a Sensor block, or a new one.
  TVioLinRdr::TeRes Get(std::string& lin) {
    if (FbPnd) {
      FbPnd = false;
      lin.swap(FsPnd);
      return TVioLinRdr::LR_LIN;
    }
    return FLns.Nxt(lin);
  }

  bool RdPrm(std::size_t blkLin, const std::string& key, std::string& out) {
    switch (Get(out)) {
      case TVioLinRdr::LR_LIN: return true;
      case TVioLinRdr::LR_END:
        GuLstErrMsg = "#403, Vio file '" + FsPth + "' ends inside the " + key + " block of line " +
                      std::to_string(blkLin);
        return false;
      default: return false;
    }
  }

  // A column or row line: the cell number + 1 as a decimal number.
  // A cell outside the field would give a vio the user cannot see or reach.
  bool RdCel(std::size_t blkLin, const std::string& key, int& cel, int max, const char* what) {
    std::string txt;
    if (!RdPrm(blkLin, key, txt)) return false;
    long long v;
    if (!StrToInt(txt, v) || v < -GcMaxCelNbr || v > GcMaxCelNbr) {
      GuLstErrMsg = "#404, Illegal column or row number '" + txt + "' in line " + std::to_string(FLns.Nbr()) +
                    " of vio file '" + FsPth + "'";
      return false;
    }
    if (v < 1 || v > max) {
      GuLstErrMsg = "#416, The " + std::string(what) + " number '" + txt + "' in line " + std::to_string(FLns.Nbr()) +
                    " of vio file '" + FsPth + "' lies outside the programming field (1 to " + std::to_string(max) +
                    ")";
      return false;
    }
    cel = static_cast<int>(v) - 1;
    return true;
  }

  TVioLinRdr FLns;
  std::string FsPth;
  int FiCls, FiRws;  // the field's size in cells
  bool FbQui;
  std::string FsPnd;  // a line read ahead
  bool FbPnd = false;
};

}  // namespace

bool TVioPgmItp::BldVioLns(TStrLst& lines) { return BldVioLns(lines, FPgm.Vios(), 0, 0); }

bool TVioPgmItp::BldVioLns(TStrLst& lines, const std::vector<TVio*>& vios, int dc, int dr) {
  lines.clear();
  for (const TVio* vio : vios) {
    const std::uint8_t typ = vio->Rec().VioTyp;
    lines.push_back(GetVioKey(typ));
    lines.push_back(FmtCel(vio->Rec().GrdCol + dc + 1));
    lines.push_back(FmtCel(vio->Rec().GrdRow + dr + 1));
    switch (typ) {
      case VT_STA: case VT_STO: case VT_IFF: case VT_THN: case VT_ELS: case VT_SWI: case VT_RTI:
        break;
      case VT_DLY:
        lines.push_back(vio->Rec().ValTxt);
        break;
      case VT_LBL:
        if (vio->FndCtl(TeCtlKnd::Cbx, CR_LBL_NAM) < 0) {
          ShwMsgBox("#018, No combobox on 'label' vio found");
          return false;
        }
        lines.push_back(vio->Rec().LblNam);
        break;
      case VT_GTO:
        if (vio->FndCtl(TeCtlKnd::Cbx, CR_GTO_NAM) < 0) {
          ShwMsgBox("#019, No combobox on 'goto' vio found");
          return false;
        }
        lines.push_back(vio->Rec().LblNam);
        break;
      case VT_ACT:
        lines.push_back(vio->Rec().SarTyp);
        lines.push_back(vio->Rec().SarCom);
        lines.push_back(vio->Rec().ValTxt);
        break;
      case VT_SNS:
        lines.push_back(vio->Rec().SarTyp);
        lines.push_back(vio->Rec().SarCom);
        break;
      case VT_SPD:
        lines.push_back(vio->Rec().SpdTxt);
        lines.push_back("");  // the second speed, never used
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

bool TVioPgmItp::WrtVioLns(const TStrLst& lines, const std::string& path, std::string* why) {
  std::string all;
  for (const std::string& l : lines) {
    all += l;
    all += "\r\n";
  }
  std::string err;
  const bool ok = WrtFilSaf(path, all, err);
  if (why) *why = err;
  return ok;
}

bool TVioPgmItp::SavVioFil(const std::string& path) {
  TStrLst lines;
  if (!BldVioLns(lines)) {
    GuLstErrMsg.clear();  // the message box has told it already
    return false;
  }
  std::string why;
  if (!WrtVioLns(lines, path, &why)) {
    GuLstErrMsg = "#414, Vio file '" + path + "' could not be written: " + why;
    // The way out of a file the user may not write.
    if (why.rfind(std::strerror(EACCES), 0) == 0) GuLstErrMsg += " (Save As saves the program under another name)";
    return false;
  }
  FpDoc->SavLns = std::move(lines);
  FpDoc->Nam = path;
  NtfHst();
  return true;
}

bool TVioPgmItp::LodVioFil(const std::string& path, bool sav) {
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
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    GuLstErrMsg = "#402, Vio file '" + path + "' could not be read";
    return false;
  }
  {
    TStpGrd stp(*this);
    const std::shared_ptr<TuVioDoc> bfr = FpDoc;
    // The loaded program is a document of its own, also for the history:
    // a recovery copy is one that has no file yet.
    FpDoc = std::make_shared<TuVioDoc>();
    if (!LodVioStm(in, path, false)) {
      FpDoc = bfr;
      return false;
    }
    if (sav) {
      FpDoc->Nam = path;
      FpDoc->SavLns.clear();
      BldVioLns(FpDoc->SavLns);
    }
  }
  // The unsaved mark changes also when the file holds what the field held
  // (then the history takes no step and says nothing).
  if (sav) NtfHst();
  return true;
}

bool TVioPgmItp::PrsVioTxt(std::istream& in, const std::string& path, std::vector<TuVioBlk>& blks, bool qui) {
  return TVioFilRdr(in, path, FPgm.GrdCls(), FPgm.GrdRws(), qui).Prs(blks);
}

bool TVioPgmItp::LodVioStm(std::istream& in, const std::string& path, bool exact) {
  // The whole file is checked before the field is touched: a damaged file
  // leaves the program on the field as it was.
  std::vector<TuVioBlk> blks;
  if (!PrsVioTxt(in, path, blks, false)) return false;

  FPgm.SetLblLst({});
  RmvAllVio();
  if (FOnTbnEna) {
    FOnTbnEna(VT_STA, true);
    FOnTbnEna(VT_SWI, true);
  }
  for (const TuVioBlk& b : blks)
    if (!CrtBlkVio(b, 0, 0, exact)) return false;
  return true;
}

bool TVioPgmItp::CrtBlkVio(const TuVioBlk& b, int dc, int dr, bool exact) {
  const int col = b.Col + dc, row = b.Row + dr;
  auto addLbl = [this](const std::string& nam) {
    bool has = false;
    for (const std::string& l : FPgm.LblLst()) has = has || EqlNoCase(l, nam);
    if (!has) FPgm.LblLstMut().push_back(nam);
  };
  switch (b.Typ) {
    case VT_STA: case VT_SWI:
      if (FOnTbnEna) FOnTbnEna(b.Typ, false);
      return CrtSmpVio(b.Typ, col, row);
    case VT_STO: case VT_IFF: case VT_THN: case VT_ELS: case VT_RTI:
      return CrtSmpVio(b.Typ, col, row);
    case VT_DLY: {
      const bool ok = CrtDlyVio(col, row, b.Prm[0]);
      // A file's empty delay reads as the default; the field's own lines
      // come back as they were.
      if (ok && exact && b.Prm[0].empty()) {
        TVio* dly = FPgm.Vios().back();
        SetCtlTxt(dly, dly->FndCtl(TeCtlKnd::Edt, CR_VAL), "");
      }
      return ok;
    }
    case VT_LBL:
      addLbl(b.Prm[0]);
      return CrtLblVio(col, row, 0, b.Prm[0]);
    case VT_GTO:
      addLbl(b.Prm[0]);
      return CrtGtoVio(col, row, 0, b.Prm[0]);
    case VT_ACT:
      return CrtFilSarVio(col, row, b.Prm[0], b.Prm[1], b.Prm[2], true);
    case VT_SNS:
      return CrtFilSarVio(col, row, b.Prm[0], b.Prm[1], "", false);
    case VT_SPD: {
      long long v = 0;
      StrToInt(b.Prm[0], v);
      const bool ok = CrtSpdVio(col, row, static_cast<std::uint8_t>(v & 0xFF));
      // The edit keeps the number as the file wrote it: cutting 300 down to
      // 8 bits would silently turn it into 44 and change the program.
      if (ok) {
        TVio* spd = FPgm.Vios().back();
        SetCtlTxt(spd, spd->FndCtl(TeCtlKnd::Edt, CR_SPD), b.Prm[0]);
      }
      return ok;
    }
    default:
      return true;
  }
}
