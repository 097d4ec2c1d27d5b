#pragma once
#include "LittleEndian.h"

#include <string>

namespace workbook {

// The whole file of a version 3 compound file (512-byte sectors) whose root
// storage holds one stream.  A stream under the mini stream cutoff is padded
// with zeros up to it, so that it always lives in regular sectors.
Bytes WriteCompoundFile(const std::u16string& streamName, Bytes stream);

}  // namespace workbook
