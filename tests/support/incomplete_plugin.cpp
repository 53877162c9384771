// A module that marks itself a plug-in but lacks the comparison entry point.
#define API extern "C" __attribute__((visibility("default")))

API const char* GetTrovixVersion() { return "0.8.2"; }
API const char* GetPluginInfo(const char*) { return ""; }
API bool TrovixPlugin() { return true; }
