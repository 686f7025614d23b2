// The product's name and version: the caption of every message box, the
// window-title stem, the version mark and the settings file's Version key.
#pragma once

constexpr wchar_t kProductName[] = L"Tapewright";
constexpr char kProductVersion[] = "26.10";
// The maker's web site and the product's code on it: its page is
// site/code/e.htm (d.htm in German), its line in site/products.txt starts with the code.
constexpr wchar_t kMakerSite[] = L"https://www.corvane.de";
constexpr char kProductCode[] = "TW";
