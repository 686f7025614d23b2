// Sizes shared by every subsystem.
#pragma once

constexpr int kMaxPathChars = 1024;  // UTF-16 characters, without the terminating NUL
