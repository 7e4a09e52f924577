// An opened link whose receive control 0 is a fake that keeps what is sent, with message
// boxes recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "FakeRxControl.h"
#include "link/RmsLink.h"
#include "link/RmsRequests.h"
#include "platform/MessageBox.h"
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
    SetMessageBoxSink([this](const std::string& strText) { m_arrBoxes.push_back(strText); });
    m_pLink = OpenRmsLink(m_handler);
    m_pLink->pControl0 = &m_control;
    m_arrBoxes.clear();
  }
  void TearDown() override {
    SetMessageBoxSink({});
    g_pluginContext = PluginContext{};
  }

  CNullHandler m_handler;
  CFakeRxControl m_control;
  std::unique_ptr<RmsLink> m_pLink;
  std::vector<std::string> m_arrBoxes;
  CRmsRequests m_requests{nullptr, g_pluginContext.userId};
};
