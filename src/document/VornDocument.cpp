// TVornDocument: a wrapping store of its own, saved from the start.
#include "document/VornDocument.h"

#include "layout/StoreWrap.h"

namespace vorn {

TVornDocument::TVornDocument() : store_(NewWrappedStore()) {}

}  // namespace vorn
