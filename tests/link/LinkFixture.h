// An opened link whose receive control 0 is a fake that keeps what is sent, the requests made
// over it, and the texts of the failures a test notes.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/FakeRxControl.h"
#include "link/RmsLink.h"
#include "link/RmsRequests.h"
#include "plugin/PluginContext.h"

class CNullHandler final : public CRmsMessageHandler {
 public:
  void OnRmsResponse(OTP_MSG) override {}
  void OnRmsPublish(OTP_MSG) override {}
};

class CLinkFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    g_pluginContext = PluginContext{};
    g_pluginContext.userId = "RISK07";
    std::vector<eLinkFailure> arrOpening;
    m_pLink = OpenRmsLink(m_handler, arrOpening);
    m_pLink->pControl0 = &m_control;
    m_requests.SetLink(m_pLink.get());
  }
  void TearDown() override { g_pluginContext = PluginContext{}; }
  // Keeps the message box text of a failure, as the window that asked would show it.
  void Note(eLinkFailure eFailure) {
    if (eFailure != eLinkFailure::kNone) m_arrBoxes.push_back(FormatLinkFailure(eFailure));
  }

  CNullHandler m_handler;
  CFakeRxControl m_control;
  std::unique_ptr<RmsLink> m_pLink;
  std::vector<std::string> m_arrBoxes;
  CRmsRequests m_requests{nullptr, g_pluginContext.userId};
};
