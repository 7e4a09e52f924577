// Host services looked up by name in the host's module. A service the host does not export
// comes back null, and each caller decides what that means.
#pragma once

#include "host/api/HalvoHostApi.h"

// The module of the running executable, through which its exported services are found.
void* GetHostExecutableModule();

PFN_pu_get_UserDirectory FindUserDirectoryService();
PFN_pu_PopulateAllDealersOrClients FindPopulateDealersService();
PFN_GetPyxoRxControl FindGetRxControlService();
PFN_DestoryPyxoRxCOntrol FindDestroyRxControlService();
PFN_pu_get_LinkStatus FindLinkStatusService();
