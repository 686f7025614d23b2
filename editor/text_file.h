// Transcript files on disk: read whole and decoded (text_decode.h), written as
// UTF-16 LE with a byte-order mark. A save never destroys the
// previous version: the new text goes to a temporary file in the same folder,
// which replaces the old file only when it is complete.
#pragma once
#include <windows.h>

#include <cstddef>

#include "editor/text_decode.h"

// Reads and decodes a whole file. Returns 0 or a system error code, mapped as
// the user should see it.
DWORD TextFileLoad(const wchar_t* path, TextBuffer* out);

// Where a save failed, so that the caller shows the right message.
enum TextSaveStage { kSaveCreate, kSaveWrite, kSaveReplace };

// Writes the pieces one after another to path through a temporary file in
// the same folder, which replaces the old file only when it is complete.
// Returns 0 or a system error code; *stage says which step failed.
struct SavePiece {
  const void* bytes;
  size_t size;
};
DWORD SaveFilePieces(const wchar_t* path, const SavePiece* pieces, int count, TextSaveStage* stage);
// Writes FF FE and the text to path through a temporary file. Returns 0 or a
// system error code; *stage says which step failed.
DWORD TextFileSave(const wchar_t* path, const wchar_t* text, size_t length, TextSaveStage* stage);

// Maps the thread's error codes to the ones the user is shown.
DWORD TextFileUserError(DWORD code);

// Test hook: when set, called before each piece is written; a zero return makes
// that write fail with ERROR_DISK_FULL, as a full disk would.
extern int (*gTextFileWriteHook)(size_t pieceIndex);
