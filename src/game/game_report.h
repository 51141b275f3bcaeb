#pragma once
// The printable game report: date, mode, language, the players with their
// scores, then every move (player, rack, word, position, score and comment
// cut into 24-character pieces under the commentary column). The text grows
// as needed.
#include <string>

class CGame;

std::string BuildGameReport(CGame& game);
// The comment as the report lays it out: line feeds and tabs as blanks, cut
// into 24-character pieces, "-" where a piece ends inside a word, each piece
// followed by a line feed and five tabs.
std::string FormatReportComment(const std::string& comment);
