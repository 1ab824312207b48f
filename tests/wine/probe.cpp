// A small Windows program that the end-to-end tests run beside the programs
// under test, to look at their windows and talk to them the way the system
// and other programs do. One command per run (kCommands; without one it
// lists them); results as key=value lines, all made by Out. Window handles
// are given in hexadecimal or decimal, "-" stands for any class or title.
//
// It carries the programs' manifest, so it sees every window in the screen's
// own pixels, at any DPI. Copied under another name it stands in for other
// programs (probe_stand_ins.cpp).
#include <windows.h>
#include <psapi.h>
#include <oleacc.h>
#include <wincrypt.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "probe_stand_ins.h"
#include "user_seal_win32.h"

namespace {

HWND ParseHwnd(const char *text) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(text, nullptr, 0)));
}

DWORD Number(const char *text) { return std::strtoul(text, nullptr, 0); }

long long Signed(const char *text) { return std::strtoll(text, nullptr, 0); }

// Every line the probe prints is made here: "key=value", a value of several
// fields joined by ':'. Numbers are decimal; handles, styles and codes
// hexadecimal after "0x"; text is the hexadecimal of its bytes (ANSI, or
// UTF-8 where a command says so), so that nothing in it can end a field or a
// line. Each line is flushed when it is made, for the commands that live on
// and are read line by line. testkit/probe.py is the one reader.
class Out {
 public:
  explicit Out(const char *key) : line_(std::string(key) + '=') {}
  Out(const Out &) = delete;
  Out &operator=(const Out &) = delete;
  ~Out() {
    line_ += '\n';
    std::fputs(line_.c_str(), stdout);
    std::fflush(stdout);
  }
  Out &Number(long long value) { return Field(std::to_string(value)); }
  Out &Code(unsigned long long value) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%llx", value);
    return Field(text);
  }
  Out &Handle(const void *handle) { return Code(reinterpret_cast<std::uintptr_t>(handle)); }
  Out &Flag(bool value) { return Field(value ? "1" : "0"); }
  // A word of letters, digits, dots and dashes: a version, a SID.
  Out &Word(const std::string &word) { return Field(word); }
  // ANSI text, or any other bytes.
  Out &Text(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) hex += {digits[c >> 4], digits[c & 15]};
    return Field(hex);
  }
  Out &Utf8(const wchar_t *text, int length = -1) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, &bytes[0], size, nullptr, nullptr);
    if (length < 0 && !bytes.empty()) bytes.pop_back();
    return Text(bytes);
  }
  // x, y, width and height.
  Out &Place(const RECT &r) { return Number(r.left).Number(r.top).Number(r.right - r.left).Number(r.bottom - r.top); }

 private:
  Out &Field(const std::string &field) {
    if (fields_++) line_ += ':';
    line_ += field;
    return *this;
  }
  std::string line_;
  int fields_ = 0;
};

// The text a window holds now: for a control of another program,
// GetWindowText gives only the text it was created with.
std::string TitleOf(HWND hwnd) {
  char buffer[512] = "";
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                           2000, &copied))
    GetWindowTextA(hwnd, buffer, sizeof buffer);
  return buffer;
}

std::string ClassOf(HWND hwnd) {
  char cls[256] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  return cls;
}

DWORD PidOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

RECT RectOf(HWND hwnd) {
  RECT r = {};
  GetWindowRect(hwnd, &r);
  return r;
}

// Calls `visit` with each top-level window, from the top of the Z order
// down, or with each window under `parent`.
using Visit = std::function<void(HWND)>;

BOOL CALLBACK VisitOne(HWND hwnd, LPARAM visit) {
  (*reinterpret_cast<const Visit *>(visit))(hwnd);
  return TRUE;
}

bool EachWindow(HWND parent, const Visit &visit) {
  const LPARAM param = reinterpret_cast<LPARAM>(&visit);
  return parent ? EnumChildWindows(parent, VisitOne, param) : EnumWindows(VisitOne, param);
}

