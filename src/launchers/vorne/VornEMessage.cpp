// The one message box of VornE, in a module loaded only when it is needed: linking the widget
// toolkit into VornE itself cost more start-up time than everything else the launcher does.
#include <QApplication>
#include <QMessageBox>
#include <QString>

extern "C" __attribute__((visibility("default"))) void VornEShowMessage(int argc, char** argv, const char* title,
                                                                         const char* utf8Text) {
  QApplication app(argc, argv);
  QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(title), QString::fromUtf8(utf8Text), QMessageBox::Ok);
  box.exec();
}
