#include "sound/qt/QtSoundOut.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMediaDevices>
#include <QMetaObject>
#include <QSoundEffect>
#include <QThread>
#include <QUrl>

#include <chrono>

#include "sound/WavInf.h"

TQtSoundOut::TQtSoundOut(QObject* parent) : QObject(parent) {
  FGrd.setSingleShot(true);
  connect(&FGrd, &QTimer::timeout, this, &TQtSoundOut::Finish);
}

TQtSoundOut::~TQtSoundOut() {
  EndCur();
  std::lock_guard<std::mutex> lk(FWrkMtx);
  for (auto& w : FWrkWat) Release(w.lock());
  FWrkWat.clear();
}

void TQtSoundOut::SetGuardMs(int ms) { FGrdMs = ms; }

int TQtSoundOut::GuardMs(const std::string& path) const {
  const int fix = FGrdMs;
  if (fix >= 0) return fix;
  const int len = WavDurMs(path);
  const long long ms = (len > 0 ? len : 0) + static_cast<long long>(GcGrdMrgMs);
  return ms > 0x7fffffff ? 0x7fffffff : static_cast<int>(ms);
}

void TQtSoundOut::SetDevChk(std::function<bool()> chk) { FDevChk = std::move(chk); }

bool TQtSoundOut::HasDev() const {
  if (FDevChk) return FDevChk();
  return !QMediaDevices::audioOutputs().isEmpty();
}

bool TQtSoundOut::Playing() const { return FEff && !FFin; }

void TQtSoundOut::Release(const std::shared_ptr<TWait>& wait) {
  if (!wait) return;
  QEventLoop* loop = nullptr;
  {
    std::lock_guard<std::mutex> lk(wait->Mtx);
    wait->Done = true;
    loop = wait->Loop;
  }
  wait->Cv.notify_all();
  if (loop) loop->quit();  // only GUI thread waits have a loop, and only the GUI thread releases
}

void TQtSoundOut::Finish() {
  FGrd.stop();
  if (FFin) return;
  FFin = true;
  std::shared_ptr<TWait> w = std::move(FWat);
  FWat.reset();
  Release(w);
  emit Finished();
}

void TQtSoundOut::EndCur() {
  Finish();
  if (QSoundEffect* eff = FEff) {
    FEff = nullptr;
    eff->disconnect(this);
    eff->stop();
    // Not deleted here: this may run inside one of its own signals (a slot
    // of Finished that starts the next sound).
    eff->deleteLater();
  }
}

void TQtSoundOut::Start(const std::string& path, const std::shared_ptr<TWait>& wait) {
  EndCur();
  // Only complete wave files go to QSoundEffect: for a cut-off file it waits
  // for the missing samples forever, and its shared sample cache then blocks
  // the destruction of every later effect.
  if (!HasDev() || !WavCmp(path)) {
    Release(wait);
    return;
  }
  auto* eff = new QSoundEffect(QMediaDevices::defaultAudioOutput(), this);
  FEff = eff;
  FStd = false;
  FFin = false;
  FWat = wait;
  connect(eff, &QSoundEffect::playingChanged, this, [this, eff] {
    if (eff != FEff) return;
    if (eff->isPlaying())
      FStd = true;
    else if (FStd)
      Finish();
  });
  connect(eff, &QSoundEffect::statusChanged, this, [this, eff] {
    if (eff == FEff && eff->status() == QSoundEffect::Error) Finish();
  });
  eff->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
  if (FFin) return;  // failed at once
  FGrd.start(GuardMs(path));
  eff->play();
  if (FEff == eff && eff->isPlaying()) FStd = true;
  if (FEff == eff && eff->status() == QSoundEffect::Error) Finish();
}

void TQtSoundOut::Play(const std::string& path, bool sync) {
  if (QThread::currentThread() == thread()) {
    if (!sync) {
      Start(path, nullptr);
      return;
    }
    auto wait = std::make_shared<TWait>();
    Start(path, wait);
    QEventLoop loop;
    {
      std::lock_guard<std::mutex> lk(wait->Mtx);
      if (wait->Done) return;
      wait->Loop = &loop;
    }
    // Only this thread releases a wait made here, so it cannot end before exec().
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    std::lock_guard<std::mutex> lk(wait->Mtx);
    wait->Loop = nullptr;
    return;
  }

  // Another thread: queue the request to the GUI thread.
  std::shared_ptr<TWait> wait;
  if (sync) {
    wait = std::make_shared<TWait>();
    std::lock_guard<std::mutex> lk(FWrkMtx);
    std::erase_if(FWrkWat, [](const std::weak_ptr<TWait>& w) { return w.expired(); });
    FWrkWat.push_back(wait);
  }
  QMetaObject::invokeMethod(this, [this, path, wait] { Start(path, wait); }, Qt::QueuedConnection);
  if (!wait) return;
  const auto bound = std::chrono::milliseconds(GuardMs(path)) + std::chrono::milliseconds(GcGrdMrgMs);
  std::unique_lock<std::mutex> lk(wait->Mtx);
  wait->Cv.wait_for(lk, bound, [&] { return wait->Done; });
}

void TQtSoundOut::Stop() {
  if (QThread::currentThread() == thread())
    EndCur();
  else
    QMetaObject::invokeMethod(this, [this] { EndCur(); }, Qt::QueuedConnection);
}
