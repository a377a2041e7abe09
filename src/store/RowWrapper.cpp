// TRowWrapper: splitting text into rows with word wrap off.
#include "store/RowWrapper.h"

#include "encoding/LineSplit.h"
#include "store/ScreenStrings.h"

#include <algorithm>

namespace vorn {

void SplitTextToRows(std::string_view text, TVornEditStringList& rows) {
  rows.Clear();
  ForEachLine(text.data(), text.data() + text.size(), true,
              [&](const char* b, const char* e) { rows.Add(std::string_view(b, static_cast<std::size_t>(e - b))); });
  if (rows.Count() == 0) rows.Add(std::string_view());
}

void TRowWrapper::TextToRows(TVornEditScreenStrings&, std::string_view text, TVornEditStringList& rows) {
  SplitTextToRows(text, rows);
}

int TRowWrapper::CountRowsOfLine(TVornEditScreenStrings&, std::string_view) { return 1; }

int TRowWrapper::RewrapStartRow(TVornEditScreenStrings& store, int a, int, std::string_view) {
  return std::max(store.FirstRowOfLine(a), a - 1);
}

void TRowWrapper::RewrapAll(TVornEditScreenStrings&) {}

void TRowWrapper::UnwrapAll(TVornEditScreenStrings&) {}

int TRowWrapper::RewrapLines(TVornEditScreenStrings&, int, int n) { return n; }

}  // namespace vorn
