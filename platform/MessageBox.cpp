#include "platform/MessageBox.h"

#include <cstdio>
#include <set>

namespace {

struct sMessageBoxRoutes {
  MessageBoxPresenter fnSink;
  MessageBoxPresenter fnPresenter;
  QuestionPresenter fnQuestionSink;
  QuestionPresenter fnQuestionPresenter;
  bool bShuttingDown = false;
  std::set<std::string> setShutdownTexts;  // shown since the shutdown began
};

// Built on first use, so installs from static initialisers of tests find it ready, and never
// destroyed, so a library that ends the shutdown as it unloads at exit still finds it.
sMessageBoxRoutes& GetRoutes() {
  static auto* s_pRoutes = new sMessageBoxRoutes;
  return *s_pRoutes;
}

}  // namespace

void ShowMessageBox(const std::string& strText) {
  sMessageBoxRoutes& routes = GetRoutes();
  // Recorded before the box is shown, so the same text raised while it is open (its modal
  // loop runs timers and deletions) is a repeat as well.
  if (routes.bShuttingDown && !routes.setShutdownTexts.insert(strText).second) return;
  // Each is called through a copy: a sink or presenter may replace itself while it runs.
  if (routes.fnSink) {
    const MessageBoxPresenter fnSink = routes.fnSink;
    fnSink(strText);
    return;
  }
  if (routes.fnPresenter) {
    const MessageBoxPresenter fnPresenter = routes.fnPresenter;
    fnPresenter(strText);
    return;
  }
  const std::string strLine = "Orvane Watch: " + strText + "\n";
  std::fwrite(strLine.data(), 1, strLine.size(), stderr);
  std::fflush(stderr);
}

bool AskYesNo(const std::string& strText) {
  sMessageBoxRoutes& routes = GetRoutes();
  if (routes.fnQuestionSink) {
    const QuestionPresenter fnSink = routes.fnQuestionSink;
    return fnSink(strText);
  }
  if (routes.fnQuestionPresenter) {
    const QuestionPresenter fnPresenter = routes.fnQuestionPresenter;
    return fnPresenter(strText);
  }
  // No one to answer: No, the answer that changes nothing.
  const std::string strLine = "Orvane Watch: " + strText + " (answered No)\n";
  std::fwrite(strLine.data(), 1, strLine.size(), stderr);
  std::fflush(stderr);
  return false;
}

void SetQuestionSink(QuestionPresenter fnSink) { GetRoutes().fnQuestionSink = std::move(fnSink); }

void SetQuestionPresenter(QuestionPresenter fnPresenter) {
  GetRoutes().fnQuestionPresenter = std::move(fnPresenter);
}

void SetMessageBoxSink(MessageBoxPresenter fnSink) { GetRoutes().fnSink = std::move(fnSink); }

void SetMessageBoxPresenter(MessageBoxPresenter fnPresenter) {
  GetRoutes().fnPresenter = std::move(fnPresenter);
}

void BeginMessageBoxShutdown() { GetRoutes().bShuttingDown = true; }

void EndMessageBoxShutdown() {
  sMessageBoxRoutes& routes = GetRoutes();
  routes.bShuttingDown = false;
  routes.setShutdownTexts.clear();
}
