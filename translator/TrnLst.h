// Text forms of a translation: the stream as one line of hex bytes and the
// listing (one line per byte with the vio that made it).
#pragma once

#include <string>

class TInsAndTkn;
struct TuPgmVio;

// "ACTOR at column 3, row 2": the vio's caption on one line and its cell.
std::string TrnVioDsc(const TuPgmVio& vio);

// The stream as "A0 11 A1" (no line end).
std::string FmtTrnStm(const TInsAndTkn& trn);

// A header line, then one line per byte: address, byte, mnemonic, jump target
// (Goto, Then), vio (from the translation's description). Line 1 + a belongs to address a.
std::string FmtTrnLst(const TInsAndTkn& trn);
constexpr int GcTrnLstHdrLin = 1;