// All that "info", "find" and "child" tell of a window; false when there is
// no such window.
bool Describe(HWND hwnd) {
  if (!IsWindow(hwnd)) return false;
  const RECT r = RectOf(hwnd);
  RECT client = {};
  GetClientRect(hwnd, &client);
  Out("hwnd").Handle(hwnd);
  Out("pid").Number(PidOf(hwnd));
  Out("class").Text(ClassOf(hwnd));
  Out("title").Text(TitleOf(hwnd));
  Out("x").Number(r.left);
  Out("y").Number(r.top);
  Out("w").Number(r.right - r.left);
  Out("h").Number(r.bottom - r.top);
  Out("client_w").Number(client.right);
  Out("client_h").Number(client.bottom);
  Out("style").Code(static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)));
  Out("exstyle").Code(static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
  Out("visible").Flag(IsWindowVisible(hwnd));
  Out("enabled").Flag(IsWindowEnabled(hwnd));
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  Out("client_x").Number(origin.x);
  Out("client_y").Number(origin.y);
  Out("parent").Handle(GetAncestor(hwnd, GA_PARENT));
  return true;
}

// Asks `done` every 20 ms until it says yes (0), or until the time is up or
// the window `watched` (when there is one) is gone (1).
template <typename Done>
int Poll(DWORD timeout, HWND watched, Done done) {
  for (const DWORD start = GetTickCount(); !done(); Sleep(20))
    if (GetTickCount() - start > timeout || (watched && !IsWindow(watched))) return 1;
  return 0;
}

const char *OrNull(const char *text) { return std::strcmp(text, "-") == 0 ? nullptr : text; }

int Find(char **a, int n) {
  bool visible = false;
  DWORD except = 0;
  for (int i = 3; i < n; ++i) {
    if (std::strcmp(a[i], "visible") == 0) visible = true;
    if (std::strncmp(a[i], "except=", 7) == 0) except = Number(a[i] + 7);
  }
  const char *cls = OrNull(a[0]), *title = OrNull(a[1]);
  return Poll(Number(a[2]), nullptr, [&] {
    for (HWND hwnd = FindWindowExA(nullptr, nullptr, cls, title); hwnd; hwnd = FindWindowExA(nullptr, hwnd, cls, title))
      if ((!visible || IsWindowVisible(hwnd)) && (except == 0 || PidOf(hwnd) != except)) return Describe(hwnd);
    return false;
  });
}

int Gone(char **a, int) {
  const HWND hwnd = ParseHwnd(a[0]);
  return Poll(Number(a[1]), nullptr, [&] { return !IsWindow(hwnd); });
}

int WaitTitle(char **a, int) {
  const HWND hwnd = ParseHwnd(a[0]);
  return Poll(Number(a[2]), hwnd, [&] {
    const std::string title = TitleOf(hwnd);
    if (title.compare(0, std::strlen(a[1]), a[1]) != 0) return false;
    Out("title").Text(title);
    return true;
  });
}

int Child(char **a, int) {
  const HWND parent = ParseHwnd(a[0]);
  return Poll(Number(a[1]), parent, [&] {
    const HWND child = GetWindow(parent, GW_CHILD);
    return child && IsWindowVisible(child) && Describe(child);
  });
}

int Key(char **a, int n) {
  const HWND hwnd = ParseHwnd(a[0]);
  const UINT vk = Number(a[1]), scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  for (int i = 0, count = n > 2 ? std::atoi(a[2]) : 1; i < count; ++i) {
    // Auto-repeat after the first press: bit 30 says the key was already down.
    const LPARAM down = 1 | (scan << 16) | (i > 0 ? (1u << 30) : 0);
    if (!PostMessageA(hwnd, WM_KEYDOWN, vk, down)) return 1;
  }
  PostMessageA(hwnd, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
  return 0;
}

// Posts a pointer move to a client point, then a press and a release there
// of each button named by its down message.
int PostPointer(HWND hwnd, int x, int y, std::initializer_list<UINT> presses) {
  const LPARAM at = MAKELPARAM(x, y);
  PostMessageA(hwnd, WM_MOUSEMOVE, 0, at);
  for (const UINT down : presses) {
    PostMessageA(hwnd, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : 0, at);
    PostMessageA(hwnd, down + 1, 0, at);  // each button's up message follows its down message
  }
  return IsWindow(hwnd) ? 0 : 1;
}

int Mouse(char **a, int) {
  const HWND hwnd = ParseHwnd(a[0]);
  for (int i = 0; i < 20; ++i) PostPointer(hwnd, 10 + i * 7, 20 + i * 5, {});
  return PostPointer(hwnd, 100, 100, {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN});
}

int Lock(char **a, int) {
  HANDLE file = CreateFileA(a[0], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  Out("locked").Flag(true);
  Sleep(INFINITE);
  return 0;
}

std::string FromHex(const char *hex) {
  std::string out;
  for (std::size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
    const char pair[3] = {hex[i], hex[i + 1], 0};
    out += static_cast<char>(std::strtoul(pair, nullptr, 16));
  }
  return out;
}

int Window(char **a, int n) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = "BrumalisProbeWindow";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, FromHex(a[0]).c_str(), WS_POPUP | WS_VISIBLE,
                              n > 3 ? std::atoi(a[3]) : 100, n > 4 ? std::atoi(a[4]) : 100, std::atoi(a[1]),
                              std::atoi(a[2]), nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 1;
  Out("hwnd").Handle(hwnd);
  MSG msg;
  while (IsWindow(hwnd) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

int ComboItems(char **a, int) {
  const HWND combo = ParseHwnd(a[0]);
  const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  if (count == CB_ERR) return 1;
  for (LRESULT i = 0; i < count; ++i) {
    // In wide characters: Wine hands another process only the first
    // character of an ANSI entry longer than one.
    wchar_t item[256] = L"";
    if (SendMessageW(combo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof item / sizeof item[0]))
      SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    Out("item").Utf8(item);
  }
  return 0;
}

int Focus(char **a, int) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(ParseHwnd(a[0]), nullptr), &info)) return 1;
  Out("focus").Handle(info.hwndFocus);
  Out("foreground").Handle(GetForegroundWindow());
  return 0;
}

