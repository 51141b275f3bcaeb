#include "game/move_text.h"

#include <cstring>

#include "game/game.h"
#include "rules/robot_move.h"

void FormatMoveText(const RobotMove& move, std::string& out, int32_t notation, const CGame* game,
                    uint32_t parts) {
  if (parts & kMoveTextPosition) {
    const bool down = move.direction != 0;
    const std::string row = std::to_string(move.row + 1);
    const std::string column = std::to_string(move.column + 1);
    const char rowLetter = static_cast<char>('a' + move.row);
    const char columnLetter = static_cast<char>('a' + move.column);
    out += '[';
    if (notation == 0)
      out += down ? columnLetter + row : row + columnLetter;
    else if (notation == 1)
      out += down ? column + rowLetter : rowLetter + column;
    out += "] ";
  }
  if (parts & kMoveTextWord) {
    out.append(move.word, strnlen(move.word, sizeof move.word));
    out += ' ';
  }
  if ((parts & kMoveTextScore) && !(game && game->Kind() == kKindCrossagram))
    out += std::to_string(move.score);
}
