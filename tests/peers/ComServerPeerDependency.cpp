// The library the test server imports; it lies beside the server only.
extern "C" __declspec(dllexport) int PeerDependencyValue() { return 4711; }
