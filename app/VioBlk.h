// The blink of a vio that the user must look at: hidden for a moment, then
// shown for a while, five times; it ends visible. A vio that the editor
// removes stops its blink first.
#pragma once

#include <QObject>
#include <QTimer>

#include <memory>

class TVio;
class TVioPgmItp;

struct TVioBlkTms {
  int Fst = 10;   // the first blink of a run starts after it
  int Hid = 100;  // a blinking vio stays hidden this long
  int Shw = 500;  // and then shown this long
};

class TVioBlk final : public QObject {
public:
  explicit TVioBlk(TVioBlkTms tms);
  ~TVioBlk() override;

  // Hears the editor's removals from now on; Unb before the editor goes.
  void Bnd(TVioPgmItp& edt);
  void Unb();
  // Makes the vio the blink target and starts the blink.
  void Sta(TVio* vio);
  // Ends a running blink; show: the target is made visible.
  void End(bool show);
  void Tck();
  TVio* Vio() const { return FpBlkVio; }
  QTimer& Tmr() { return tmrVioBlk; }

private:
  struct TRmvObs;
  TVioBlkTms FTms;
  TVioPgmItp* FpEdt = nullptr;
  std::unique_ptr<TRmvObs> FpObs;
  TVio* FpBlkVio = nullptr;
  int FiVioBlkShwCnt = 0;  // shows of the running blink
  QTimer tmrVioBlk;
};
