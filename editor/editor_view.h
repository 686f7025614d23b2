// The transcript's edit view: one multi-line EDIT control, subclassed for drops,
// the context menu and the line and column display; its font and colours.
#pragma once
#include <windows.h>
#include <shellapi.h>

constexpr int kEditorControlId = 27;

// Creates and subclasses the control, wrapping words or not; its modification
// flag is clear. Null on failure.
HWND CreateEditor(HWND mainWindow, int wordWrap);
// The edit control, or null before it is created.
HWND EditorWindow();
int EditorWordWrap();
// Word wrap toggle: a new control with the other style, the same text, font,
// colours and modification state.
HWND RecreateEditor(HWND mainWindow);
// The stored font, else the theme's dialog font, else Tahoma 8 pt. The caller owns it.
HFONT CreateEditorFont();
// Text and background colours from the Color setting or the theme; the editor's
// font also becomes the status bar's.
void ApplyEditorColors();
// Puts "Ln %lu, Col %lu" into status pane 1 when the caret's line or column changed.
void UpdateLineColumn(HWND editor);

void EditorSelectAll();
// Word wrap on or off: the control is made anew when that changes.
void EditorSetWordWrap(HWND mainWindow, int wordWrap);
// The font dialog; a chosen font is stored and shown at once.
void EditorChooseFont(HWND mainWindow);

// Set by the main window: called when the editor's command states may have changed.
extern void (*gEditorStatesChanged)();
// Set by the document: opens a dropped file; the routine finishes the drop.
extern void (*gEditorFilesDropped)(HDROP drop);
