// Built by the layer test, which expects this to fail: the store must not see the layout
// layer above it, let alone the shell.
#include "store/ScreenStrings.h"
#include "layout/StoreWrap.h"

int LayerIncludeUp() { return 0; }
