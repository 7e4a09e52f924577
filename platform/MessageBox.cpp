#include "platform/MessageBox.h"

#include <cstdio>

namespace {

struct sMessageBoxRoutes {
  MessageBoxPresenter fnSink;
  MessageBoxPresenter fnPresenter;
};

// Built on first use, so installs from static initialisers of tests find it ready.
sMessageBoxRoutes& GetRoutes() {
  static sMessageBoxRoutes s_routes;
  return s_routes;
}

}  // namespace

void ShowMessageBox(const std::string& strText) {
  const sMessageBoxRoutes& routes = GetRoutes();
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

void SetMessageBoxSink(MessageBoxPresenter fnSink) { GetRoutes().fnSink = std::move(fnSink); }

void SetMessageBoxPresenter(MessageBoxPresenter fnPresenter) {
  GetRoutes().fnPresenter = std::move(fnPresenter);
}
