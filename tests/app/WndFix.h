// The main window under test: on the installed data files (the real message,
// token, sensor and actor tables and the examples), with no ports to scan,
// the recording platform seams, and every component's interface at hand.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/VioBlk.h"
#include "app/VslCnv.h"
#include "app/VslDoc.h"
#include "app/VslLnk.h"
#include "app/VslTbr.h"
#include "core/Globals.h"
#include "editor/VioPgmItp.h"
#include "support/FakePlatform.h"

inline TVslCnvCfg DatCfg() {
  TVslCnvCfg c;
  c.AppDir = std::string(TESSARO_DATA_DIR) + "/";
  c.InsDir = c.AppDir;
  c.ScnPrt = [] { return std::vector<std::string>{}; };
  return c;
}

class TWndTst : public ::testing::Test {
protected:
  // A new window on the configuration; shown unless told otherwise.
  TfrmVslCnv& Mk(const TVslCnvCfg& cfg = DatCfg(), bool shw = true) {
    W = std::make_unique<TfrmVslCnv>(nullptr, cfg);
    if (shw) W->show();
    return *W;
  }
  void TearDown() override { W.reset(); }

  TFakePlatform Plt;
  std::unique_ptr<TfrmVslCnv> W;
};
