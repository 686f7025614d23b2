// Finds where a file's real content starts behind a leading ID3v2 tag.
#pragma once
#include <cstdint>

#include "base/byte_source.h"

// Reads the first ten bytes; returns the tag's total size (header included) when
// they start an ID3v2 tag, else 0. Leaves the source positioned at that offset.
uint64_t Id3v2SkipTag(ByteSource* source);
