#include "controls/PluginEnvironment.h"

PluginEnvironment& GetPluginEnvironment()
{
    static PluginEnvironment environment;
    return environment;
}
