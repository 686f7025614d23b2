// File > E-Mail to: the transcript as the body of a new message in the user's
// mail program, through Simple MAPI from the system folder. MAPISendMailW
// keeps every character; the ANSI call serves where it is missing.
#pragma once
#include <windows.h>
#include <mapi.h>

#include <cstddef>

// MAPISendMailW's message record (Windows 8 and later); what it points to is
// never used here, so those fields are untyped.
struct MapiMessageWide {
  ULONG reserved;
  PWSTR subject;
  PWSTR noteText;
  PWSTR messageType;
  PWSTR dateReceived;
  PWSTR conversationId;
  FLAGS flags;
  void* originator;
  ULONG recipientCount;
  void* recipients;
  ULONG fileCount;
  void* files;
};
using MapiSendMailWide = ULONG(WINAPI*)(LHANDLE session, ULONG_PTR parent, MapiMessageWide* message, FLAGS flags,
                                        ULONG reserved);
using MapiSendMailAnsi = ULONG(WINAPI*)(LHANDLE session, ULONG_PTR parent, MapiMessage* message, FLAGS flags,
                                        ULONG reserved);

struct MailEntryPoints {
  HMODULE library;  // freed after the call when not null
  MapiSendMailWide sendWide;
  MapiSendMailAnsi sendAnsi;
};
// Finds the entry points; non-zero when there is at least one. Tests replace it.
extern int (*gMailOpenRoutine)(MailEntryPoints* entries);
// mapi32.dll from the system folder only: a file of that name beside the
// program or in the current folder is never run.
HMODULE LoadSystemMapiLibrary();

// The subject is cut at 1023 characters (ANSI: bytes).
constexpr size_t kMailSubjectChars = 1024;

enum MailOutcome { kMailHandedOver, kMailCancelled, kMailNoProgram, kMailFailed };
// A new message with subject and body (terminated, bodyLength characters) in
// the mail program's compose dialog over parent. *mapiResult gets MAPI's answer.
MailOutcome SendTextByMail(HWND parent, const wchar_t* subject, const wchar_t* body, size_t bodyLength,
                           ULONG* mapiResult);

// Command 108: the window title as subject, the editor's whole text as body;
// a missing mail program or a failure is reported, the user's Cancel is not.
void SendDocumentByMail(HWND mainWindow, HWND editor);
