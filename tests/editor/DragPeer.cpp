// Another program on the test's X server, for the drag tests: "edit" shows a bare TVornEdit at
// a given place and writes its text to a file after every change; "foreign" shows a plain
// widget that drags out a piece of Unicode text (no editor types) when pressed. The pane's
// picture goes beside the text file as a PNG.
//
// vorn_drag_peer edit|foreign X Y OUTFILE [HEXTEXT]
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QSaveFile>
#include <QWidget>

#include <memory>
#include <string>

#include "editor/VornEdit.h"
#include "layout/StoreWrap.h"

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return;
  f.write(bytes);
  f.commit();
}

class TForeignSource : public QWidget {
public:
  explicit TForeignSource(QString out) : out_(std::move(out)) {}

protected:
  void mousePressEvent(QMouseEvent*) override {
    auto* drag = new QDrag(this);
    auto* data = new QMimeData;
    data->setText(QString::fromUtf8("\xE5\xA4\x96\xE9\x83\xA8 text \xF0\x9F\x98\x80!"));  // two kanji, an emoji
    drag->setMimeData(data);
    const Qt::DropAction done = drag->exec(Qt::CopyAction);
    WriteFile(out_, done == Qt::CopyAction ? "copied" : "ignored");
  }

private:
  QString out_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 5) return 2;
  const std::string mode = argv[1];
  const QPoint at(std::atoi(argv[2]), std::atoi(argv[3]));
  const QString out = QString::fromLocal8Bit(argv[4]);
  const Qt::WindowFlags flags = Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint;
  std::unique_ptr<QWidget> window;
  if (mode == "edit") {
    auto edit = std::make_unique<vorn::TVornEdit>(vorn::NewWrappedStore());
    if (argc > 5) {
      const QByteArray text = QByteArray::fromHex(argv[5]);
      edit->Core().Store().ReplaceRows(0, edit->Core().Store().Count(), std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }
    vorn::TVornEdit* e = edit.get();
    QObject::connect(e, &vorn::TVornEdit::Changed, [e, out] {
      const vorn::TVornEditCore& core = e->Core();
      QByteArray bytes;
      for (int r = 0; r < core.RowCount(); ++r) {
        const std::string row = core.GetRowText(r);
        bytes.append(row.data(), static_cast<qsizetype>(row.size()));
        if (core.RowKind(r) == vorn::reLineEnd) bytes.append("\r\n");
      }
      WriteFile(out, bytes);
      // What the pane shows after the change, for a person to look at.
      e->Flush();
      e->ComposedImage().save(out + ".png");
    });
    window = std::move(edit);
  } else {
    window = std::make_unique<TForeignSource>(out);
  }
  window->setWindowFlags(flags);
  window->setGeometry(QRect(at, QSize(400, 200)));
  window->show();
  WriteFile(out + ".ready", "ready");
  return app.exec();
}
