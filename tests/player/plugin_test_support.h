// Shared by the plug-in tests: the test plug-ins copied into a folder that
// stands in for the program's, TPCM files of counting frames (frame i holds
// i + 1, as the engine's counting files do), and the plug-ins' own log.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "test_support.h"

// Copies in_<kind>.dll from the built test plug-ins into folder under the
// given name (in_<kind>.dll when the name is empty). True when every copy was made.
inline bool StagePlugins(const std::wstring& folder, const std::vector<std::pair<std::string, std::string>>& copies) {
  std::wstring built = TestFolder("TPWR_TEST_PLUGINS");
  for (const auto& [kind, name] : copies) {
    std::wstring from = TestPath(built, "in_" + kind + ".dll");
    std::wstring to = TestPath(folder, name.empty() ? "in_" + kind + ".dll" : name);
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE)) return false;
  }
  return true;
}

// 16-bit stereo at 44100 Hz, frames counting from 1.
inline bool WriteCountingTpcm(const std::wstring& path, uint32_t frames) {
  std::vector<uint8_t> bytes = {'T', 'P', 'C', 'M', 0x44, 0xAC, 0, 0, 2, 0, 16, 0};
  for (uint32_t i = 1; i <= frames; ++i)
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(i >> shift));
  return WriteWholeFile(path, bytes);
}

// The plug-ins write "load NAME", "init NAME" and "quit NAME" lines here.
inline std::wstring PluginLogPath(const std::wstring& folder) { return TestPath(folder, "plugin.log"); }
inline void SetPluginLog(const std::wstring& folder) {
  SetEnvironmentVariableW(L"TPWR_PLUGIN_LOG", PluginLogPath(folder).c_str());
}
inline std::string ReadPluginLog(const std::wstring& folder) {
  std::vector<uint8_t> bytes = ReadWholeFile(PluginLogPath(folder));
  return std::string(bytes.begin(), bytes.end());
}