int Texts(char **a, int) {
  const HWND hwnd = ParseHwnd(a[0]);
  if (!IsWindow(hwnd)) return 1;
  EachWindow(hwnd, [](HWND child) {
    Out("child")
        .Text(ClassOf(child))
        .Text(TitleOf(child))
        .Handle(child)
        .Place(RectOf(child))
        .Flag(IsWindowEnabled(child))
        .Flag(IsWindowVisible(child));
  });
  return 0;
}

int Windows(char **a, int n) {
  std::vector<DWORD> pids;
  for (int i = 0; i < n; ++i) pids.push_back(Number(a[i]));
  const bool listed = EachWindow(nullptr, [&](HWND hwnd) {
    if (std::find(pids.begin(), pids.end(), PidOf(hwnd)) == pids.end() || !IsWindowVisible(hwnd)) return;
    Out("window")
        .Text(ClassOf(hwnd))
        .Handle(hwnd)
        .Place(RectOf(hwnd))
        .Code(static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)))
        .Code(static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
  });
  return listed ? 0 : 1;
}

// -- resources of another process ------------------------------------------------

// The base address of a module, by file name, in another process.
HMODULE RemoteModule(HANDLE process, const char *name) {
  HMODULE modules[1024];
  DWORD needed = 0;
  if (!EnumProcessModules(process, modules, sizeof modules, &needed)) return nullptr;
  for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 1024; ++i) {
    char base[MAX_PATH] = "";
    if (GetModuleBaseNameA(process, modules[i], base, MAX_PATH) && lstrcmpiA(base, name) == 0) return modules[i];
  }
  return nullptr;
}

// Runs `function` of `module` (loaded in this process too) in the other
// process; its exit code, or -1.
long long RunRemote(HANDLE process, HMODULE local, HMODULE remote, const char *function, void *argument) {
  const FARPROC here = GetProcAddress(local, function);
  if (!here || !remote) return -1;
  const auto there = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<UINT_PTR>(remote) + (reinterpret_cast<UINT_PTR>(here) - reinterpret_cast<UINT_PTR>(local)));
  HANDLE thread = CreateRemoteThread(process, nullptr, 0, there, argument, 0, nullptr);
  if (!thread) return -1;
  DWORD code = 0;
  const bool done = WaitForSingleObject(thread, 20000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  return done ? static_cast<long long>(code) : -1;
}

long long RemoteGdiCount(HANDLE process) {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  char *slash = std::strrchr(path, '\\');
  if (!slash) return -1;
  lstrcpyA(slash + 1, "brumalis-gdi-count.dll");
  HMODULE local = LoadLibraryA(path);
  if (!local) return -1;
  HMODULE counter = RemoteModule(process, "brumalis-gdi-count.dll");
  if (!counter) {
    const SIZE_T size = lstrlenA(path) + 1;
    void *text = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!text || !WriteProcessMemory(process, text, path, size, nullptr)) return -1;
    RunRemote(process, GetModuleHandleA("kernel32.dll"), RemoteModule(process, "kernel32.dll"), "LoadLibraryA", text);
    VirtualFreeEx(process, text, 0, MEM_RELEASE);
    counter = RemoteModule(process, "brumalis-gdi-count.dll");
  }
  return RunRemote(process, local, counter, "CountGdiObjects", nullptr);
}

