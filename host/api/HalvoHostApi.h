// The boundary between the terminal (halvo-host) and a plug-in loaded into it.
//
// The host exports the services below with C linkage from its executable; a plug-in looks
// them up by name in the host's module and treats a missing one as "not offered". A plug-in
// exports the entry points below with C linkage; the host looks them up after dlopen.
// Both sides are built with the same compiler and standard library, so the host-side string
// and list types are the standard ones.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "connect/include/connecthalvo.h"

#define HALVO_API __attribute__((visibility("default")))

class QDockWidget;

// Host-side types filled by a plug-in's information calls.
using CHostString = std::string;
using CHostStringList = std::vector<std::string>;
using CHostIntList = std::vector<int32_t>;

// Window message a plug-in sends its main frame after docking its windows: the first parameter
// points at the plug-in's CDockedWindowTable, the second is 0. The frame may keep the pointer
// only for the duration of the call.
inline constexpr uint32_t kMsgDockedWindows = 1933;
using CDockedWindowTable = std::map<QDockWidget*, int32_t>;

// The frame's closing operation, invoked by name on the main frame with the argument 0 before
// a plug-in destroys its windows: "SaveDockLayout(int)".
inline constexpr const char* kFrameSaveLayoutMethod = "SaveDockLayout";

// A receiver of messages from a receive control. The host calls it on its user-interface
// thread, one call at a time. Slot order is part of the contract: OnPublish, then OnResponse.
class HALVO_API CPyxoRxNotifierBase {
 public:
  // A publication the control subscribed to. Only hMsg carries meaning.
  virtual void OnPublish(OTP_MSG hMsg, uint32_t nValue, void* pContext) = 0;
  // The response to a request sent through the control. Only hMsg carries meaning.
  virtual void OnResponse(uint32_t nValue, OTP_MSG hMsg, uint32_t nValue2) = 0;

 protected:
  // Receivers are deleted as what they are, never through this interface.
  ~CPyxoRxNotifierBase() = default;
};

// A receive control: the plug-in's way to the risk server. Obtained from GetPyxoRxControl and
// given back through DestoryPyxoRxCOntrol, which deletes it.
class HALVO_API CPyxoRxControl {
 public:
  // Sends the message composed with hMsg as a request; its response reaches OnResponse.
  // Returns non-zero when the message was handed to the transport. pnOut receives 0.
  virtual int SendRequest(uint64_t* pnOut, OTP_MSG hMsg, int32_t nFlags, int32_t* pnErr) = 0;
  // Subscribes to publications whose field nFieldId equals the given value; they reach
  // OnPublish from then on. The five numbers are 1, 0, 0, 0, 1 for a topic subscription.
  virtual int Subscribe(uint64_t* pnOut, uint32_t nFieldId, const char* pValue, uint64_t nLength,
                        int32_t nMode, int32_t nReserved1, int32_t nReserved2, int32_t nReserved3,
                        int32_t nReliable, int32_t* pnErr) = 0;
  // Publishes the message composed in the scratch buffer. Non-zero when handed on.
  virtual int Publish(OTP_SCRATCH hScratch, int32_t* pnErr) = 0;
  // Stops delivering; nothing reaches the receiver after it returns.
  virtual void Close(int32_t nFlags) = 0;

 protected:
  ~CPyxoRxControl() = default;
};

extern "C" {

// Host services, exported by the host executable.

// Fills the user's per-user directory (no trailing separator). The result carries no meaning.
typedef int (*PFN_pu_get_UserDirectory)(CHostString* pstrDirectory);
// Fills the drop-down list of a plug-in dialog with the dealers and clients the user may see.
// pDialog is the dialog's QWidget*; the list is its descendant QComboBox whose object name is
// the decimal control id. The result carries no meaning.
typedef int (*PFN_pu_PopulateAllDealersOrClients)(void* pDialog, int32_t nControlId, int32_t nKind,
                                                  int32_t nFlag);
// Gives a receive control of kind 0 or 1 that delivers to pReceiver, or null.
typedef CPyxoRxControl* (*PFN_GetPyxoRxControl)(int32_t nKind, CPyxoRxNotifierBase* pReceiver);
// Releases a receive control; it calls its receiver no more.
typedef void (*PFN_DestoryPyxoRxCOntrol)(CPyxoRxControl* pControl);

// The link to the risk server as the terminal judges it. nState: 0 connecting, 1 connected
// (the server sends data), 2 disconnected, 3 not responding, 4 handshake refused (the server
// refused the terminal's key, or holds another key than the one pinned), 5 not connected
// because of a key problem. nSession is 0 until the link is first connected and grows by one
// each time it is connected again after its connections were lost: what the server sent
// meanwhile is gone, and a plug-in asks again for what it shows.
// nDataAgeMs: since the newest data from the server, -1 before any.
struct sHalvoLinkStatus {
  int32_t nState;
  uint32_t nSession;
  int64_t nDataAgeMs;
};
// Fills *pStatus; 0 (and nothing filled) without a link or a status.
typedef int (*PFN_pu_get_LinkStatus)(sHalvoLinkStatus* pStatus);

// Plug-in entry points.

struct sHalvoTimeVal {
  int32_t tv_sec;
  int32_t tv_usec;
};

typedef int (*PFN_GetHalvoPluginInfo)(CHostString* pstrName, CHostString* pstrVersion, void* pUnused,
                                      uint32_t* pnNumber, int32_t* pnFlag);
typedef void (*PFN_GetOptionalHalvoPluginInfo)(CHostString* pstrPluginId, CHostStringList* pFirstList,
                                               void* pUnused, CHostStringList* pSecondList,
                                               CHostIntList* pIntList);
typedef void (*PFN_InitHalvoPlugin)(void* pHost, const char* szUserId, int32_t nUserCategory,
                                    CHostString strUnused);
typedef void (*PFN_ExitHalvoPlugin)();
typedef int (*PFN_ProcessHalvoPluginMsg)(void* pMessage);
typedef int (*PFN_gettimeofday)(sHalvoTimeVal* pTime, void* pZone);

}  // extern "C"
