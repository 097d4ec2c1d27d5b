#pragma once
#include "LittleEndian.h"

#include <cstdint>
#include <string>

namespace workbook {

// The whole file of a version 3 compound file (512-byte sectors) whose root
// storage holds one stream.  A stream under the mini stream cutoff is padded
// with zeros up to it, so that it always lives in regular sectors.
Bytes WriteCompoundFile(const std::u16string& streamName, Bytes stream);

// The same file in three parts, for a stream of that many bytes that is
// written on its way rather than held: the header, which goes before the
// stream; the zeros after the stream up to its last sector; the directory,
// FAT and DIFAT, which end the file.
Bytes CompoundFileHeader(std::uint64_t streamSize);
std::size_t CompoundStreamPadding(std::uint64_t streamSize);
Bytes CompoundFileTail(const std::u16string& streamName, std::uint64_t streamSize);

}  // namespace workbook
