// A complete plug-in whose comparison gives one answer, CONSTANT_VERDICT, to
// every pair: a module that disagrees with the comparison built into the
// command.
#define API extern "C" __attribute__((visibility("default")))

API const char* GetTrovixVersion() { return "0.8.2"; }
API bool PluginCompare(const char*, const char*) { return CONSTANT_VERDICT; }
API const char* GetPluginInfo(const char*) { return ""; }
API bool TrovixPlugin() { return true; }
