// The product's name and version: the caption of every message box, the
// window-title stem, the version mark and the settings file's Version key.
#pragma once

constexpr wchar_t kProductName[] = L"Tapewright";
constexpr char kProductVersion[] = "26.10";
