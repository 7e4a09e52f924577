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

// Opens a link with the host's service found through the main program's handle, or without it.
std::unique_ptr<RmsLink> Open(bool bHostService, std::vector<eLinkFailure>& arrFailures) {
  static CNullHandler s_handler;
  g_pluginContext = PluginContext{};
  g_pluginContext.hostModule = bHostService ? dlopen(nullptr, RTLD_NOW) : nullptr;
  g_arrGiven.clear();
  std::unique_ptr<RmsLink> pLink = OpenRmsLink(s_handler, arrFailures);
  g_pluginContext = PluginContext{};
  return pLink;
}

TEST(RmsLinkTest, OpensInOrderWithTheHostService) {
  std::vector<eLinkFailure> arrFailures;
  const std::unique_ptr<RmsLink> pLink = Open(true, arrFailures);
  EXPECT_TRUE(pLink->hMsg != nullptr && pLink->hScratch != nullptr);
  EXPECT_EQ(std::pair(pLink->pControl0, pLink->pControl1),
            (std::pair<CPyxoRxControl*, CPyxoRxControl*>(&g_controls[0], &g_controls[1])));
  EXPECT_EQ(g_arrGiven, (std::vector<std::pair<int32_t, CPyxoRxNotifierBase*>>{{0, pLink->pFirstRx.get()},
                                                                                 {1, pLink->pSecondRx.get()}}));
  EXPECT_TRUE(arrFailures.empty());
}

TEST(RmsLinkTest, WithoutTheHostServiceOnlyTheReceiversExist) {
  std::vector<eLinkFailure> arrFailures;
  const std::unique_ptr<RmsLink> pUnlinked = Open(false, arrFailures);
  EXPECT_TRUE(pUnlinked->pControl0 == nullptr && pUnlinked->pControl1 == nullptr && pUnlinked->pFirstRx != nullptr &&
              pUnlinked->pSecondRx != nullptr);
  EXPECT_EQ(arrFailures, std::vector<eLinkFailure>{eLinkFailure::kNoHostLink});
}

TEST(RmsLinkTest, ReceiversForwardAndSwallowFailures) {
  struct CThrowingHandler final : CRmsMessageHandler {
    void OnRmsResponse(OTP_MSG) override { ++nResponses, throw std::runtime_error("boom"); }
    void OnRmsPublish(OTP_MSG) override { ++nPublications, throw 42; }
    int nResponses = 0, nPublications = 0;
  } handler;
  CRmsGlobalReqRx receiver(handler);
  CPyxoRxNotifierBase& base = receiver;
  EXPECT_NO_THROW(base.OnResponse(0, nullptr, 0));
  EXPECT_NO_THROW(base.OnPublish(nullptr, 0, nullptr));
  EXPECT_EQ(std::pair(handler.nResponses, handler.nPublications), std::pair(1, 1));
}

}  // namespace
