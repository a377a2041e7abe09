// The colour list record of ".fbd" files: count, then background, text colour and style per entry.
#pragma once

#include "syntax/KeyWordStream.h"
#include "syntax/EditColors.h"

namespace vorn {

void SaveColorList(const TVornEditColors& colors, TRecordWriter& out);

// Reads into colors; entries the stream does not reach keep their values. Entries beyond the
// table's size are read and dropped, so the record after the list starts at the right byte.
// Reading stops quietly at the end of the stream, as files of older versions end there.
void LoadColorList(TVornEditColors& colors, TRecordReader& in);

}  // namespace vorn
