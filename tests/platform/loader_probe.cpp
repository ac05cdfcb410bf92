// A library for the module-loading tests; each built copy reports which one it is.
#if defined(_WIN32)
#define LOADER_PROBE_EXPORT __declspec(dllexport)
#else
#define LOADER_PROBE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" LOADER_PROBE_EXPORT const char* LoaderProbeIdentity() { return LOADER_PROBE_IDENTITY; }
