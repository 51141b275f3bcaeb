// Our own engine for systems whose DirectMusic plays nothing: the sound
// layer's mixer pulled by a thread that keeps a few waveOut buffers queued.
#include <windows.h>
#include <mmsystem.h>

#include <atomic>
#include <thread>
#include <vector>

#include "shell/sound_mixer.h"
#include "shell/startup/sound_engine.h"

namespace shell {
namespace {

constexpr uint32_t kRate = 22050;
constexpr size_t kBuffers = 6;
constexpr size_t kFramesPerBuffer = 1024;  // about 46 ms each, 280 ms queued

class WaveOutOutput : public SoundOutput {
 public:
  ~WaveOutOutput() override { Stop(); }

  bool Start(SoundMixer& mixer) override {
    if (device_ || waveOutGetNumDevs() == 0) return device_ != nullptr;
    event_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!event_) return false;
    WAVEFORMATEX fmt = {};
    fmt.wFormatTag = WAVE_FORMAT_PCM;
    fmt.nChannels = 2;
    fmt.nSamplesPerSec = mixer.outputRate();
    fmt.wBitsPerSample = 16;
    fmt.nBlockAlign = 4;
    fmt.nAvgBytesPerSec = fmt.nSamplesPerSec * fmt.nBlockAlign;
    if (waveOutOpen(&device_, WAVE_MAPPER, &fmt, reinterpret_cast<DWORD_PTR>(event_), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      device_ = nullptr;
      CloseHandle(event_);
      event_ = nullptr;
      return false;
    }
    for (Buffer& b : buffers_) {
      b.samples.assign(kFramesPerBuffer * 2, 0);
      b.header = WAVEHDR();
      b.header.lpData = reinterpret_cast<LPSTR>(b.samples.data());
      b.header.dwBufferLength = static_cast<DWORD>(b.samples.size() * sizeof(int16_t));
      waveOutPrepareHeader(device_, &b.header, sizeof(WAVEHDR));
      b.header.dwFlags |= WHDR_DONE;  // free to fill
    }
    running_ = true;
    thread_ = std::thread([this, &mixer] { Pump(mixer); });
    return true;
  }

  void Stop() override {
    if (!device_) return;
    running_ = false;
    SetEvent(event_);
    if (thread_.joinable()) thread_.join();
    waveOutReset(device_);
    for (Buffer& b : buffers_)
      waveOutUnprepareHeader(device_, &b.header, sizeof(WAVEHDR));
    waveOutClose(device_);
    device_ = nullptr;
    CloseHandle(event_);
    event_ = nullptr;
  }

 private:
  struct Buffer {
    std::vector<int16_t> samples;
    WAVEHDR header;
  };

  void Pump(SoundMixer& mixer) {
    while (running_) {
      for (Buffer& b : buffers_) {
        if (!running_) break;
        if (!(b.header.dwFlags & WHDR_DONE)) continue;
        mixer.Mix(b.samples.data(), kFramesPerBuffer);
        b.header.dwFlags &= ~WHDR_DONE;
        if (waveOutWrite(device_, &b.header, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
          b.header.dwFlags |= WHDR_DONE;  // try again on the next round
        }
      }
      WaitForSingleObject(event_, 100);
    }
  }

  HWAVEOUT device_ = nullptr;
  HANDLE event_ = nullptr;
  Buffer buffers_[kBuffers];
  std::atomic<bool> running_{false};
  std::thread thread_;
};

}  // namespace

std::unique_ptr<SoundBackend> CreateWaveOutBackend() {
  return std::make_unique<MixerSoundBackend>(std::make_unique<WaveOutOutput>(), kRate);
}

}  // namespace shell
