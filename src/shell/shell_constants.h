#pragma once
// Constants of the application shell: path limits, folder and file names,
// string-table ids the shell itself uses, and the sizes of its file records.
#include <cstddef>
#include <cstdint>

namespace shell {

// Win32 MAX_PATH: every path the shell builds must fit with its terminator;
// a path that does not fit is refused, never cut.
constexpr size_t kMaxPath = 260;

// Names of the program's folders and files.
constexpr char kProgramIniName[] = "tessarin.ini";
constexpr char kDefaultUserIniName[] = "QNDEFAULT.INI";
constexpr char kTemplateNone[] = "NONE";
constexpr char kAdjournedGamesFolder[] = "Adjourned Games";
constexpr char kProfileExt[] = ".usr";
constexpr char kUserIniExt[] = ".ini";
constexpr char kLayoutExt[] = ".lay";
constexpr char kPersonalityExt[] = ".QNP";

// Caption of developer-facing errors (their texts are in French).
constexpr char kErrorCaption[] = "tessarin error";

// Message-box flags the shell passes on (Win32 values).
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbIconExclamation = 0x30;

// String-table ids used by the shell.
enum StringId : uint32_t {
  kStrDefaultProfile = 7144,  // "Default"
  kStrNameBadChars = 2432,    // characters not allowed in a player name
  kStrNameEndsWithDot = 2433,
  kStrNameTaken = 2167,  // formatted with the name
  kStrNameMissing = 2430,
  kStrNameExists = 2427,
  kStrBadUserName = 2436,
  kStrProductTitle = 1852,  // caption of the program's message boxes
  kStrPersonalityTaken = 2082,
};

// Record sizes of the binary files.
constexpr size_t kStatsRecordSize = 392;
constexpr size_t kOpponentRecordSize = 44;
constexpr size_t kProfileFixedSize = 7048;  // a profile file without opponents
// Opponents a profile file may list: far beyond any player's history, small
// enough that a planted huge file is refused before it is read.
constexpr size_t kMaxOpponentRecords = size_t{1} << 20;
constexpr uint64_t kMaxProfileFileSize =
    kProfileFixedSize + kOpponentRecordSize * kMaxOpponentRecords;
constexpr size_t kPersonalityRecordSize = 1268;
// Bytes after the record are carried along when a record is rewritten, up to
// this size.
constexpr uint64_t kMaxPersonalityFileSize = 64 * 1024;
constexpr int kStatsBlockCount = 8;

// Sounds the shell plays (resource names).
constexpr char kSoundGameWon[] = "SgpParG1.wav";
constexpr char kSoundGameLost[] = "SgpParP1.wav";

}  // namespace shell
