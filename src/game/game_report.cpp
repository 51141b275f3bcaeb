#include "game/game_report.h"

#include <cstdio>
#include <cstring>

#include "game/game.h"
#include "game/game_info.h"
#include "game/move_history.h"

namespace {

constexpr size_t kCommentPiece = 24;

std::string PositionText(const RobotMove& m, int32_t language) {
  const std::string letterFirst(1, static_cast<char>('a' + m.column));
  const std::string letterSecond(1, static_cast<char>('a' + m.row));
  if (language == 1) {
    const std::string first = std::to_string(m.column + 1);
    return m.direction ? first + letterSecond : letterSecond + first;
  }
  return letterFirst + std::to_string(m.row + 1) + (m.direction ? "d" : "a");
}

std::string RackText(const char* rack) {
  std::string out;
  for (size_t i = 0; i < kMaxRackPlaces && rack[i]; ++i)
    out += rack[i] == kUnassignedBlank ? '?' : rack[i];
  return out;
}

}  // namespace

std::string FormatReportComment(const std::string& comment) {
  std::string text = comment;
  for (char& c : text)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  std::string out;
  const size_t pieces = text.size() / kCommentPiece + 1;
  for (size_t k = 0; k < pieces; ++k) {
    const size_t at = k * kCommentPiece;
    const size_t n = k + 1 == pieces ? text.size() - at : kCommentPiece;
    const std::string piece = text.substr(at, n);
    out += piece;
    const size_t end = at + n;
    if (k + 1 < pieces && !piece.empty() && piece.back() != ' ' && end < text.size() &&
        text[end] != ' ')
      out += '-';
    out += "\n\t\t\t\t\t";
  }
  return out;
}

std::string BuildGameReport(CGame& game) {
  char date[32];
  FormatDateText(date, sizeof date);
  std::string report;
  char line[256];
  std::snprintf(line, sizeof line, "\n\n\tDATE:%s    MODE: %s    LANGUAGE: %s\n", date,
                game.Kind() == kKindDuplicate ? "DUPLICATE" : "TESSARIN",
                game.setup.language == 1 ? "FRENCH" : "ENGLISH");
  report += line;
  report += std::string(58, '_') + "\n";
  report += "Players:\t\t\t\t\t\t\t\t\t\t          \n";
  const int players = game.PlayerCount();
  for (int i = 0; i < players; ++i) {
    const GamePlayer* p = game.Player(i);
    if (!p) continue;
    std::snprintf(line, sizeof line, "%d - %s: %d\n", i + 1, p->entry.name, p->score);
    report += line;
  }
  report += "\n\t" + std::string(58, '_') + "\n\n\n";
  report += "PLAYER\tRACK\tMOVE\tPOS\tSCORE\tCOMMENTARY\n";
  MoveHistory* history = game.history.get();
  if (!history || players <= 0) return report;
  const int32_t saved = history->GetIndex();
  const HistoryRecord* last = history->Last();
  int turn = 0;
  for (HistoryRecord* r = history->First(); r; r = history->Next()) {
    const int who = turn % players;
    const RobotMove& m = r->move;
    report += std::to_string(who + 1) + "\t" + RackText(r->racks[who]) + "\t" +
              std::string(m.word, strnlen(m.word, sizeof m.word)) + "\t" +
              (m.word[0] ? PositionText(m, game.setup.language) : std::string()) + "\t" +
              std::to_string(m.score);
    if (!r->comment.empty()) report += "\t" + FormatReportComment(r->comment);
    report += "\n";
    ++turn;
    if (r == last) break;
  }
  history->GoToIndex(saved);
  return report;
}
