// vorn_help_pages: writes the help page that lists every command, from the command table
// itself, so the page names exactly what the menus, the key map and the macros call.
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

#include "shellcore/FunctionTable.h"

namespace {

std::string Escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

void WriteCategory(std::ostream& out, int category) {
  out << "<h2 id=\"c" << category << "\">" << Escaped(vorn::CategoryName(category)) << "</h2>\n"
      << "<table>\n<tr><th>番号</th><th>機能</th><th>マクロ名</th></tr>\n";
  for (int number : vorn::FunctionsOfCategory(category)) {
    const vorn::TFunctionInfo& f = *vorn::FunctionByNumber(number);
    out << "<tr><td>" << f.Number << "</td><td>" << Escaped(f.DisplayName) << "</td><td><code>"
        << Escaped(f.Name) << "</code></td></tr>\n";
  }
  out << "</table>\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: vorn_help_pages OUTPUT_FOLDER\n";
    return 2;
  }
  const std::string file = std::string(argv[1]) + "/CMD.html";
  std::ofstream out(file, std::ios::binary);
  out << "<!DOCTYPE html>\n<html lang=\"ja\">\n<head><meta charset=\"utf-8\">"
         "<title>機能一覧 - VornEditor</title><link rel=\"stylesheet\" href=\"help.css\"></head>\n<body>\n"
         "<p><a href=\"Index.html\">目次</a></p>\n<h1>機能一覧</h1>\n"
         "<p>キー割り当て、ツールバー、マクロで使える機能です。マクロでは「マクロ名」で呼び出します。</p>\n";
  for (int category = 1; category < vorn::kCategoryCount; ++category) WriteCategory(out, category);
  out << "</body>\n</html>\n";
  out.close();
  if (!out) {
    std::cerr << "vorn_help_pages: cannot write " << file << "\n";
    return 1;
  }
  return 0;
}
