// Rendering a snapshot of the lines into pages with progress and Cancel, and printing them.
#pragma once

#include "print/PrintPages.h"

#include <QString>

#include <string>
#include <vector>

class QPrinter;
class QWidget;

namespace vorn {

// What is printed, taken once: the document cannot change under the layout.
struct TPrintSource {
  std::vector<std::string> Lines;
  TPageLayouter::TExpandTabs ExpandTabs;
};

enum class TRenderResult { rrDone, rrCancelled, rrNoRoom };

// Lays the source out for the printer's page. Runs in steps between which the window stays
// alive; a window with the label, a bar and Cancel shows when it takes over half a second.
// rrNoRoom leaves the reason in error (UTF-8).
TRenderResult RenderPages(const TStringsPrinter& settings, const QPrinter& printer, const TPrintSource& source,
                          const QString& label, QWidget* parent, TPrintPages& pages, std::string& error);

// The expansion of the header and footer keywords for today and this file.
TTemplateValues TemplateValuesNow(const TStringsPrinter& settings);

// Prints pages first..last (1-based; -1 for either end) onto the printer; false when the
// printer could not be opened.
bool PrintPageList(QPrinter& printer, const TPrintPages& pages, int first, int last);

// Render and print: false when rendering was cancelled or could not start (error says why).
bool PrintLines(const TStringsPrinter& settings, QPrinter& printer, const TPrintSource& source, int first, int last,
                QWidget* parent, std::string& error);

}  // namespace vorn
