#pragma once

#include <string>
#include <string_view>

namespace ampelsim::traffic {

// The German heading of a column of the international statistics table
// ("MeanWait" -> "Wartezeit mittel [s]"); a heading it does not know is kept.
std::string GermanHeading(std::string_view heading);

// An international table of this folder (comma separated, decimal points,
// quoted where needed) as German spreadsheet programs read it: UTF-8 with a
// byte order mark, semicolons, decimal commas, the headings as `heading`
// gives them and the words of the text columns in German.
std::string GermanCsv(std::string_view csv, std::string (*heading)(std::string_view));

}  // namespace ampelsim::traffic
