// TSmallCommandsPart: the window's small commands.
#include "shell/SmallCommandsPart.h"

#include "shell/EditorWindow.h"

#include "base/DateTimeText.h"
#include "editor/VornEdit.h"
#include "platform/Cp932Utf8.h"
#include "platform/cp932.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/TagJump.h"

#include <QClipboard>
#include <QDateTime>
#include <QGuiApplication>
#include <QLocale>
#include <QRegularExpression>

namespace vorn {
namespace {

std::string ToSjis(const QString& text) {
  return Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                          static_cast<std::size_t>(text.size())));
}

// The system's long time format names the time zone too, which a typed time never carries.
QString SystemTimeText(const QTime& time) {
  QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  format.remove(QRegularExpression(QStringLiteral("\\s*t+")));
  return QLocale::system().toString(time, format.trimmed());
}

QString SystemDateText(const QDate& date) { return QLocale::system().toString(date, QLocale::ShortFormat); }

}  // namespace

void TSmallCommandsPart::AddCommands(TCommandDispatcher& dispatcher) {
  const auto add = [&dispatcher](std::string_view name, std::function<void()> run) {
    dispatcher.Set(FunctionNumber(name), [run = std::move(run)](bool) { run(); });
  };
  TEditorWindow& w = window_;
  TEditorProcess& process = w.Process();
  add("JumpPrevModifiedPos", [&w, &process] {
    if (process.lastEdit.Row >= 0) w.Editor()->Core().SetCaretPos(process.lastEdit.Row, process.lastEdit.Col);
  });
  add("ToggleFreeCaret", [&w] {
    TVornEditCaretValues values = w.Editor()->Core().CaretOptions();
    values.FreeCaret = !values.FreeCaret;
    w.Editor()->Core().SetCaretOptions(values);
  });
  add("EncodeQuote", [this] { EncodeQuoteCommand(); });
  for (std::string_view name : {"InputDateTime", "InputDate", "InputTime"})
    add(name, [this, name] { InsertDateTime(name); });
  add("Message", [&w] {
    const std::vector<std::string>* args = w.MacroArguments();
    w.Prompts().Inform(args && !args->empty() && !(*args)[0].empty() ? Cp932ToUtf8((*args)[0])
                                                                          : "メッセージ（指定無し）");
  });
  add("CopyStr", [&w] {
    if (const std::vector<std::string>* args = w.MacroArguments())
      QGuiApplication::clipboard()->setText(args->empty() ? QString() : QString::fromStdString(Cp932ToUtf8((*args)[0])));
  });
  add("BeginUpdate", [&w] {
    if (w.MacroArguments()) w.setUpdatesEnabled(false);
  });
  add("EndUpdate", [&w] {
    if (w.MacroArguments()) w.setUpdatesEnabled(true);
  });
}

void TSmallCommandsPart::EncodeQuoteCommand() {
  TVornEditCore& core = window_.Editor()->Core();
  if (!core.HasSelection() || core.ReadOnly()) return;
  bool lineEndDropped = false;
  const std::string quoted = EncodeQuote(core.GetSelText(), &lineEndDropped);
  if (lineEndDropped) core.SetSelLength(core.GetSelLength() - 2);
  core.InsertText(quoted);
}

void TSmallCommandsPart::InsertDateTime(std::string_view which) {
  const QDateTime now = QDateTime::currentDateTime();
  const std::vector<std::string>* args = window_.MacroArguments();
  std::string text;
  if (which == "InputDateTime" && args && !args->empty() && !(*args)[0].empty())
    text = FormatDateTimeText((*args)[0], std::chrono::system_clock::now());
  else if (which == "InputDate")
    text = ToSjis(SystemDateText(now.date()));
  else if (which == "InputTime")
    text = ToSjis(SystemTimeText(now.time()));
  else
    text = ToSjis(SystemDateText(now.date()) + QLatin1Char(' ') + SystemTimeText(now.time()));
  window_.Editor()->Core().InsertText(text);
}

}  // namespace vorn
