// A module with all four entry points whose marker answers false: the
// command must refuse it.
#define API extern "C" __attribute__((visibility("default")))

API const char* GetTrovixVersion() { return "0.8.2"; }
API bool PluginCompare(const char*, const char*) { return true; }
API const char* GetPluginInfo(const char*) { return ""; }
API bool TrovixPlugin() { return false; }
