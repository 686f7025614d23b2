// The ID3v1 genre list with the Winamp extensions: what a genre byte or a
// numbered genre reference names.
#pragma once
#include <cstdint>

constexpr uint32_t kId3GenreCount = 148;

// The name for index, or null when the index lies outside the list.
const wchar_t* Id3GenreName(uint32_t index);
