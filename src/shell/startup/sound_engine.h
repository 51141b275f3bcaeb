#pragma once
// The Windows side of the sound layer: the engine that plays it. DirectMusic
// as the program has always used it, or, on systems where DirectMusic
// accepts a wave and plays nothing (Wine), our own mixer on waveOut, which
// keeps the four performances, their volumes and stops. Without an audio
// device the sound is silent and nothing fails.
#include <memory>
#include <string>

#include "shell/sound.h"

namespace shell {

enum class SoundEngine { kAuto, kDirectMusic, kWaveOut };

// Starts the sound layer on the engine (kAuto: waveOut under Wine,
// DirectMusic elsewhere) with the program's sound folder, or `folder` when
// it is not empty. False when no engine could start (the layer is then off).
bool InitSound();
bool InitSound(SoundEngine engine, const std::string& folder);

// True inside Wine (ntdll exports wine_get_version).
bool IsRunningUnderWine();

// The two engines, for the choice above and for tests.
std::unique_ptr<SoundBackend> CreateDirectMusicBackend();
std::unique_ptr<SoundBackend> CreateWaveOutBackend();

}  // namespace shell
