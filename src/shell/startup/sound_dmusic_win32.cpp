// The DirectMusic engine: one loader whose search folder is the sound
// folder, four performances (effects on a dynamic stereo default path; the
// others on shared stereo plus reverb with an extra path of their own), two
// segment slots.
#include <windows.h>
#include <dmusici.h>

#include <string>

#include "shell/startup/sound_engine.h"

namespace shell {
namespace {

constexpr DWORD kChannels = 64;

template <class T>
void Release(T*& p) {
  if (p) p->Release();
  p = nullptr;
}

class DirectMusicBackend : public SoundBackend {
 public:
  ~DirectMusicBackend() override { Close(); }

  bool Open(const std::string& folder) override {
    comStarted_ = SUCCEEDED(CoInitialize(nullptr));
    if (FAILED(CoCreateInstance(CLSID_DirectMusicLoader, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IDirectMusicLoader8, reinterpret_cast<void**>(&loader_)))) {
      Close();
      return false;
    }
    // Effects keep the default path; the other three play on an extra path.
    const DWORD defaults[kSoundPerformances] = {
        DMUS_APATH_DYNAMIC_STEREO, DMUS_APATH_SHARED_STEREOPLUSREVERB,
        DMUS_APATH_SHARED_STEREOPLUSREVERB, DMUS_APATH_SHARED_STEREOPLUSREVERB};
    const DWORD extras[kSoundPerformances] = {0, DMUS_APATH_SHARED_STEREOPLUSREVERB,
                                              DMUS_APATH_DYNAMIC_STEREO,
                                              DMUS_APATH_SHARED_STEREOPLUSREVERB};
    for (int i = 0; i < kSoundPerformances; ++i) {
      IDirectMusicPerformance8*& p = perf_[i];
      if (FAILED(CoCreateInstance(CLSID_DirectMusicPerformance, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IDirectMusicPerformance8, reinterpret_cast<void**>(&p))) ||
          FAILED(p->InitAudio(nullptr, nullptr, nullptr, defaults[i], kChannels, DMUS_AUDIOF_ALL,
                              nullptr))) {
        Release(p);
        Close();
        return false;
      }
      initialised_[i] = true;
      if (extras[i] && FAILED(p->CreateStandardAudioPath(extras[i], kChannels, TRUE, &path_[i]))) {
        Close();
        return false;
      }
    }
    std::wstring wide(folder.begin(), folder.end());
    wide.resize(MAX_PATH < wide.size() ? MAX_PATH : wide.size());
    WCHAR search[MAX_PATH + 1] = {};
    wide.copy(search, MAX_PATH);
    loader_->SetSearchDirectory(GUID_DirectMusicAllTypes, search, FALSE);
    return true;
  }

  void Close() override {
    for (IDirectMusicPerformance8* p : perf_) {
      if (p) p->Stop(nullptr, nullptr, 0, 0);
    }
    for (IDirectMusicSegment8*& s : segment_)
      Release(s);
    Release(loader_);
    for (int i = 0; i < kSoundPerformances; ++i) {
      Release(path_[i]);
      if (perf_[i]) {
        perf_[i]->Stop(nullptr, nullptr, 0, 0);
        if (initialised_[i]) perf_[i]->CloseDown();
      }
      initialised_[i] = false;
      Release(perf_[i]);
    }
    if (comStarted_) CoUninitialize();
    comStarted_ = false;
  }

  bool Load(SoundSlot slot, const std::wstring& name) override {
    if (!loader_) return false;
    WCHAR file[kSoundNameChars] = {};
    name.copy(file, kSoundNameChars - 1);
    IDirectMusicSegment8* loaded = nullptr;
    if (FAILED(loader_->LoadObjectFromFile(CLSID_DirectMusicSegment, IID_IDirectMusicSegment8, file,
                                           reinterpret_cast<void**>(&loaded)))) {
      return false;
    }
    // What the replaced segment still plays keeps playing: the performance
    // holds its own reference.
    IDirectMusicSegment8*& held = segment_[static_cast<int>(slot)];
    Release(held);
    held = loaded;
    return true;
  }

  void Play(SoundSlot slot, SoundPerformance perf, uint32_t repeats) override {
    IDirectMusicSegment8* s = segment_[static_cast<int>(slot)];
    IDirectMusicPerformance8* p = perf_[static_cast<int>(perf)];
    if (!s || !p) return;
    IDirectMusicAudioPath* path = path_[static_cast<int>(perf)];
    if (FAILED(s->Download(path ? static_cast<IUnknown*>(path) : p))) return;
    s->SetRepeats(repeats);
    p->PlaySegmentEx(s, nullptr, nullptr, 0, 0, nullptr, nullptr, path);
  }

  void Stop(SoundPerformance perf) override {
    if (IDirectMusicPerformance8* p = perf_[static_cast<int>(perf)])
      p->Stop(nullptr, nullptr, 0, 0);
  }

  void SetVolume(SoundPerformance perf, int32_t hundredthsDb) override {
    if (IDirectMusicPerformance8* p = perf_[static_cast<int>(perf)]) {
      long v = hundredthsDb;
      p->SetGlobalParam(GUID_PerfMasterVolume, &v, sizeof v);
    }
  }

 private:
  bool comStarted_ = false;
  IDirectMusicLoader8* loader_ = nullptr;
  IDirectMusicPerformance8* perf_[kSoundPerformances] = {};
  bool initialised_[kSoundPerformances] = {};
  IDirectMusicAudioPath* path_[kSoundPerformances] = {};
  IDirectMusicSegment8* segment_[2] = {};
};

}  // namespace

std::unique_ptr<SoundBackend> CreateDirectMusicBackend() {
  return std::make_unique<DirectMusicBackend>();
}

}  // namespace shell
