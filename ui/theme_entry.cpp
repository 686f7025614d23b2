// The theme's entry points: loading them, the mode request and the
// scroll-bar redirection in the common controls' delay-load imports.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cwchar>

#include "settings/settings_values.h"
#include "ui/theme_internal.h"

namespace {

constexpr DWORD kFirstDarkBuild = 18362;  // Windows 10 1903
constexpr WORD kOpenNcThemeDataOrdinal = 49;
constexpr DWORD kUseDarkModeColors = 26;  // window composition attribute

struct CompositionData {
  DWORD attribute;
  void* data;
  SIZE_T size;
};

struct LoadedModules {
  HMODULE uxtheme;
  HMODULE user32;
  ThemeEntryPoints system;
  int loaded;
  ~LoadedModules() {
    if (uxtheme) FreeLibrary(uxtheme);
    if (user32) FreeLibrary(user32);
  }
};
LoadedModules gModules;
ThemeState gTheme;
int gStateReady;

template <typename Routine>
void Find(HMODULE module, const char* name, Routine* routine) {
  *routine = module ? reinterpret_cast<Routine>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

DWORD WindowsBuild() {
  using VersionRoutine = LONG(WINAPI*)(OSVERSIONINFOW*);
  VersionRoutine version = nullptr;
  Find(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion", &version);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!version || version(&info) != 0) return 0;
  return info.dwMajorVersion > 10 || (info.dwMajorVersion == 10 && info.dwBuildNumber >= kFirstDarkBuild)
             ? info.dwBuildNumber
             : 0;
}

int SystemHighContrast() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

void LoadSystemEntryPoints() {
  gModules.loaded = 1;
  ThemeEntryPoints& points = gModules.system;
  points.highContrast = SystemHighContrast;
  HMODULE uxtheme = gModules.uxtheme = LoadLibraryW(L"uxtheme.dll");
  HMODULE user32 = gModules.user32 = LoadLibraryW(L"user32.dll");
  Find(uxtheme, "OpenThemeData", &points.openThemeData);
  Find(uxtheme, "CloseThemeData", &points.closeThemeData);
  Find(uxtheme, "GetThemeColor", &points.getThemeColor);
  Find(uxtheme, "IsThemeActive", &points.isThemeActive);
  Find(uxtheme, "SetWindowTheme", &points.setWindowTheme);
  Find(user32, "SetWindowCompositionAttribute", &points.setWindowCompositionAttribute);
  if (!uxtheme || !WindowsBuild()) return;
  Find(uxtheme, MAKEINTRESOURCEA(104), &points.refreshImmersiveColorPolicy);
  Find(uxtheme, MAKEINTRESOURCEA(132), &points.shouldAppsUseDarkMode);
  Find(uxtheme, MAKEINTRESOURCEA(133), &points.allowDarkModeForWindow);
  Find(uxtheme, MAKEINTRESOURCEA(135), &points.setPreferredAppMode);
  Find(uxtheme, MAKEINTRESOURCEA(137), &points.isDarkModeAllowedForWindow);
}

void UsePoints(const ThemeEntryPoints& points) {
  gTheme = ThemeState{};
  gTheme.points = points;
  const ThemeEntryPoints& p = gTheme.points;
  gTheme.supported = p.refreshImmersiveColorPolicy && p.shouldAppsUseDarkMode && p.allowDarkModeForWindow &&
                     p.setPreferredAppMode && p.isDarkModeAllowedForWindow && p.setWindowCompositionAttribute;
  gStateReady = 1;
  gSettingsDarkLook = ThemeIsDark;
  ThemeRefresh();
}

// The import slot of UxTheme ordinal 49 among comctl32's delay-load imports,
// or null (Wine's comctl32, for one, imports UxTheme directly).
void** FindNonClientImport() {
  auto* base = reinterpret_cast<uint8_t*>(GetModuleHandleW(L"comctl32.dll"));
  if (!base) return nullptr;
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
  if (!directory.VirtualAddress || !directory.Size) return nullptr;
  auto* entry = reinterpret_cast<IMAGE_DELAYLOAD_DESCRIPTOR*>(base + directory.VirtualAddress);
  for (; entry->DllNameRVA; ++entry) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->DllNameRVA), "uxtheme.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->ImportNameTableRVA);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->ImportAddressTableRVA);
    for (; names->u1.Ordinal; ++names, ++slots)
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) && IMAGE_ORDINAL(names->u1.Ordinal) == kOpenNcThemeDataOrdinal)
        return reinterpret_cast<void**>(&slots->u1.Function);
  }
  return nullptr;
}

