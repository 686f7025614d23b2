// E-mail: the message the mail program receives through a stand-in MAPI
// (Unicode call first, ANSI as fallback), what the user is told, and the
// library coming from the system folder even with a decoy beside the program.
#include <gtest/gtest.h>

#include <string>

#include "editor/send_mail.h"
#include "ui/message_box.h"

namespace {

// The stand-in mail program: which calls it offers, what they answer, what they got.
struct FakeMapi {
  int hasWide, hasAnsi;
  ULONG wideResult, ansiResult;
  int wideCalls, ansiCalls;
  std::wstring wideSubject, wideBody;
  std::string ansiSubject, ansiBody;
  LHANDLE session;
  ULONG_PTR parent;
  FLAGS flags;
  ULONG recipients, files;
};
FakeMapi gMapi;

ULONG WINAPI FakeSendWide(LHANDLE session, ULONG_PTR parent, MapiMessageWide* message, FLAGS flags, ULONG) {
  gMapi.wideCalls++;
  gMapi.wideSubject = message->subject;
  gMapi.wideBody = message->noteText;
  gMapi.session = session;
  gMapi.parent = parent;
  gMapi.flags = flags;
  gMapi.recipients = message->recipientCount + (message->recipients != nullptr) + (message->originator != nullptr);
  gMapi.files = message->fileCount + (message->files != nullptr);
  return gMapi.wideResult;
}
ULONG WINAPI FakeSendAnsi(LHANDLE session, ULONG_PTR parent, MapiMessage* message, FLAGS flags, ULONG) {
  gMapi.ansiCalls++;
  gMapi.ansiSubject = message->lpszSubject;
  gMapi.ansiBody = message->lpszNoteText;
  gMapi.session = session;
  gMapi.parent = parent;
  gMapi.flags = flags;
  gMapi.recipients = message->nRecipCount + (message->lpRecips != nullptr) + (message->lpOriginator != nullptr);
  gMapi.files = message->nFileCount + (message->lpFiles != nullptr);
  return gMapi.ansiResult;
}
int OpenFakeMapi(MailEntryPoints* entries) {
  *entries = MailEntryPoints{};
  if (gMapi.hasWide) entries->sendWide = FakeSendWide;
  if (gMapi.hasAnsi) entries->sendAnsi = FakeSendAnsi;
  return gMapi.hasWide || gMapi.hasAnsi;
}

std::wstring gShown;
int RecordMessageBox(HWND, const wchar_t* text, const wchar_t*, UINT) {
  gShown = text;
  return IDOK;
}

class SendMailTest : public testing::Test {
 protected:
  void SetUp() override {
    savedOpen = gMailOpenRoutine;
    savedBox = gMessageBoxRoutine;
    gMailOpenRoutine = OpenFakeMapi;
    gMessageBoxRoutine = RecordMessageBox;
    gShown.clear();
    owner = CreateWindowExW(0, L"STATIC", L"Tapewright - \u0141\u00f3d\u017a.txt", WS_POPUP, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    editor = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  }
  void TearDown() override {
    DestroyWindow(editor);
    DestroyWindow(owner);
    gMailOpenRoutine = savedOpen;
    gMessageBoxRoutine = savedBox;
  }
  int (*savedOpen)(MailEntryPoints*) = nullptr;
  int (*savedBox)(HWND, const wchar_t*, const wchar_t*, UINT) = nullptr;
  HWND owner = nullptr, editor = nullptr;
};

// Characters beyond Windows-1252 (the test prefix's ANSI code page) survive
// the Unicode call and become "?" only on the ANSI one.
TEST_F(SendMailTest, TheMessageOnEitherPath) {
  const wchar_t* body = L"\u0141\u00f3d\u017a \u2013 \u0395\u03bb\u03bb\u03ac\u03b4\u03b1,\r\n\u0130stanbul";
  SetWindowTextW(editor, body);
  struct { int hasWide, hasAnsi; ULONG wideResult; int wideCalls, ansiCalls; } cases[] = {
      {1, 1, SUCCESS_SUCCESS, 1, 0},
      {0, 1, SUCCESS_SUCCESS, 0, 1},                // before Windows 8
      {1, 1, MAPI_E_NOT_SUPPORTED, 1, 1},           // a mail program without the Unicode call
  };
  for (const auto& c : cases) {
    gMapi = FakeMapi{c.hasWide, c.hasAnsi, c.wideResult, SUCCESS_SUCCESS};
    SendDocumentByMail(owner, editor);
    EXPECT_EQ(gMapi.wideCalls, c.wideCalls);
    EXPECT_EQ(gMapi.ansiCalls, c.ansiCalls);
    EXPECT_EQ(gShown, L"");
    if (c.wideCalls) {
      EXPECT_EQ(gMapi.wideSubject, L"Tapewright - \u0141\u00f3d\u017a.txt");
      EXPECT_EQ(gMapi.wideBody, body);
    }
    if (c.ansiCalls) {
      EXPECT_EQ(gMapi.ansiSubject, "Tapewright - ?\xf3" "d?.txt");
      EXPECT_EQ(gMapi.ansiBody, "?\xf3" "d? \x96 ??????,\r\n?stanbul");
    }
    EXPECT_EQ(gMapi.session, LHANDLE{0});
    EXPECT_EQ(gMapi.parent, reinterpret_cast<ULONG_PTR>(owner));
    EXPECT_EQ(gMapi.flags, FLAGS{MAPI_DIALOG});
    EXPECT_EQ(gMapi.recipients + gMapi.files, 0u) << "no recipients, originator or attachments";
  }
}

// No mail program is said so; the user's own Cancel is not reported.
TEST_F(SendMailTest, WhatTheUserIsTold) {
  struct { int hasWide; ULONG result; MailOutcome outcome; int told; } cases[] = {
      {1, MAPI_USER_ABORT, kMailCancelled, 0},
      {1, MAPI_E_LOGIN_FAILURE, kMailNoProgram, 1},
      {1, MAPI_E_FAILURE, kMailNoProgram, 1},
      {1, MAPI_E_INSUFFICIENT_MEMORY, kMailFailed, 1},
      {0, SUCCESS_SUCCESS, kMailNoProgram, 1},  // no library or no entry point
  };
  for (const auto& c : cases) {
    gMapi = FakeMapi{c.hasWide, 0, c.result};
    ULONG result = 0;
    EXPECT_EQ(SendTextByMail(owner, L"subject", L"body", 4, &result), c.outcome) << c.result;
    gShown.clear();
    SendDocumentByMail(owner, editor);
    EXPECT_EQ(!gShown.empty(), c.told) << c.result;
  }
}

// A mapi32.dll beside the test program (built by the tests) is never the one loaded.
TEST(MapiLibrary, ComesFromTheSystemFolder) {
  wchar_t system[MAX_PATH] = L"", loaded[MAX_PATH] = L"";
  GetSystemDirectoryW(system, MAX_PATH);
  SetEnvironmentVariableW(L"TPWR_DECOY_MAPI32", nullptr);
  HMODULE library = LoadSystemMapiLibrary();
  ASSERT_NE(library, nullptr);
  GetModuleFileNameW(library, loaded, MAX_PATH);
  FreeLibrary(library);
  EXPECT_EQ(CompareStringOrdinal(loaded, static_cast<int>(wcslen(system)), system, -1, TRUE), CSTR_EQUAL) << loaded;
  EXPECT_EQ(GetEnvironmentVariableW(L"TPWR_DECOY_MAPI32", nullptr, 0), 0u) << "the decoy ran";
}

}  // namespace
