#include "game/library_record.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "game/game.h"
#include "game/game_strings.h"
#include "game/sectioned_data.h"
#include "platform/message_sink.h"

namespace {

constexpr uint32_t kStrUnknownMode = 3003;
constexpr uint32_t kStrOtherLanguageData = 3094;
constexpr size_t kMaxRecordSections = 10;

// A line of the MOVES body, read token by token.
class LineReader {
 public:
  explicit LineReader(const std::string& line) : line_(line) {}
  // The next token (blanks and tabs separate them); empty at the end.
  std::string Token() {
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t')
      ++pos_;
    return line_.substr(start, pos_ - start);
  }
  // The rest of the line from its first letter (a comment).
  std::string RestFromLetter() {
    while (pos_ < line_.size() && !std::isalpha(static_cast<unsigned char>(line_[pos_])))
      ++pos_;
    return line_.substr(pos_);
  }
  std::string Rest() {
    SkipBlanks();
    return line_.substr(pos_);
  }

 private:
  void SkipBlanks() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t'))
      ++pos_;
  }
  const std::string& line_;
  size_t pos_ = 0;
};

bool ParseNumber(const std::string& token, int32_t* out) {
  if (token.empty()) return false;
  size_t i = token[0] == '-' ? 1 : 0;
  if (i == token.size()) return false;
  int64_t v = 0;
  for (; i < token.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(token[i]))) return false;
    v = std::min<int64_t>(v * 10 + (token[i] - '0'), 1000000000);
  }
  *out = static_cast<int32_t>(token[0] == '-' ? -v : v);
  return true;
}