int Resources(char **a, int) {
  const DWORD pid = Number(a[0]);
  HANDLE process = OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION | PROCESS_VM_OPERATION |
                                   PROCESS_VM_WRITE | PROCESS_VM_READ,
                               FALSE, pid);
  if (!process) return 1;
  unsigned long windows = 0;
  EachWindow(nullptr, [&](HWND top) {
    if (PidOf(top) != pid) return;
    ++windows;
    EachWindow(top, [&](HWND) { ++windows; });
  });
  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  Out("windows").Number(windows);
  Out("gdi").Number(RemoteGdiCount(process));
  Out("working_set_kb").Number(static_cast<long long>(memory.WorkingSetSize / 1024));
  Out("private_kb").Number(static_cast<long long>(memory.PagefileUsage / 1024));
  CloseHandle(process);
  return 0;
}

int Screen(char **, int) {
  HDC screen = GetDC(nullptr);
  Out("dpi").Number(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  Out("monitors").Number(GetSystemMetrics(SM_CMONITORS));
  DEVMODEA mode = {};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
  Out("hz").Number(mode.dmDisplayFrequency);
  return 0;
}

const char *OwnName() {
  static char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const char *name = std::strrchr(self, '\\');
  return name ? name + 1 : self;
}

std::wstring Wide(const std::string &bytes, UINT codePage = CP_ACP) {
  std::wstring out(bytes.size(), L'\0');
  out.resize(static_cast<std::size_t>(MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                          &out[0], static_cast<int>(out.size()))));
  return out;
}

// Text given as hexadecimal UTF-8, so that any name reaches the program.
std::wstring WideFromHexUtf8(const char *hex) { return Wide(FromHex(hex), CP_UTF8); }

int Version(char **a, int) {
  const std::wstring path = Wide(a[0]);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return 1;
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return 1;
  VS_FIXEDFILEINFO *fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void **>(&fixed), &length) || !fixed) return 1;
  const auto numbers = [](DWORD high, DWORD low) {
    return std::to_string(HIWORD(high)) + '.' + std::to_string(LOWORD(high)) + '.' + std::to_string(HIWORD(low)) + '.' +
           std::to_string(LOWORD(low));
  };
  Out("file_version").Word(numbers(fixed->dwFileVersionMS, fixed->dwFileVersionLS));
  Out("product_version").Word(numbers(fixed->dwProductVersionMS, fixed->dwProductVersionLS));
  Out("file_type").Number(fixed->dwFileType);
  struct Translation {
    WORD language, codePage;
  } *translations = nullptr;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void **>(&translations), &length))
    length = 0;
  static const wchar_t *const names[] = {L"CompanyName",    L"FileDescription",  L"FileVersion", L"InternalName",
                                         L"LegalCopyright", L"OriginalFilename", L"ProductName", L"ProductVersion"};
  for (UINT i = 0; i < length / sizeof *translations; ++i) {
    wchar_t block[16];
    wsprintfW(block, L"%04x%04x", translations[i].language, translations[i].codePage);
    for (const wchar_t *name : names) {
      const std::wstring query = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
      wchar_t *value = nullptr;
      UINT chars = 0;
      if (VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void **>(&value), &chars) && value)
        Out("string").Utf8(block).Utf8(name).Utf8(value);
    }
  }
  return 0;
}

