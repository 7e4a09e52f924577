#include "platform/qt/QtMessageBox.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QString>

#include "platform/MessageBox.h"
#include "platform/qt/MainFrame.h"

void InstallQtMessageBoxPresenter() {
  SetMessageBoxPresenter([](const std::string& strText) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvane Watch"), QString::fromStdString(strText),
                    QMessageBox::Ok, GetMainFrame());
    box.exec();
  });
}
