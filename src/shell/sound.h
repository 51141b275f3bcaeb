#pragma once
// The program's sound: wave files found by name in the sound folder, played
// on four performances kept apart so each has its own volume and stop:
// effects (clicks, tiles, voices), the rooms' looping ambiance, the rooms'
// music and the ambient one-shots chosen by season. Two segment slots hold
// the last wave loaded for effects and one-shots, and for ambiance and music.
//
// The decisions live here; a SoundBackend does the playing (DirectMusic or
// our own mixer on the Windows side, a recording fake in tests). Before
// InitSound, after ShutdownSound, and when the backend could not start,
// every call does nothing. Main thread only.
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>

namespace shell {

enum class SoundPerformance : int { kEffects = 0, kAmbiance = 1, kMusic = 2, kOneShot = 3 };
constexpr int kSoundPerformances = 4;

enum class SoundSlot : int { kEffect = 0, kLoop = 1 };

// A repeat count meaning "for ever".
constexpr uint32_t kSoundRepeatForever = 0xFFFFFFFFu;
// File names are copied into a buffer of this many wide characters
// (terminator included); longer names are cut.
constexpr size_t kSoundNameChars = 260;

class SoundBackend {
 public:
  virtual ~SoundBackend() = default;
  // Creates the engine with `folder` as the search folder; false leaves the
  // sound off.
  virtual bool Open(const std::string& folder) = 0;
  // Stops everything, releases the segments and the engine.
  virtual void Close() = 0;
  // Loads the file into the slot, replacing the segment it held; false when
  // the file does not load (the slot may then be empty).
  virtual bool Load(SoundSlot slot, const std::wstring& name) = 0;
  // Plays the slot's segment on the performance, repeats + 1 times (for
  // ever with kSoundRepeatForever). Effects play on the default path, the
  // other performances on their extra path.
  virtual void Play(SoundSlot slot, SoundPerformance perf, uint32_t repeats) = 0;
  virtual void Stop(SoundPerformance perf) = 0;
  // Master volume in hundredths of a decibel (0 is full volume).
  virtual void SetVolume(SoundPerformance perf, int32_t hundredthsDb) = 0;
};

// Starts the sound layer on a backend (owned from now on). False, and the
// sound stays off, when the backend does not open.
bool InitSound(std::unique_ptr<SoundBackend> backend, const std::string& folder);
void ShutdownSound();
bool IsSoundOn();

void PlaySoundFile(const wchar_t* name, int repeats);
void PlaySoundFileOnce(const wchar_t* name);
// A negative count repeats for ever.
void PlayAmbianceFile(const wchar_t* name, int repeats);
void PlayMusicFile(const wchar_t* name, int repeats);
// A count of 100 repeats for ever.
void PlayAmbientFile(const wchar_t* name, int repeats);
void StopMusic();
void StopAmbiance();

// v from 0 (-50 dB) to 100 (0 dB); values outside are held to that range.
void SetEffectsVolume(int v);
void SetMusicAndAmbianceVolume(int v);
void SetAmbianceVolume(int v);
int32_t VolumeToHundredthsDb(int v);

// The ambient one-shot of a season letter ('a', 'e', 'h', 'p') for a draw r
// of 0..99, or null when that draw plays nothing.
const wchar_t* SeasonOneShotName(char seasonLetter, int r);
// Seeds the sound's own random generator with the clock's seconds, draws
// r = rand() % 100 and plays that one-shot once. The game's generator is
// never touched.
void PlaySeasonOneShot(char seasonLetter);
int RandomPercent();

// The clock the two draws above seed from (time(NULL) by default); tests
// replace it. Null restores the default.
using SoundClock = std::time_t (*)();
void SetSoundClock(SoundClock clock);

// Deletes every "stream_*.wav" of the folder whose name does not begin
// with '.'; returns how many were deleted.
int DeleteStreamFiles(const char* folder);

}  // namespace shell
