#include "shell/sound.h"

#include <cstdio>

#include "platform/crand.h"
#include "platform/path.h"

namespace shell {
namespace {

struct SoundState {
  std::unique_ptr<SoundBackend> backend;
  platform::CRand random;  // the sound's own: the game's generator is never re-seeded
  SoundClock clock = nullptr;
};

SoundState& State() {
  static SoundState s;
  return s;
}

std::time_t Now() {
  SoundClock c = State().clock;
  return c ? c() : std::time(nullptr);
}

// The name as the play operations hold it: at most 259 characters.
std::wstring BoundedName(const wchar_t* name) {
  std::wstring out;
  for (size_t i = 0; name[i] && i + 1 < kSoundNameChars; ++i)
    out += name[i];
  return out;
}

void PlayOn(SoundSlot slot, SoundPerformance perf, const wchar_t* name, uint32_t repeats) {
  SoundBackend* b = State().backend.get();
  if (!b || !name) return;
  if (!b->Load(slot, BoundedName(name))) return;  // a file that does not load plays nothing
  b->Play(slot, perf, repeats);
}

void SetVolumes(std::initializer_list<SoundPerformance> perfs, int v) {
  SoundBackend* b = State().backend.get();
  if (!b) return;
  const int32_t db = VolumeToHundredthsDb(v);
  for (SoundPerformance p : perfs)
    b->SetVolume(p, db);
}

int DrawPercent() {
  SoundState& s = State();
  s.random.Seed(static_cast<uint32_t>(Now()));
  return s.random.Next() % 100;
}

// Ambient one-shots by season letter; band b holds draws 10b+1 .. 10b+10.
const wchar_t* const kAutumn[] = {L"AautOS01.wav", L"AautOS02.wav", L"AautOS03.wav",
                                  L"AautOS04.wav", L"AautOS05.wav", L"AautOS06.wav",
                                  L"AautOS07.wav", L"AautOS08.wav", nullptr};
const wchar_t* const kSummer[] = {L"AeteOS01.wav", L"AeteOS02.wav", L"AeteOS03.wav",
                                  L"AeteOS04.wav", L"AeteOS05.wav", L"AeteOS06.wav",
                                  L"AeteOS07.wav", L"AeteOS08.wav", nullptr};
const wchar_t* const kWinter[] = {L"AhivOS01.wav", L"AhivOS02.wav", L"AhivOS03.wav",
                                  L"AhivOS04.wav", L"AhivOS05.wav", L"AhivOS06.wav",
                                  L"AhivOS07.wav", L"AhivOS08.wav", L"AhivOS09.wav"};
// Spring's eighth band borrows winter's eighth sound.
const wchar_t* const kSpring[] = {L"ApriOS01.wav", L"ApriOS02.wav", L"ApriOS03.wav",
                                  L"ApriOS04.wav", L"ApriOS05.wav", L"ApriOS06.wav",
                                  L"ApriOS07.wav", L"AhivOS08.wav", nullptr};

}  // namespace

bool InitSound(std::unique_ptr<SoundBackend> backend, const std::string& folder) {
  ShutdownSound();
  if (!backend || !backend->Open(folder)) return false;
  State().backend = std::move(backend);
  return true;
}

void ShutdownSound() {
  SoundState& s = State();
  if (!s.backend) return;
  s.backend->Close();
  s.backend.reset();
}

bool IsSoundOn() { return State().backend != nullptr; }

void PlaySoundFile(const wchar_t* name, int repeats) {
  // The caller's count goes through unchanged: -1 is the engine's "for ever".
  PlayOn(SoundSlot::kEffect, SoundPerformance::kEffects, name, static_cast<uint32_t>(repeats));
}

void PlaySoundFileOnce(const wchar_t* name) { PlaySoundFile(name, 0); }

void PlayAmbianceFile(const wchar_t* name, int repeats) {
  PlayOn(SoundSlot::kLoop, SoundPerformance::kAmbiance, name,
         repeats < 0 ? kSoundRepeatForever : static_cast<uint32_t>(repeats));
}

void PlayMusicFile(const wchar_t* name, int repeats) {
  PlayOn(SoundSlot::kLoop, SoundPerformance::kMusic, name,
         repeats < 0 ? kSoundRepeatForever : static_cast<uint32_t>(repeats));
}

void PlayAmbientFile(const wchar_t* name, int repeats) {
  PlayOn(SoundSlot::kEffect, SoundPerformance::kOneShot, name,
         repeats == 100 ? kSoundRepeatForever : static_cast<uint32_t>(repeats));
}

void StopMusic() {
  if (SoundBackend* b = State().backend.get()) b->Stop(SoundPerformance::kMusic);
}

void StopAmbiance() {
  if (SoundBackend* b = State().backend.get()) b->Stop(SoundPerformance::kAmbiance);
}

int32_t VolumeToHundredthsDb(int v) {
  if (v < 0) v = 0;
  if (v > 100) v = 100;
  return (v - 100) * 50;
}

void SetEffectsVolume(int v) { SetVolumes({SoundPerformance::kEffects}, v); }

void SetMusicAndAmbianceVolume(int v) {
  SetVolumes({SoundPerformance::kMusic, SoundPerformance::kAmbiance, SoundPerformance::kOneShot},
             v);
}

void SetAmbianceVolume(int v) {
  SetVolumes({SoundPerformance::kAmbiance, SoundPerformance::kOneShot}, v);
}

const wchar_t* SeasonOneShotName(char seasonLetter, int r) {
  const wchar_t* const* table = nullptr;
  switch (seasonLetter) {
    case 'a':
      table = kAutumn;
      break;
    case 'e':
      table = kSummer;
      break;
    case 'h':
      table = kWinter;
      break;
    case 'p':
      table = kSpring;
      break;
    default:
      return nullptr;
  }
  if (r < 1 || r > 90) return nullptr;
  return table[(r - 1) / 10];
}

void PlaySeasonOneShot(char seasonLetter) {
  const int r = DrawPercent();
  if (const wchar_t* name = SeasonOneShotName(seasonLetter, r)) PlayAmbientFile(name, 0);
}

int RandomPercent() { return DrawPercent(); }

void SetSoundClock(SoundClock clock) { State().clock = clock; }

int DeleteStreamFiles(const char* folder) {
  if (!folder) return 0;
  char pattern[512];
  const int n = std::snprintf(pattern, sizeof pattern, "%s\\stream_*.wav", folder);
  if (n < 0 || static_cast<size_t>(n) >= sizeof pattern) return 0;
  int deleted = 0;
  for (const platform::FindEntry& e : platform::FindFiles(pattern)) {
    if (e.isDirectory || e.name.empty() || e.name[0] == '.') continue;
    if (platform::RemoveFile(platform::JoinPath(folder, e.name).c_str())) ++deleted;
  }
  return deleted;
}

}  // namespace shell