int Registry(char **a, int) {
  const HKEY hive = std::strncmp(a[0], "HKLM\\", 5) == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  if (hive == HKEY_CURRENT_USER && std::strncmp(a[0], "HKCU\\", 5) != 0) return 2;
  const REGSAM sam = KEY_READ | (std::strcmp(a[1], "32") == 0 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY);
  HKEY opened = nullptr;
  if (RegOpenKeyExW(hive, Wide(a[0] + 5).c_str(), 0, sam, &opened) != ERROR_SUCCESS) return 1;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    BYTE value[4096];
    DWORD nameLength = 256, type = 0, bytes = sizeof value;
    if (RegEnumValueW(opened, i, name, &nameLength, nullptr, &type, value, &bytes) != ERROR_SUCCESS) break;
    const auto *text = reinterpret_cast<const wchar_t *>(value);
    if (type == REG_SZ || type == REG_EXPAND_SZ)
      Out("text_value").Utf8(name).Utf8(text, static_cast<int>(wcsnlen(text, bytes / sizeof(wchar_t))));
    else if (type == REG_DWORD)
      Out("number_value").Utf8(name).Number(*reinterpret_cast<const DWORD *>(value));
    else
      Out("other_value").Utf8(name).Number(type);
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256;
    if (RegEnumKeyExW(opened, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Out("key").Utf8(name);
  }
  RegCloseKey(opened);
  return 0;
}

int Icon(char **a, int) {
  const std::wstring path = Wide(a[0]);
  const UINT count = ExtractIconExW(path.c_str(), -1, nullptr, nullptr, 0);
  Out("icons").Number(count);
  HICON icon = nullptr;
  if (count == 0 || ExtractIconExW(path.c_str(), 0, &icon, nullptr, 1) != 1 || !icon) return 0;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 32, 32);
  HGDIOBJ old = SelectObject(dc, bitmap);
  DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
  for (int y : {1, 16, 30}) {
    const COLORREF c = GetPixel(dc, 16, y);
    Out("pixel").Number(y).Number(GetRValue(c)).Number(GetGValue(c)).Number(GetBValue(c));
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  DestroyIcon(icon);
  return 0;
}

// A message sent (not posted) and its result, as the system sends many.
int Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  const bool sent = SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  Out("result").Number(static_cast<long>(result));
  return sent ? 0 : 1;
}

// The system sends a window that registered for a power setting its new
// value in the receiver's memory, so it is written there.
int PowerSetting(char **a, int) {
  static const GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
  const HWND hwnd = ParseHwnd(a[0]);
  const DWORD value = Number(a[1]);
  POWERBROADCAST_SETTING setting = {kConsoleDisplayState, sizeof value, {0}};
  CopyMemory(setting.Data, &value, sizeof value);  // Data holds exactly one DWORD here
  const HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, PidOf(hwnd));
  if (!process) return 1;
  void *remote = VirtualAllocEx(process, nullptr, sizeof setting, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  // On the clock of Wine's trace timestamps, so that a trace can be timed from the send.
  Out("at_ms").Number(GetTickCount());
  const int rc = remote && WriteProcessMemory(process, remote, &setting, sizeof setting, nullptr)
                     ? Send(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(remote))
                     : 1;
  if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  return rc;
}

// WM_NCCREATE as any program may send it to any window: a creation
// structure of the sender's, naming that number as the object to create.
int SendCreation(char **a, int) {
  CREATESTRUCTA creation = {};
  creation.lpCreateParams = reinterpret_cast<void *>(static_cast<std::uintptr_t>(Signed(a[1])));
  creation.lpszName = "probe";
  creation.lpszClass = "probe";
  return Send(ParseHwnd(a[0]), WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&creation));
}

// As a user would, in wide characters whatever the code page.
int ChooseFile(char **a, int) {
  const HWND chooser = ParseHwnd(a[0]);
  constexpr int kFileNameBox = 0x47C;  // the file name combo box of the explorer-style dialog
  if (!SetDlgItemTextW(chooser, kFileNameBox, WideFromHexUtf8(a[1]).c_str())) return 1;
  return PostMessageW(chooser, WM_COMMAND, IDOK, 0) ? 0 : 1;
}

int ShortPath(char **a, int) {
  wchar_t shortPath[MAX_PATH] = {};
  if (!GetShortPathNameW(WideFromHexUtf8(a[0]).c_str(), shortPath, MAX_PATH)) return 1;
  Out("path").Utf8(shortPath);
  return 0;
}

