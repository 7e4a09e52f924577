#include "platform/qt/QtMessageBox.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include "platform/MessageBox.h"
#include "platform/qt/MainFrame.h"

void InstallQtMessageBoxPresenter(std::optional<std::chrono::milliseconds> answerAfter,
                                  std::function<void(const std::string& strText)> fnOnAnswered) {
  SetMessageBoxPresenter([answerAfter, fnOnAnswered](const std::string& strText) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvane Watch"), QString::fromStdString(strText),
                    QMessageBox::Ok, GetMainFrame());
    // The timer belongs to the box, so it goes with it; it fires in the box's own event loop.
    if (answerAfter)
      QTimer::singleShot(*answerAfter, &box, [&box, &strText, &fnOnAnswered] {
        if (fnOnAnswered) fnOnAnswered(strText);
        box.done(QMessageBox::Ok);
      });
    box.exec();
  });
  SetQuestionPresenter([answerAfter, fnOnAnswered](const std::string& strText) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Orvane Watch"), QString::fromStdString(strText),
                    QMessageBox::Yes | QMessageBox::No, GetMainFrame());
    box.setDefaultButton(QMessageBox::No);
    if (answerAfter)
      QTimer::singleShot(*answerAfter, &box, [&box, &strText, &fnOnAnswered] {
        if (fnOnAnswered) fnOnAnswered(strText);
        box.done(QMessageBox::No);
      });
    return box.exec() == QMessageBox::Yes;
  });
}
