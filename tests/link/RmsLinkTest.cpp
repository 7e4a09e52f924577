#include <dlfcn.h>
#include <gtest/gtest.h>

#include "LinkFixture.h"

// The test program offers the host's receive-control service itself, so the link finds it
// through the main program's handle as it would in the terminal.
namespace {
CFakeRxControl g_controls[2];
std::vector<std::pair<int32_t, CPyxoRxNotifierBase*>> g_arrGiven;
}  // namespace

extern "C" HALVO_API CPyxoRxControl* GetPyxoRxControl(int32_t nKind, CPyxoRxNotifierBase* pReceiver) {
  g_arrGiven.emplace_back(nKind, pReceiver);
  return &g_controls[nKind & 1];
}

namespace {

TEST(RmsLinkTest, OpensInOrderWithTheHostService) {
  std::vector<std::string> arrBoxes;
  SetMessageBoxSink([&](const std::string& strText) { arrBoxes.push_back(strText); });
  g_pluginContext.hostModule = dlopen(nullptr, RTLD_NOW);
  g_arrGiven.clear();
  CNullHandler handler;
  const std::unique_ptr<RmsLink> pLink = OpenRmsLink(handler);
  EXPECT_NE(pLink->hMsg, nullptr);
  EXPECT_NE(pLink->hScratch, nullptr);
  EXPECT_EQ(pLink->pControl0, &g_controls[0]);
  EXPECT_EQ(pLink->pControl1, &g_controls[1]);
  ASSERT_EQ(g_arrGiven.size(), 2u);
  EXPECT_EQ(g_arrGiven[0], (std::pair<int32_t, CPyxoRxNotifierBase*>{0, pLink->pFirstRx.get()}));
  EXPECT_EQ(g_arrGiven[1], (std::pair<int32_t, CPyxoRxNotifierBase*>{1, pLink->pSecondRx.get()}));
  EXPECT_TRUE(arrBoxes.empty());

  // Shutdown closes control 0; without the host's release service it stops there.
  EXPECT_FALSE(CloseRmsLinkControls(*pLink));
  EXPECT_EQ(g_controls[0].m_arrCloses, std::vector<int32_t>{0});
  EXPECT_EQ(arrBoxes, std::vector<std::string>{"From ZEL Connection to pyxo failed"});
  SetMessageBoxSink({});
  g_pluginContext = PluginContext{};
}

TEST(RmsLinkTest, WithoutTheServiceNoControlExists) {
  std::vector<std::string> arrBoxes;
  SetMessageBoxSink([&](const std::string& strText) { arrBoxes.push_back(strText); });
  g_pluginContext.hostModule = nullptr;
  CNullHandler handler;
  const std::unique_ptr<RmsLink> pLink = OpenRmsLink(handler);
  EXPECT_EQ(pLink->pControl0, nullptr);
  EXPECT_EQ(pLink->pControl1, nullptr);
  EXPECT_NE(pLink->pFirstRx, nullptr);
  EXPECT_NE(pLink->pSecondRx, nullptr);
  EXPECT_EQ(arrBoxes, std::vector<std::string>{"From ZEL Connection to pyxo failed"});
  SetMessageBoxSink({});
}

// A receiver hands every message on and lets nothing escape to the host.
TEST(RmsLinkTest, ReceiversForwardAndSwallowFailures) {
  struct CThrowingHandler final : CRmsMessageHandler {
    void OnRmsResponse(OTP_MSG) override {
      ++nResponses;
      throw std::runtime_error("boom");
    }
    void OnRmsPublish(OTP_MSG) override {
      ++nPublications;
      throw 42;
    }
    int nResponses = 0;
    int nPublications = 0;
  } handler;
  CRmsGlobalReqRx receiver(handler);
  CPyxoRxNotifierBase& base = receiver;
  EXPECT_NO_THROW(base.OnResponse(0, nullptr, 0));
  EXPECT_NO_THROW(base.OnPublish(nullptr, 0, nullptr));
  EXPECT_EQ(handler.nResponses, 1);
  EXPECT_EQ(handler.nPublications, 1);
}

}  // namespace