// What a screen reader learns of a window's client object: the object
// itself is part 0, each simple element a part after it.
int Accessible(char **a, int n) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IAccessible *object = nullptr;
  const HRESULT hr = AccessibleObjectFromWindow(ParseHwnd(a[0]), static_cast<DWORD>(OBJID_CLIENT),
                                                __uuidof(IAccessible), reinterpret_cast<void **>(&object));
  if (FAILED(hr) || !object) return 1;
  LONG count = 0;
  object->get_accChildCount(&count);
  const auto numbered = [](LONG part) {
    VARIANT child = {};
    child.vt = VT_I4;
    child.lVal = part;
    return child;
  };
  for (LONG part = 0; part <= count; ++part) {
    const VARIANT child = numbered(part);
    VARIANT role = {}, state = {};
    BSTR name = nullptr, action = nullptr;
    object->get_accRole(child, &role);
    object->get_accState(child, &state);
    object->get_accName(child, &name);
    object->get_accDefaultAction(child, &action);
    Out("part")
        .Number(role.vt == VT_I4 ? role.lVal : -1L)
        .Code(state.vt == VT_I4 ? static_cast<unsigned long>(state.lVal) : 0UL)
        .Utf8(name, SysStringLen(name))
        .Utf8(action, SysStringLen(action));
    SysFreeString(name);
    SysFreeString(action);
  }
  const int rc = n > 2 && FAILED(object->accDoDefaultAction(numbered(std::atoi(a[2])))) ? 1 : 0;
  object->Release();
  return rc;
}

// As the accessibility settings switch it: through SystemParametersInfo, or
// where the system refuses that, in the user's stored flags. "on" keeps the
// colours the screen had, which "off" brings back.
int HighContrastSwitch(char **a, int) {
  static const struct {
    int index;
    const char *name;
    COLORREF colour;
  } kScheme[] = {{COLOR_BTNFACE, "face", RGB(0, 0, 0)},
                 {COLOR_BTNTEXT, "text", RGB(255, 255, 255)},
                 {COLOR_WINDOW, "window", RGB(0, 0, 0)},
                 {COLOR_WINDOWTEXT, "window_text", RGB(255, 255, 255)},
                 {COLOR_HIGHLIGHT, "highlight", RGB(128, 0, 128)},
                 {COLOR_HIGHLIGHTTEXT, "highlight_text", RGB(255, 255, 255)},
                 {COLOR_GRAYTEXT, "gray_text", RGB(0, 255, 0)},
                 {COLOR_BTNSHADOW, "shadow", RGB(128, 128, 128)},
                 {COLOR_BTNHIGHLIGHT, "light", RGB(255, 255, 255)}};
  constexpr int n = sizeof kScheme / sizeof kScheme[0];
  const bool on = std::strcmp(a[0], "on") == 0;
  int indexes[n];
  COLORREF colours[n];
  for (int i = 0; i < n; ++i) colours[i] = GetSysColor(indexes[i] = kScheme[i].index);
  const wchar_t *const saved = L"Software\\Brumalis Probe";
  HIGHCONTRASTW state = {};
  state.cbSize = sizeof state;
  state.dwFlags = HCF_AVAILABLE | (on ? HCF_HIGHCONTRASTON : 0);
  if (!SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof state, &state, SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)) {
    const wchar_t *flags = on ? L"127" : L"126";
    if (RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Accessibility\\HighContrast", L"Flags", REG_SZ, flags,
                        static_cast<DWORD>((lstrlenW(flags) + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
      return 1;
  }
  if (on) {
    RegSetKeyValueW(HKEY_CURRENT_USER, saved, L"Colours", REG_BINARY, colours, sizeof colours);
    for (int i = 0; i < n; ++i) {
      const COLORREF c = colours[i] = kScheme[i].colour;
      Out("colour").Word(kScheme[i].name).Number(GetRValue(c)).Number(GetGValue(c)).Number(GetBValue(c));
    }
  } else {
    DWORD size = sizeof colours;
    const LSTATUS read = RegGetValueW(HKEY_CURRENT_USER, saved, L"Colours", RRF_RT_REG_BINARY, nullptr, colours, &size);
    if (read != ERROR_SUCCESS || size != sizeof colours) return 1;
  }
  if (!SetSysColors(n, indexes, colours)) return 1;
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0, SMTO_ABORTIFHUNG, 2000, &ignored);
  return 0;
}

// One line each (event code, window, object, child); "ready" says the hook
// is in place.
void CALLBACK PrintEvent(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  Out("event").Code(event).Handle(hwnd).Number(object).Number(child);
}

int WatchEvents(char **a, int) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_NAMECHANGE, nullptr, PrintEvent, Number(a[0]),
                                       0, WINEVENT_OUTOFCONTEXT);
  if (!hook) return 1;
  Out("ready").Flag(true);
  const DWORD end = GetTickCount() + Number(a[1]);
  for (DWORD now = GetTickCount(); static_cast<LONG>(end - now) > 0; now = GetTickCount()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  UnhookWinEvent(hook);
  return 0;
}

