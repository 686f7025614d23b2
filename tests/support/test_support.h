// Helpers shared by the test programs: where the fixtures are, and reading
// whole files, the same way on Windows (under Wine) and on the host.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A folder named by an environment variable, in the platform's own form
// (a Unix folder becomes Z:\... under Wine). Empty when the variable is unset.
std::wstring TestFolder(const char* variable);
// folder + separator + name.
std::wstring TestPath(const std::wstring& folder, const std::string& name);
// The whole file, or an empty vector when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::wstring& path);
// Writes bytes to a new file; true on success.
bool WriteWholeFile(const std::wstring& path, const std::vector<uint8_t>& bytes);