// Rack letters in lower case, '?' a blank; '+' and '-' skipped.
int32_t CopyRackToken(const std::string& token, char* out) {
  size_t n = 0;
  for (char c : token) {
    if (c == '+' || c == '-') continue;
    if (n >= kLibraryMaxRack || n + 1 >= kRackTextSize) return kLibTokenTooLong;
    if (c == '?')
      out[n++] = kUnassignedBlank;
    else if (std::isalpha(static_cast<unsigned char>(c)))
      out[n++] = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  out[n] = 0;
  return 0;
}

// Word letters: inside parentheses tiles already on the board (upper case).
int32_t CopyWordToken(const std::string& token, RobotMove& move) {
  bool board = false;
  size_t n = 0;
  for (char c : token) {
    if (c == '(') board = true;
    if (c == ')') board = false;
    if (!std::isalpha(static_cast<unsigned char>(c))) continue;
    if (n >= kLibraryMaxWord) return kLibTokenTooLong;
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    move.word[n++] =
        board ? static_cast<char>(std::toupper(static_cast<unsigned char>(lower))) : lower;
  }
  move.word[n] = 0;
  move.length = static_cast<uint8_t>(n);
  return 0;
}

std::vector<std::string> Lines(const char* body) {
  std::vector<std::string> lines;
  std::string line;
  for (const char* p = body; *p; ++p) {
    if (*p == '\r') continue;
    if (*p == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += *p;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string Lower(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

void ShowDuplicateMove(int index, const HistoryRecord& r, const std::string& rest) {
  char text[512];
  std::snprintf(text, sizeof text,
                "le moteur a bloqué à cause d'une erreur dans %s. move %d already loaded (%s - %d "
                "at %d,%d len %d) \n%s",
                "MOVES", index, r.move.word, r.move.score, r.move.column, r.move.row, r.move.length,
                rest.c_str());
  platform::ShowNotice(text, "chargement d'un fichier de données.", 0);
}

}  // namespace

const char* LibraryErrorText(int32_t code) {
  switch (code) {
    case kLibTextTooBig:
      return "Text not complete or too big for 1 kbytes.";
    case kLibTokenTooLong:
      return "an error happend. Make sure racks and words do not extend the allowed number of "
             "letters.";
    case kLibBadRow:
      return "error in a vertical position indication";
    case kLibBadColumn:
      return "error in a horizontal position indication";
    case kLibMissingDot:
      return "a dot is missing or is not next to a move number";
    case kLibMissingEnd:
      return "missing end of section caracter (])";
    case kLibBadDirection:
      return "a false direction indication. Only 'a' and 'd' are accepted.";
    case kLibMissingScore:
      return "The score of a move is missing.";
    case kLibEndBeforeMove:
      return "end of file before description of a move.";
    case kLibMissingWord:
      return "a played word was not found.";
    case kLibMissingPosition:
      return "The location indication of a move was not found.";
    case kLibMissingRack:
      return "a rack was not found.";
    case kLibMissingNumber:
      return "missing a move number.";
    default:
      return "";
  }
}

int32_t ParsePositionToken(const char* token, int tileSet, uint8_t* first, uint8_t* second,
                           uint8_t* direction) {
  if (!token || !*token) return kLibMissingPosition;
  const unsigned char c0 = static_cast<unsigned char>(token[0]);
  if (!std::isalpha(c0) && !std::isdigit(c0)) return kLibMissingPosition;
  const bool letterFirst = std::isalpha(c0) != 0;
  const char* p = token;
  int letter = -1, number = 0;
  auto readLetter = [&] {
    letter = std::tolower(static_cast<unsigned char>(*p)) - 'a';
    ++p;
  };
  auto readNumber = [&] {
    while (std::isdigit(static_cast<unsigned char>(*p)) && number < 100)
      number = number * 10 + (*p++ - '0');
  };
  if (letterFirst) {
    readLetter();
    if (!std::isdigit(static_cast<unsigned char>(*p))) return kLibBadColumn;
    readNumber();
  } else {
    readNumber();
    if (!std::isalpha(static_cast<unsigned char>(*p))) return kLibBadRow;
    readLetter();
  }
  if (letter < 0 || letter > 14) return kLibBadRow;
  if (number < 1 || number > 15) return kLibBadColumn;
  if (*p) {
    const char mark = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    if ((mark != 'a' && mark != 'd') || p[1]) return kLibBadDirection;
  }
  const uint8_t l = static_cast<uint8_t>(letter), n = static_cast<uint8_t>(number - 1);
  if (tileSet == 1) {
    *direction = letterFirst ? 0 : 1;
    *first = n;
    *second = l;
  } else if (tileSet == 0) {
    *direction = letterFirst ? 1 : 0;
    *first = l;
    *second = n;
  }
  return 0;
}

int32_t ParseGameMoves(const char* body, bool duplicate, bool withRacks, int tileSet,
                       std::vector<HistoryRecord>& moves) {
  moves.clear();
  if (!body) return kLibEndBeforeMove;
  int lastNumber = 0, turn = 0;
  for (const std::string& line : Lines(body)) {
    LineReader in(line);
    const std::string numberToken = in.Token();
    if (numberToken.empty()) continue;
    const size_t dot = numberToken.find('.');
    int32_t number = 0;
    if (dot == std::string::npos)
      return ParseNumber(numberToken, &number) ? kLibMissingDot : kLibMissingNumber;
    if (dot + 1 != numberToken.size() || !ParseNumber(numberToken.substr(0, dot), &number) ||
        number < 1)
      return kLibMissingNumber;
    turn = !duplicate && number == lastNumber ? turn + 1 : 0;
    const int index = duplicate ? number - 1 : 2 * (number - 1) + turn;
    if (index != static_cast<int>(moves.size()) || turn > 1) {
      if (index < static_cast<int>(moves.size()) && index >= 0)
        ShowDuplicateMove(index, moves[static_cast<size_t>(index)], in.Rest());
      return kLibDuplicateMove;
    }
    if (index >= kLibraryMaxMoves) return kLibTextTooBig;
    lastNumber = number;
    HistoryRecord r;
    const int player = duplicate ? 0 : turn;
    if (withRacks) {
      const std::string rack = in.Token();
      if (rack.empty()) return kLibMissingRack;
      if (const int32_t e = CopyRackToken(rack, r.racks[player])) return e;
    }
    const std::string word = in.Token();
    if (word.empty()) return kLibMissingWord;
    const std::string keyword = Lower(word);
    if (keyword == "pass") {
      in.Token();  // the "-"
      r.move = HistoryRecord::EmptyMove();
      r.entryKind = kEntryPass;
      r.comment = in.RestFromLetter();
    } else if (keyword == "change") {
      r.move = HistoryRecord::EmptyMove();
      r.entryKind = kEntryExchange;
      in.Token();  // the exchanged letters
      int32_t total = 0;
      if (!ParseNumber(in.Token(), &total)) return kLibEndInExchange;
      r.scores[player] = total;
      r.comment = in.Rest();
    } else {
      if (const int32_t e = CopyWordToken(word, r.move)) return e;
      if (r.move.length == 0) return kLibMissingWord;
      const std::string position = in.Token();
      if (position.empty()) return kLibMissingPosition;
      if (const int32_t e = ParsePositionToken(position.c_str(), tileSet, &r.move.column,
                                               &r.move.row, &r.move.direction))
        return e;
      if (withRacks) {
        int32_t score = 0, total = 0;
        if (!ParseNumber(in.Token(), &score) || !ParseNumber(in.Token(), &total))
          return kLibMissingScore;
        r.move.score = score;
        r.scores[player] = total;
      }
      r.comment = in.Rest();
    }
    if (r.comment.size() > kLibraryMaxComment) return kLibTextTooBig;
    moves.push_back(std::move(r));
  }
  return moves.empty() ? kLibEndBeforeMove : 0;
}

bool BuildRecordTitle(const std::string& record, std::string* title) {
  std::string text = record;
  text.push_back('\0');
  title->clear();
  for (const SectionRef& s : FindSections(&text[0], text.size(), kMaxRecordSections)) {
    const std::string name = Lower(s.name);
    if (name != "name" && name != "date" && name != "mode") continue;
    if (!s.body) return false;
    std::string body = s.body;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r'))
      body.pop_back();
    *title += body + "  ";
  }
  return true;
}

int32_t LoadLibraryGame(CGame& game, const std::string& record, int32_t userLanguage) {
  auto fail = [](int32_t code, const std::string& text) {
    platform::ShowNotice(text.c_str(), kGameMessageCaption, 0);
    return code;
  };
  std::string text = record;
  text.push_back('\0');
  // A section opened and never closed: its end is missing.
  bool open = false;
  for (char c : record) {
    if (c == '{' && !open) open = true;
    if (c == '}') open = false;
  }
  if (open)
    return fail(kLibMissingEnd,
                std::string("can't load moves.\n") + LibraryErrorText(kLibMissingEnd));
  const std::vector<SectionRef> sections = FindSections(&text[0], text.size(), kMaxRecordSections);
  if (sections.empty()) return fail(kStrUnknownMode, GameText(kStrUnknownMode));
  int32_t language = -1, kind = kKindNone;
  std::vector<std::string> players;
  const char* movesBody = nullptr;
  for (const SectionRef& s : sections) {
    const std::string name = Lower(s.name);
    const std::string body = Lower(s.body ? s.body : "");
    if (name == "language")
      language = body.find("fr") != std::string::npos   ? 1
                 : body.find("en") != std::string::npos ? 0
                                                        : -1;
    if (name == "mode")
      kind = body.find("classic") != std::string::npos     ? kKindStandard
             : body.find("duplicate") != std::string::npos ? kKindDuplicate
                                                           : kKindNone;
    if (name == "player" && s.body) {
      std::string player = s.body;
      const size_t letter = player.find_first_not_of(" \t\r\n");
      player = letter == std::string::npos ? "" : player.substr(letter);
      player = player.substr(0, player.find_first_of("\r\n"));
      if (player.size() > 63) player.resize(63);
      if (players.size() < 4) players.push_back(player);
    }
    if (name == "moves") movesBody = s.body;
  }
  if (language >= 0 && language != userLanguage)
    return fail(kStrOtherLanguageData, GameText(kStrOtherLanguageData));
  if (kind == kKindNone) return fail(kStrUnknownMode, GameText(kStrUnknownMode));
  if (kind == kKindDuplicate) players.assign(1, players.empty() ? std::string() : players[0]);
  if (players.empty()) players.assign(2, std::string());
  std::vector<HistoryRecord> moves;
  const int32_t parsed =
      ParseGameMoves(movesBody, kind == kKindDuplicate, true, std::max(language, 0), moves);
  if (parsed != 0)
    return fail(parsed, std::string("can't load moves.\n") + LibraryErrorText(parsed));

  game.setup = GameSetup();
  game.setup.kind = kind;
  game.setup.language = std::max(language, 0);
  for (const std::string& name : players) {
    PlayerSetupEntry e;
    e.playerType = kPlayerHuman;
    std::snprintf(e.name, sizeof e.name, "%s", name.c_str());
    game.setup.AddPlayer(e);
  }
  game.StartNewGame();
  game.history->Clear();
  for (const HistoryRecord& r : moves)
    game.history->AddMove(r);
  game.ReplayToMove(game.history->RecordAt(1));
  game.state = kStatePaused;
  return 0;
}

std::string FormatLibraryRecord(const CGame& game, const std::string& name,
                                const std::string& date) {
  const int32_t language = game.setup.language == 1 ? 1 : 0;
  std::string out = "{NAME\r\n" + name + "\r\n}{DATE\r\n" + date + "\r\n}{MODE\r\n" +
                    (game.Kind() == kKindDuplicate ? "duplicate" : "classic") +
                    "\r\n}{LANGUAGE\r\n" + (language == 1 ? "fr" : "en") + "\r\n}";
  const int players = game.Kind() == kKindDuplicate ? 1 : std::min(game.PlayerCount(), 2);
  for (int i = 0; i < players; ++i)
    if (const GamePlayer* p = game.Player(i))
      out += "{PLAYER\r\n" + std::string(p->entry.name) + "\r\n}";
  out += "{MOVES\r\n";
  const std::vector<HistoryRecord> line =
      game.history ? game.history->ExportMainLine() : std::vector<HistoryRecord>();
  int index = 0;
  // The game's opening entry holds no turn; each entry's rack is the one the
  // player had before it, which the entry before records.
  for (size_t k = 1; k < line.size(); ++k) {
    const HistoryRecord& r = line[k];
    const HistoryRecord& before = line[k - 1];
    if (index >= kLibraryMaxMoves) break;
    const int player = players == 1 ? 0 : index % 2;
    const int number = players == 1 ? index + 1 : index / 2 + 1;
    std::string rack;
    for (const char* c = before.racks[player]; *c && rack.size() < kMaxRackPlaces; ++c)
      if (!IsEmptyRackPlace(*c)) rack += *c == kUnassignedBlank ? '?' : *c;
    if (rack.empty()) rack = "-";
    out += std::to_string(number) + ". " + rack + " ";
    if (r.entryKind == kEntryExchange) {
      out += "change - " + std::to_string(r.scores[player]);
    } else if (!r.HasMove()) {
      out += "pass -";
    } else {
      std::string word;
      for (size_t i = 0; i < r.move.length && r.move.word[i]; ++i) {
        const char c = r.move.word[i];
        // A letter already on the board is written in parentheses.
        if (r.move.placedLetters[i])
          word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else
          word += std::string("(") +
                  static_cast<char>(std::tolower(static_cast<unsigned char>(c))) + ")";
      }
      const std::string letter(
          1, static_cast<char>('a' + (language == 1 ? r.move.row : r.move.column)));
      const std::string number1 = std::to_string((language == 1 ? r.move.column : r.move.row) + 1);
      // The English form: letter then number is down; French: across.
      const bool letterFirst = language == 1 ? r.move.direction == 0 : r.move.direction != 0;
      out += word + " " + (letterFirst ? letter + number1 : number1 + letter) + " " +
             std::to_string(r.move.score) + " " + std::to_string(r.scores[player]);
    }
    out += "\r\n";
    ++index;
  }
  return out + "}";
}
