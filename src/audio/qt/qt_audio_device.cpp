#include "audio/qt/qt_audio_device.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstring>

namespace dvr::audio {
namespace {

// Reads the ring for ever, from where the sound system has got to.
class RingReader final : public QIODevice {
 public:
  void SetRing(const uint8_t* ring, size_t size) {
    ring_ = ring;
    size_ = size;
  }
  void Rewind() { position_ = 0; }
  uint64_t Position() const { return position_.load(); }

  qint64 readData(char* data, qint64 max) override {
    if (ring_ == nullptr || size_ == 0 || max <= 0) return 0;
    uint64_t at = position_.load();
    for (qint64 done = 0; done < max;) {
      const size_t offset = static_cast<size_t>(at % size_);
      const auto take = static_cast<qint64>(std::min<uint64_t>(static_cast<uint64_t>(max - done), size_ - offset));
      std::memcpy(data + done, ring_ + offset, static_cast<size_t>(take));
      done += take;
      at += static_cast<uint64_t>(take);
    }
    position_ = at;
    return max;
  }
  qint64 writeData(const char*, qint64) override { return -1; }
  qint64 bytesAvailable() const override { return size_ ? static_cast<qint64>(size_) + QIODevice::bytesAvailable() : 0; }
  bool isSequential() const override { return true; }

 private:
  const uint8_t* ring_ = nullptr;
  size_t size_ = 0;
  std::atomic<uint64_t> position_{0};
};

}  // namespace

// Lives on its own thread; every call runs there.
class QtAudioDevice::Host {
 public:
  Host() {
    thread_.start();
    context_.moveToThread(&thread_);
    reader_.moveToThread(&thread_);
  }
  ~Host() {
    Run([this] {
      DropSink();
      return true;
    });
    thread_.quit();
    thread_.wait();
  }

  // Runs `f` on the device's thread and waits for its result.
  template <typename F>
  bool Run(F&& f) {
    bool result = false;
    QMetaObject::invokeMethod(&context_, [&] { result = f(); }, Qt::BlockingQueuedConnection);
    return result;
  }

  bool Open(const WaveFormat& format) {
    DropSink();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return false;
    format_.setSampleRate(static_cast<int>(format.samples_per_second));
    format_.setChannelCount(format.channels);
    format_.setSampleFormat(format.bits_per_sample == 16 ? QAudioFormat::Int16 : QAudioFormat::UInt8);
    if (!device.isFormatSupported(format_)) return false;
    MakeSink();
    return true;
  }

  bool Start() {
    if (!sink_) return false;
    reader_.Rewind();
    reader_.open(QIODevice::ReadOnly);
    playing_ = true;
    sink_->start(&reader_);
    return sink_->error() == QAudio::NoError;
  }

  bool Pause() {
    if (!sink_) return false;
    playing_ = false;
    sink_->suspend();
    return true;
  }

  bool Restart() {
    if (!sink_) return false;
    playing_ = true;
    sink_->resume();
    return true;
  }

  bool SetVolume(uint16_t left) {
    volume_ = left / 65535.0;
    if (sink_) sink_->setVolume(volume_);
    return sink_ != nullptr;
  }

  void DropSink() {
    playing_ = false;
    if (sink_) sink_->stop();
    sink_.reset();
    reader_.close();
  }

  bool HasSink() const { return sink_ != nullptr; }
  RingReader& reader() { return reader_; }

 private:
  void MakeSink() {
    sink_ = std::make_unique<QAudioSink>(QMediaDevices::defaultAudioOutput(), format_);
    sink_->setVolume(volume_);
    sink_->setBufferSize(4096);  // a short way from the ring to the speaker
    QObject::connect(sink_.get(), &QAudioSink::stateChanged, &context_, [this](QAudio::State state) {
      // A sound server that went away stops the sink with an error: make it again shortly and
      // go on reading the ring where the old one stopped.
      if (state == QAudio::StoppedState && sink_ && sink_->error() != QAudio::NoError && playing_) {
        QTimer::singleShot(500, &context_, [this] { Recover(); });
      }
    });
  }

  void Recover() {
    if (!playing_ || (sink_ && sink_->state() != QAudio::StoppedState)) return;
    MakeSink();
    reader_.close();
    reader_.open(QIODevice::ReadOnly);
    sink_->start(&reader_);
  }

  QThread thread_;
  QObject context_;  // on thread_: where the sink and its signals live
  QAudioFormat format_;
  std::unique_ptr<QAudioSink> sink_;
  RingReader reader_;
  double volume_ = 1.0;
  bool playing_ = false;
};

QtAudioDevice::QtAudioDevice() : host_(std::make_unique<Host>()) {}
QtAudioDevice::~QtAudioDevice() = default;

bool QtAudioDevice::Open(const WaveFormat& format) { return host_->Run([&] { return host_->Open(format); }); }
bool QtAudioDevice::IsOpen() const { return host_->Run([&] { return host_->HasSink(); }); }
bool QtAudioDevice::PrepareLoop(const uint8_t* ring, size_t size) {
  return host_->Run([&] {
    host_->reader().SetRing(ring, size);
    return host_->HasSink();
  });
}
bool QtAudioDevice::StartLoop() { return host_->Run([&] { return host_->Start(); }); }
bool QtAudioDevice::Position(uint64_t& bytes) {
  bytes = host_->reader().Position();  // lock-free: the worker reads it every pass
  return true;
}
bool QtAudioDevice::Pause() { return host_->Run([&] { return host_->Pause(); }); }
bool QtAudioDevice::Restart() { return host_->Run([&] { return host_->Restart(); }); }
bool QtAudioDevice::SetVolume(uint16_t left, uint16_t) { return host_->Run([&] { return host_->SetVolume(left); }); }
void QtAudioDevice::Close() {
  host_->Run([&] {
    host_->DropSink();
    return true;
  });
}

}  // namespace dvr::audio
