// Built by the layer test: the store may use the character codes below it.
#include "encoding/jconvert.h"
#include "store/ScreenStrings.h"

int LayerIncludeDown() { return vorn::ckSjis; }
