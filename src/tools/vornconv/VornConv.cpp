// vornconv: argument parsing, the detect and convert commands, all through the document pipelines.
#include "vornconv/VornConv.h"

#include <cctype>
#include <exception>
#include <optional>

#include "base/VornError.h"
#include "textfile/CodeLetters.h"
#include "store/HeadlessView.h"
#include "textfile/JConvStrList.h"
#include "textfile/StreamWriter.h"
#include "store/VornEditStrings.h"

namespace vorn {

namespace {

const char kUsage[] =
    "usage: vornconv detect FILE...\n"
    "       vornconv convert [--from=L] --to=L [--eol=c|r|n] [--output=FILE] [--lossy] FILE\n"
    "       vornconv --help\n"
    "\n"
    "detect   prints, per file: the code name, a tab, the line-break name (CRLF, CR, LF or\n"
    "         NONE), a tab, the file name. Codes: SJIS JIS(RO) JIS(AS) EUC UNI(LE) UNI(BE)\n"
    "         UTF-8 UTF-8N UTF-7, or ASCII / BINARY.\n"
    "convert  reads FILE as the editor opens it and writes it as the editor saves it.\n"
    "         L is a code letter: s SJIS, j JIS(RO), a JIS(AS), e EUC, u UNI(LE), b UNI(BE),\n"
    "         8 UTF-8, n UTF-8N, 7 UTF-7. Without --from the code is detected; without --eol\n"
    "         the detected line break is kept. Output goes to --output or standard output.\n"
    "\n"
    "exit status: 0 success; 2 usage or I/O error; 3 information lost: reading replaced NUL\n"
    "bytes or characters Shift_JIS cannot hold, or the target code cannot hold characters\n"
    "(written as its default character). With --output nothing is written then unless\n"
    "--lossy; standard output gets the text and the message follows it.\n";

std::optional<TCharCodeKind> CodeOfLetter(const std::string& letter) {
  // The editor's -o letters; vornconv takes them in lower case only.
  if (letter.size() != 1 || letter[0] != std::tolower(static_cast<unsigned char>(letter[0]))) return std::nullopt;
  return CodeKindOfKnownLetter(letter[0]);
}

std::optional<TLineBreakKind> BreakOfLetter(const std::string& letter) {
  if (letter == "c") return lbCRLF;
  if (letter == "r") return lbCR;
  if (letter == "n") return lbLF;
  return std::nullopt;
}

const char* DetectName(TCharCodeKind kind) {
  if (kind == ckAscii) return "ASCII";
  if (kind == ckBinary) return "BINARY";
  return StatusBarCodeName(kind);
}

bool TextHasNoBreak(TVornEditScreenStrings& store) {
  return store.Count() == 0 || (store.Count() == 1 && store.RowEnd(0) == reTextEnd);
}

int Detect(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
  if (files.empty()) {
    err << "vornconv: detect needs at least one file\n" << kUsage;
    return vcUsageOrIoError;
  }
  int status = vcOk;
  for (const std::string& file : files) {
    try {
      TVornEditHeadlessView view;
      TDocumentFileSettings doc;
      ReadDocumentFile(file, doc, view.Lines());
      const char* lineBreak = TextHasNoBreak(*view.Store()) ? "NONE" : StatusBarLineBreakName(doc.LineBreak);
      out << DetectName(doc.ReadCode) << '\t' << lineBreak << '\t' << file << '\n';
    } catch (const std::exception& e) {
      err << "vornconv: " << e.what() << '\n';
      status = vcUsageOrIoError;
    }
  }
  return status;
}

struct TConvertArgs {
  std::optional<TCharCodeKind> from;
  std::optional<TCharCodeKind> to;
  std::optional<TLineBreakKind> eol;
  std::string output;
  bool lossy = false;
  std::string file;
};

// Returns an error text, empty when the arguments are complete.
std::string ParseConvert(const std::vector<std::string>& args, TConvertArgs& a) {
  for (const std::string& arg : args) {
    auto value = [&](const char* prefix) { return arg.substr(std::char_traits<char>::length(prefix)); };
    if (arg.rfind("--from=", 0) == 0) {
      if (!(a.from = CodeOfLetter(value("--from=")))) return "unknown code letter in " + arg;
    } else if (arg.rfind("--to=", 0) == 0) {
      if (!(a.to = CodeOfLetter(value("--to=")))) return "unknown code letter in " + arg;
    } else if (arg.rfind("--eol=", 0) == 0) {
      if (!(a.eol = BreakOfLetter(value("--eol=")))) return "unknown line break in " + arg;
    } else if (arg.rfind("--output=", 0) == 0) {
      a.output = value("--output=");
      if (a.output.empty()) return "--output needs a file name";
    } else if (arg == "--lossy") {
      a.lossy = true;
    } else if (arg.rfind("--", 0) == 0 && arg != "--") {
      return "unknown option " + arg;
    } else if (a.file.empty()) {
      a.file = arg;
    } else {
      return "convert takes one file";
    }
  }
  if (!a.to) return "convert needs --to";
  if (a.file.empty()) return "convert needs a file";
  return {};
}

// Streams the encoded text to out; returns the characters the code could not hold.
std::size_t WriteToStream(const TVornEditStrings& lines, const TDocumentFileSettings& doc,
                          std::ostream& out, std::string& error) {
  TTextStreamWriter writer(doc.LineBreak, doc.CharCode, [&out](std::string_view bytes) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out ? std::string() : std::string("cannot write to standard output");
  });
  lines.WriteText([&writer](std::string_view piece) { writer.Write(piece); });
  error = writer.Finish();
  if (error.empty() && !out.flush()) error = "cannot write to standard output";
  return writer.Lost();
}

int Convert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TConvertArgs a;
  if (std::string e = ParseConvert(args, a); !e.empty()) {
    err << "vornconv: " << e << '\n' << kUsage;
    return vcUsageOrIoError;
  }
  try {
    TVornEditHeadlessView view;
    TDocumentFileSettings doc;
    doc.OpenCodeGiven = a.from.has_value();
    doc.OpenCode = a.from.value_or(ckSjis);
    ReadDocumentFile(a.file, doc, view.Lines());
    bool lost = doc.NulBytesReplaced > 0 || doc.CharsSubstituted > 0;
    if (lost) {
      err << "vornconv: " << a.file << ": reading lost information (" << doc.NulBytesReplaced
          << " NUL bytes replaced, " << doc.CharsSubstituted << " characters substituted)"
          << (a.lossy ? "\n" : "; nothing written (use --lossy to write anyway)\n");
      if (!a.lossy) return vcLossyRead;
    }
    doc.CharCode = *a.to;
    if (a.eol) doc.LineBreak = *a.eol;
    std::size_t unwritable = 0;
    if (!a.output.empty()) {
      unwritable = WriteDocumentFile(a.output, doc, view.Lines(), a.lossy);
    } else {
      std::string error;
      unwritable = WriteToStream(view.Lines(), doc, out, error);
      if (!error.empty()) {
        err << "vornconv: " << error << '\n';
        return vcUsageOrIoError;
      }
    }
    if (unwritable > 0) {
      const bool written = a.lossy || a.output.empty();
      err << "vornconv: " << a.file << ": " << unwritable << " characters cannot be written in "
          << StatusBarCodeName(doc.CharCode)
          << (written ? " and were replaced by its default character\n"
                      : "; nothing written (use --lossy to write anyway)\n");
    }
    return lost || unwritable > 0 ? vcLossyRead : vcOk;
  } catch (const std::exception& e) {
    err << "vornconv: " << e.what() << '\n';
    return vcUsageOrIoError;
  }
}

}  // namespace

int RunVornConv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return vcUsageOrIoError;
  }
  if (args[0] == "--help" || args[0] == "-h") {
    out << kUsage;
    return vcOk;
  }
  std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "detect") return Detect(rest, out, err);
  if (args[0] == "convert") return Convert(rest, out, err);
  err << "vornconv: unknown command " << args[0] << '\n' << kUsage;
  return vcUsageOrIoError;
}

}  // namespace vorn