// A pipe server that another user might run: it counts who connects.
int ListenPipe(char **a, int) {
  const std::string path = std::string("\\\\.\\pipe\\") + a[0];
  unsigned long clients = 0;
  for (bool ready = false;; ready = true) {
    HANDLE pipe = CreateNamedPipeA(path.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                   PIPE_UNLIMITED_INSTANCES, 4096, 4096, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) return 1;
    if (!ready) Out("ready").Flag(true);
    if (ConnectNamedPipe(pipe, nullptr) || GetLastError() == ERROR_PIPE_CONNECTED) Out("client").Number(++clients);
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
  }
}

// As another program (or, with its entropy, this one) would protect it.
int Seal(char **a, int) {
  const std::wstring text = WideFromHexUtf8(a[0]);
  std::string entropyBytes = FromHex(a[1]);
  DATA_BLOB in = {static_cast<DWORD>(text.size() * sizeof(wchar_t)),
                  reinterpret_cast<BYTE *>(const_cast<wchar_t *>(text.data()))};
  DATA_BLOB entropy = {static_cast<DWORD>(entropyBytes.size()), reinterpret_cast<BYTE *>(&entropyBytes[0])};
  DATA_BLOB out = {};
  if (!CryptProtectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) return 1;
  Out("sealed").Text(std::string(reinterpret_cast<const char *>(out.pbData), out.cbData));
  LocalFree(out.pbData);
  Out("user").Utf8(Win32UserSeal().User().c_str());
  return 0;
}

int Trust(char **a, int) {
  Win32UserSeal seal;
  const std::wstring text = SealText(seal, WideFromHexUtf8(a[0]));
  if (text.empty()) return 1;
  Out("user").Utf8(seal.User().c_str());
  Out("seal_text").Utf8(text.c_str());
  return 0;
}

int Alive(char **a, int) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, Number(a[0]));
  Out("alive").Flag(process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT);
  if (process) CloseHandle(process);
  return 0;
}

// A command: its name, how many arguments it takes (fewest to most), what
// they are and what it does, and the function that does it with them.
struct Command {
  const char *name;
  int fewest, most;
  const char *arguments, *does;
  int (*run)(char **args, int count);
};

