// The sound layer on the real engines. Both start and take every call
// without failing, with or without an audio device; and, when scripts/test.sh
// runs a private PulseAudio server (TESS_PULSE_SINK names its null sink), an
// effect and a looping ambiance played through the layer are recorded from
// the sink's monitor with parec and measured with sox: sound arrives, the
// effect stands apart, the ambiance loops past its file's length and stops
// when told.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/path.h"
#include "shell/sound.h"
#include "shell/wave_file.h"
#include "shell/startup/sound_engine.h"

namespace {

std::string SoundFolder() {
  std::string p = std::string("Z:") + TESS_BUILD_DIR + "/Data/Sound";
  for (char& c : p)
    c = c == '/' ? '\\' : c;
  return p;
}

std::string Sink() {
  const char* s = std::getenv("TESS_PULSE_SINK");
  return s ? s : "";
}

// Wine's audio goes to the pulse driver for the recorded test; set before
// winmm loads its driver in this process.
const bool kPulseDriver = [] {
  if (Sink().empty()) return false;
  HKEY key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\Drivers", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const char value[] = "pulse";
  const bool ok = RegSetValueExA(key, "Audio", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 sizeof value) == ERROR_SUCCESS;
  RegCloseKey(key);
  return ok;
}();

TEST(SoundEngines, EveryCallRunsOnBothEnginesWithOrWithoutADevice) {
  for (shell::SoundEngine engine :
       {shell::SoundEngine::kDirectMusic, shell::SoundEngine::kWaveOut}) {
    const bool on = shell::InitSound(engine, SoundFolder());
    // Our own engine always starts: with no device it is silent.
    if (engine == shell::SoundEngine::kWaveOut) {
      EXPECT_TRUE(on);
    }
    EXPECT_EQ(shell::IsSoundOn(), on);
    shell::SetEffectsVolume(80);
    shell::SetMusicAndAmbianceVolume(50);
    shell::PlaySoundFileOnce(L"SBouOK1.wav");
    shell::PlaySoundFile(L"missing.wav", 0);
    shell::PlayAmbianceFile(L"AStandard01.wav", -1);
    shell::PlayMusicFile(L"Mmenu01.wav", -1);
    shell::PlayAmbientFile(L"AhivOS03.wav", 100);
    shell::PlaySeasonOneShot('p');
    Sleep(150);
    shell::StopMusic();
    shell::StopAmbiance();
    shell::ShutdownSound();
    EXPECT_FALSE(shell::IsSoundOn());
  }
}

// Starts a Unix shell command (Wine runs ELF binaries by their Unix path).
// Wine gives no handle to wait on for such a process, so the command leaves
// its exit code in a marker file when it ends.
bool StartUnix(const std::string& command, const std::string& marker) {
  std::remove(("Z:" + marker).c_str());
  std::string cmd = "/bin/sh -c \"( " + command + " ); echo $? > " + marker + ".tmp && mv " +
                    marker + ".tmp " + marker + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    return false;
  }
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  return true;
}

// The command's exit code once its marker appears, or -1 after timeoutMs.
int WaitUnix(const std::string& marker, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
    std::ifstream in("Z:" + marker);
    int code = -1;
    if (in >> code) return code;
    Sleep(100);
  }
  return -1;
}

// One value of `sox ... stat` ("Length (seconds)", "RMS     amplitude").
double StatValue(const std::string& statFile, const std::string& label) {
  std::ifstream in("Z:" + statFile);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, label.size(), label) == 0) {
      const size_t colon = line.find(':');
      if (colon != std::string::npos) return std::atof(line.c_str() + colon + 1);
    }
  }
  return -1;
}

struct Segment {
  double start, end;  // seconds
};

// Stretches of sound in a recording: 20 ms windows louder than 1% of full
// scale, joined across gaps shorter than 0.1 s.
std::vector<Segment> SoundSegments(const std::string& path) {
  std::vector<uint8_t> bytes;
  shell::WaveData wave;
  std::vector<Segment> out;
  if (platform::ReadFileBounded(path.c_str(), shell::kWaveMaxFileBytes, bytes) !=
          platform::ReadStatus::kOk ||
      shell::ParseWave(bytes.data(), bytes.size(), wave) != shell::WaveError::kNone) {
    return out;
  }
  const size_t window = wave.rate / 50;
  const double step = 1.0 / 50;
  for (size_t w = 0; (w + 1) * window * wave.channels <= wave.pcm.size(); ++w) {
    double sum = 0;
    for (size_t i = 0; i < window * wave.channels; ++i) {
      const double v = wave.pcm[w * window * wave.channels + i] / 32768.0;
      sum += v * v;
    }
    if (std::sqrt(sum / (window * wave.channels)) < 0.01) continue;
    const double t = w * step;
    if (!out.empty() && t - out.back().end < 0.1) {
      out.back().end = t + step;
    } else {
      out.push_back({t, t + step});
    }
  }
  return out;
}

