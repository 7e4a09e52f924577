#include "plugin/HostServices.h"

#include <dlfcn.h>

#include "plugin/PluginContext.h"

namespace {

template <typename Function>
Function FindHostService(const char* szName) {
  if (g_pluginContext.hostModule == nullptr) return nullptr;
  return reinterpret_cast<Function>(dlsym(g_pluginContext.hostModule, szName));
}

}  // namespace

void* GetHostExecutableModule() {
  // The handle of the main program also finds what it loaded globally, as a host would
  // export its services from the executable itself.
  return dlopen(nullptr, RTLD_NOW);
}

PFN_pu_get_UserDirectory FindUserDirectoryService() {
  return FindHostService<PFN_pu_get_UserDirectory>("pu_get_UserDirectory");
}

PFN_pu_PopulateAllDealersOrClients FindPopulateDealersService() {
  return FindHostService<PFN_pu_PopulateAllDealersOrClients>("pu_PopulateAllDealersOrClients");
}

PFN_GetPyxoRxControl FindGetRxControlService() {
  return FindHostService<PFN_GetPyxoRxControl>("GetPyxoRxControl");
}

PFN_DestoryPyxoRxCOntrol FindDestroyRxControlService() {
  return FindHostService<PFN_DestoryPyxoRxCOntrol>("DestoryPyxoRxCOntrol");
}

PFN_pu_get_LinkStatus FindLinkStatusService() { return FindHostService<PFN_pu_get_LinkStatus>("pu_get_LinkStatus"); }