const Command kCommands[] = {
    {"find", 3, 5, "CLASS TITLE TIMEOUT_MS [visible] [except=PID]",
     "wait for a top-level window, with \"visible\" until it is shown, not of process PID; describe it", Find},
    {"info", 1, 1, "HWND", "describe a window", [](char **a, int) { return Describe(ParseHwnd(a[0])) ? 0 : 1; }},
    {"desktop", 0, 0, "", "describe the desktop window",
     [](char **, int) { return Describe(GetDesktopWindow()) ? 0 : 1; }},
    {"gone", 2, 2, "HWND TIMEOUT_MS", "wait until the window no longer exists", Gone},
    {"wait-title", 3, 3, "HWND PREFIX TIMEOUT_MS", "wait until the window's title starts with PREFIX; print it",
     WaitTitle},
    {"key", 2, 3, "HWND VK [COUNT]", "post COUNT key-downs (all but the first as repeats) and a key-up", Key},
    {"close", 1, 1, "HWND", "post WM_CLOSE",
     [](char **a, int) { return PostMessageA(ParseHwnd(a[0]), WM_CLOSE, 0, 0) ? 0 : 1; }},
    {"mouse", 1, 1, "HWND", "post pointer moves and clicks", Mouse},
    {"click", 3, 3, "HWND X Y", "post a move and a left click at a client point",
     [](char **a, int) { return PostPointer(ParseHwnd(a[0]), std::atoi(a[1]), std::atoi(a[2]), {WM_LBUTTONDOWN}); }},
    {"move", 3, 3, "HWND X Y", "post a pointer move to a client point",
     [](char **a, int) { return PostPointer(ParseHwnd(a[0]), std::atoi(a[1]), std::atoi(a[2]), {}); }},
    {"window", 3, 5, "TITLE_HEX W H [X Y]",
     "make a grey window with that ANSI title (at 100, 100 unless told), print its handle, and live until it "
     "is closed",
     Window},
    {"child", 2, 2, "PARENT TIMEOUT_MS", "wait for the first child window to be shown and describe it", Child},
    {"texts", 1, 1, "HWND", "class, text, place and state of each child window", Texts},
    {"combo-items", 1, 1, "HWND", "the entries of a combo box's list (UTF-8)", ComboItems},
    {"lock", 1, 1, "PATH",
     "hold a file open for writing, as a program still writing it does (others may read it only if they let "
     "it write); print locked=1 and hold it until killed",
     Lock},
    {"resources", 1, 1, "PID",
     "that process's windows, GDI objects (counted inside it by brumalis-gdi-count.dll) and memory", Resources},
    {"focus", 1, 1, "HWND", "the window that has the focus in that window's thread, and the foreground window", Focus},
    {"refresh", 0, 0, "", "the same as screen", Screen},
    {"version", 1, 1, "FILE",
     "the file's version resource, as GetFileVersionInfo reads it: fixed numbers and every string", Version},
    {"reg", 2, 2, "KEY 32|64",
     "the values and subkeys of a registry key (HKCU\\... or HKLM\\...) in that registry view", Registry},
    {"icon", 1, 1, "FILE", "how many icons the file has, and colours of the first one drawn at 32 x 32", Icon},
    {"screen", 0, 0, "", "the screen's DPI, its monitors and the primary display's refresh rate (EnumDisplaySettings)",
     Screen},
    {"power-setting", 2, 2, "HWND VALUE",
     "send the display-state power setting VALUE (0 off, 1 on, 2 dimmed) as the system does; print the tick count "
     "at the send",
     PowerSetting},
    {"send", 4, 4, "HWND MESSAGE WPARAM LPARAM", "send a message (numbers, signed where negative); print its result",
     [](char **a, int) { return Send(ParseHwnd(a[0]), Number(a[1]), Signed(a[2]), Signed(a[3])); }},
    {"nccreate", 2, 2, "HWND PARAMETER",
     "send WM_NCCREATE with a creation structure whose creation parameter is that number; print its result",
     SendCreation},
    {"show", 2, 2, "HWND SW", "ShowWindow with that command (6 minimise, 9 restore)",
     [](char **a, int) {
       ShowWindow(ParseHwnd(a[0]), std::atoi(a[1]));
       return 0;
     }},
    {"choose-file", 2, 2, "DIALOG NAME_HEX_UTF8", "type a file name into an open-file dialog and choose Open",
     ChooseFile},
    {"short-path", 1, 1, "PATH_HEX_UTF8", "the path's short (8.3) form, as GetShortPathNameW gives it", ShortPath},
    {"accessible", 1, 3, "HWND [do PART]",
     "role, state, name and default action of the window's accessible object and its parts; with \"do\", "
     "carry out a part's default action",
     Accessible},
    {"events", 2, 2, "PID TIMEOUT_MS", "print the focus, state and name events of that process's objects", WatchEvents},
    {"high-contrast", 1, 1, "on|off",
     "switch high contrast, with a black scheme while it is on whose colours it prints by name", HighContrastSwitch},
    {"pipe", 1, 1, "NAME",
     "listen on \\\\.\\pipe\\NAME as any program may; print ready=1, then client=N as each client connects, "
     "until killed",
     ListenPipe},
    {"seal", 2, 2, "TEXT_HEX_UTF8 ENTROPY_HEX",
     "the text protected for this user with that entropy (CryptProtectData), and the user's SID", Seal},
    {"trust", 1, 1, "PATH_HEX_UTF8",
     "this user's seal of the path, as the settings dialog keeps it, and the user's SID", Trust},
    {"alive", 1, 1, "PID", "whether that process still runs: alive=1 or alive=0", Alive},
    {"windows", 1, INT_MAX, "PID...",
     "every shown top-level window of those processes, from the top of the Z order down", Windows},
};

int Usage() {
  std::fprintf(stderr, "brumalis-probe COMMAND [ARGUMENT...]\n");
  for (const Command &command : kCommands)
    std::fprintf(stderr, "  %s%s%s\n      %s\n", command.name, *command.arguments ? " " : "", command.arguments,
                 command.does);
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  if (lstrcmpiA(OwnName(), "brumalis-probe.exe") != 0) return StandIn(OwnName());
  if (argc < 2) return Usage();
  for (const Command &command : kCommands) {
    const int count = argc - 2;
    if (std::strcmp(argv[1], command.name) == 0)
      return count >= command.fewest && count <= command.most ? command.run(argv + 2, count) : Usage();
  }
  return Usage();
}
