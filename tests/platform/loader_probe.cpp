// A library for the module-loading tests; each built copy reports which one it is.
extern "C" __attribute__((visibility("default"))) const char* LoaderProbeIdentity() { return LOADER_PROBE_IDENTITY; }
