#include "plugin/PluginContext.h"

PluginContext g_pluginContext;