// Once per process: the slot is writable only for the moment of the write.
void InstallScrollBarRedirect() {
  static int tried;
  gTheme.scrollRedirect = 1;
  if (tried) return;
  tried = 1;
  void** slot = FindNonClientImport();
  DWORD oldProtection = 0;
  if (!slot || !VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection)) return;
  *slot = reinterpret_cast<void*>(ThemeOpenNonClientData);
  VirtualProtect(slot, sizeof *slot, oldProtection, &oldProtection);
}

}  // namespace

ThemeState* Theme() {
  if (!gStateReady) {
    if (!gModules.loaded) LoadSystemEntryPoints();
    UsePoints(gModules.system);
  }
  return &gTheme;
}

void ThemeUseEntryPoints(const ThemeEntryPoints* points) {
  if (!points && !gModules.loaded) LoadSystemEntryPoints();
  UsePoints(points ? *points : gModules.system);
}

// The dark state follows the choice: forced dark, or Windows' setting for
// applications when allowed; high contrast always keeps the light look.
int ThemeMode(int request) {
  ThemeState* theme = Theme();
  if (request == 5) return theme->supported;
  if (!theme->supported) return 0;
  if (request < 0 || request > 3) return theme->dark;
  const ThemeEntryPoints& p = theme->points;
  p.setPreferredAppMode(request);
  p.refreshImmersiveColorPolicy();
  int wanted = request == 2 || (request == 1 && p.shouldAppsUseDarkMode());
  int dark = wanted && !(p.highContrast && p.highContrast());
  if (request == 1 || request == 2) InstallScrollBarRedirect();
  if (request == 0 || request == 3) theme->scrollRedirect = 0;
  if (dark != theme->dark) {
    theme->dark = dark;
    ThemeRefresh();
  }
  return dark;
}

int ThemeIsDark() { return Theme()->dark; }

void ApplyDarkTitle(HWND window) {
  ThemeState* theme = Theme();
  const ThemeEntryPoints& p = theme->points;
  if (!window || !p.setWindowCompositionAttribute || !p.isDarkModeAllowedForWindow) return;
  BOOL on = theme->dark && p.isDarkModeAllowedForWindow(window);
  CompositionData data = {kUseDarkModeColors, &on, sizeof on};
  p.setWindowCompositionAttribute(window, &data);
}

void ThemeWindow(HWND window) {
  ThemeState* theme = Theme();
  if (theme->points.allowDarkModeForWindow) theme->points.allowDarkModeForWindow(window, theme->dark);
  ApplyDarkTitle(window);
}

void ThemeToolbar(HWND toolbar) {
  ThemeState* theme = Theme();
  if (theme->dark && theme->points.isThemeActive && theme->points.isThemeActive())
    SendMessageW(toolbar, TB_SETWINDOWTHEME, 0, reinterpret_cast<LPARAM>(L"ItemsView"));
}

HANDLE WINAPI ThemeOpenNonClientData(HWND window, LPCWSTR classList) {
  ThemeState* theme = Theme();
  if (!theme->points.openThemeData) return nullptr;
  if (theme->scrollRedirect && classList && lstrcmpiW(classList, L"ScrollBar") == 0)
    return theme->points.openThemeData(nullptr, L"Explorer::ScrollBar");
  return theme->points.openThemeData(window, classList);
}
