#include <dlfcn.h>
#include <gtest/gtest.h>

#include "LinkFixture.h"

// The test program offers the host's receive-control service itself, so the link finds it
// through the main program's handle as it would in the terminal.
namespace {
CFakeRxControl g_controls[2];
std::vector<std::pair<int32_t, CPyxoRxNotifierBase*>> g_arrGiven;
bool g_bFailOpening = false;
}  // namespace

// The program also offers the message library's two opening calls, so a test can make them
// fail; otherwise they pass on to the library.
extern "C" int otp_ctor_primecb(OTP_MSG* phMsg, int32_t* pnErr) {
  static const auto s_pfnNext =
      reinterpret_cast<int (*)(OTP_MSG*, int32_t*)>(dlsym(RTLD_NEXT, "otp_ctor_primecb"));
  return g_bFailOpening ? 0 : s_pfnNext(phMsg, pnErr);
}
extern "C" int otp_open_scratch(OTP_SCRATCH* phScratch, uint32_t nSize, int32_t* pnErr) {
  static const auto s_pfnNext =
      reinterpret_cast<int (*)(OTP_SCRATCH*, uint32_t, int32_t*)>(dlsym(RTLD_NEXT, "otp_open_scratch"));
  return g_bFailOpening ? 0 : s_pfnNext(phScratch, nSize, pnErr);
}

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

  // Shutdown closes control 0; without the host's release service it stops there.
  EXPECT_EQ(FormatLinkFailure(CloseRmsLinkControls(*pLink)), "From ZEL Connection to pyxo failed");
  EXPECT_EQ(g_controls[0].m_arrCloses, std::vector<int32_t>{0});
}

TEST(RmsLinkTest, FailuresAreReturnedAndOpeningGoesOn) {
  std::vector<eLinkFailure> arrFailures;
  g_bFailOpening = true;
  const std::unique_ptr<RmsLink> pLink = Open(true, arrFailures);
  g_bFailOpening = false;
  std::vector<std::string> arrTexts;
  for (eLinkFailure eFailure : arrFailures) arrTexts.push_back(FormatLinkFailure(eFailure));
  EXPECT_EQ(arrTexts, (std::vector<std::string>{"MnmHndl Open failed in Kestrum Plugin",
                                                "BufHndl Open failed in Kestrum Plugin"}));
  EXPECT_EQ(pLink->pControl1, &g_controls[1]);

  // Without the service no control exists, but the receivers do.
  arrFailures.clear();
  const std::unique_ptr<RmsLink> pUnlinked = Open(false, arrFailures);
  EXPECT_TRUE(pUnlinked->pControl0 == nullptr && pUnlinked->pControl1 == nullptr);
  EXPECT_TRUE(pUnlinked->pFirstRx != nullptr && pUnlinked->pSecondRx != nullptr);
  EXPECT_EQ(arrFailures, std::vector<eLinkFailure>{eLinkFailure::kNoHostLink});
}

// A receiver hands every message on and lets nothing escape to the host.
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