TEST(SoundHeard, AnEffectAndALoopingAmbianceReachTheAudioServer) {
  const std::string sink = Sink();
  if (sink.empty()) {
    GTEST_SKIP() << "no private PulseAudio server (scripts/test.sh starts one): nothing to hear";
  }
  ASSERT_TRUE(kPulseDriver);
  ASSERT_TRUE(shell::IsRunningUnderWine());
  const std::string dir = TESS_BUILD_DIR;
  const std::string capture = dir + "/sound_capture.wav";
  const std::string trimmed = dir + "/sound_capture_trimmed.wav";
  std::remove(("Z:" + capture).c_str());

  // Record the sink for fourteen seconds in the background, and play once the
  // recording runs (its file grows).
  const std::string recorded = dir + "/sound_capture_recorded";
  ASSERT_TRUE(StartUnix("/usr/bin/timeout -s INT 14 /usr/bin/parec --device=" + sink +
                            ".monitor --rate=22050 --channels=1 --format=s16le "
                            "--file-format=wav " +
                            capture,
                        recorded));
  WIN32_FILE_ATTRIBUTE_DATA info = {};
  for (int i = 0; i < 100; ++i) {
    if (GetFileAttributesExA(("Z:" + capture).c_str(), GetFileExInfoStandard, &info) &&
        info.nFileSizeLow > 8192) {
      break;
    }
    Sleep(100);
  }
  ASSERT_GT(info.nFileSizeLow, 8192u) << "parec records nothing";

  ASSERT_TRUE(shell::InitSound(shell::SoundEngine::kAuto, SoundFolder()));
  // Under Wine the first second or so after the device opens is not heard;
  // the program opens it long before its first sound (behind the splash).
  Sleep(2000);
  shell::PlaySoundFileOnce(L"SBouOK1.wav");  // 0.115 s
  Sleep(1500);
  shell::PlayAmbianceFile(L"AStandard01.wav", -1);  // a 4 s file, for ever
  Sleep(5200);
  shell::StopAmbiance();
  Sleep(800);
  shell::ShutdownSound();
  // timeout's INT ends parec cleanly, so its exit code is 124.
  EXPECT_GE(WaitUnix(recorded, 15000), 0) << "parec did not finish";

  // sox: the recording, cut of the silence before and after, is not silent
  // and lasts from the effect to the ambiance's stop.
  const std::string stat = dir + "/sound_capture_stat.txt";
  const std::string analysed = dir + "/sound_capture_analysed";
  ASSERT_TRUE(StartUnix("sox " + capture + " " + trimmed +
                            " silence 1 0.02 1% reverse silence 1 0.02 1% reverse && sox " +
                            trimmed + " -n stat 2> " + stat,
                        analysed));
  ASSERT_EQ(WaitUnix(analysed, 30000), 0);
  const double length = StatValue(stat, "Length (seconds)");
  EXPECT_GT(StatValue(stat, "RMS     amplitude"), 0.02) << "the recording is silent";
  EXPECT_GT(length, 1.5 + 4.5);
  EXPECT_LT(length, 1.5 + 6.2);

  // The recording's sound segments: the effect alone, a quiet gap, then the
  // ambiance, longer than one pass of its file and over soon after the stop.
  // On a loaded machine the audio server drops a few tenths of a second now
  // and then; such short breaks belong to the sound around them.
  std::vector<Segment> parts;
  std::ostringstream seen;
  for (const Segment& p : SoundSegments("Z:" + capture)) {
    seen << " [" << p.start << ", " << p.end << "]";
    if (!parts.empty() && p.start - parts.back().end < 0.5) {
      parts.back().end = p.end;
    } else {
      parts.push_back(p);
    }
  }
  ASSERT_GE(parts.size(), 2u) << seen.str();
  const Segment& effect = parts.front();
  const Segment& ambiance = parts.back();
  EXPECT_LT(effect.end - effect.start, 0.6) << seen.str();
  EXPECT_GT(ambiance.start - effect.end, 0.8) << seen.str();
  EXPECT_GT(ambiance.end - ambiance.start, 4.5) << seen.str();
  EXPECT_LT(ambiance.end - ambiance.start, 6.2) << seen.str();
}

}  // namespace
