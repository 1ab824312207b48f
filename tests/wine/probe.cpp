// A small Windows program that the end-to-end tests run beside the programs
// under test, to look at their windows and talk to them the way the system
// and other programs do. One command per run; results as key=value lines.
//
//   find CLASS TITLE TIMEOUT_MS [visible] [except=PID]
//                                    wait for a top-level window ("-" = any),
//                                    and with "visible" until it is shown
//   info HWND                        describe a window
//   desktop                          describe the desktop window
//   gone HWND TIMEOUT_MS             wait until the window no longer exists
//   wait-title HWND PREFIX TIMEOUT_MS
//   key HWND VK [COUNT]              post key-down/key-up pairs
//   close HWND                       post WM_CLOSE
//   mouse HWND                       post pointer moves and clicks
//   run TIMEOUT_MS PROGRAM [ARGS]    start a program, wait, print its exit code
//   window TITLE_HEX W H             make a window with that ANSI title, print
//                                    its handle, and live until it is closed
//   child PARENT TIMEOUT_MS          wait for the first child window to be shown
//                                    and describe it
//   texts HWND                       class, text, place and state of each child window
//   combo-items HWND                 the entries of a combo box's list
//   focus HWND                       the window that has the focus in that window's thread
//   refresh                          the primary display's refresh rate, as
//                                    EnumDisplaySettings reports it
//
// Copied under another name it stands in for other programs, as the tests
// place it: as brumalis-browser.exe it is the web browser and notes the
// address it was asked to open; as Brumalis.dll, with BRUMALIS_FAKE_RENDERER_DELAY_MS set it is a renderer whose
// window appears only after that delay; named Program.exe it is the program a
// careless start of "C:\Program Files\..." would run, and leaves a mark.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND ParseHwnd(const char *text) {
  return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(std::strtoull(text, nullptr, 0)));
}

std::string Hex(const std::string &bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

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

void Describe(HWND hwnd) {
  RECT r = {}, client = {};
  GetWindowRect(hwnd, &r);
  GetClientRect(hwnd, &client);
  char cls[256] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  std::printf("hwnd=0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hwnd)));
  std::printf("pid=%lu\n", static_cast<unsigned long>(pid));
  std::printf("class=%s\n", cls);
  std::printf("title_hex=%s\n", Hex(TitleOf(hwnd)).c_str());
  std::printf("x=%ld\ny=%ld\nw=%ld\nh=%ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::printf("client_w=%ld\nclient_h=%ld\n", client.right, client.bottom);
  std::printf("style=0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)));
  std::printf("exstyle=0x%08lx\n", static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
  std::printf("visible=%d\n", IsWindowVisible(hwnd) ? 1 : 0);
  std::printf("enabled=%d\n", IsWindowEnabled(hwnd) ? 1 : 0);
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  std::printf("client_x=%ld\nclient_y=%ld\n", origin.x, origin.y);
  HWND parent = GetAncestor(hwnd, GA_PARENT);
  std::printf("parent=0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(parent)));
}

const char *OrNull(const char *text) { return std::strcmp(text, "-") == 0 ? nullptr : text; }

// The first top-level window of that class and title, shown if asked for,
// that does not belong to the process `except` (0: any process).
int Find(const char *cls, const char *title, DWORD timeout, bool visible, DWORD except) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (HWND hwnd = FindWindowExA(nullptr, nullptr, OrNull(cls), OrNull(title)); hwnd;
         hwnd = FindWindowExA(nullptr, hwnd, OrNull(cls), OrNull(title))) {
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      if ((!visible || IsWindowVisible(hwnd)) && (except == 0 || pid != except)) {
        Describe(hwnd);
        return 0;
      }
    }
    if (GetTickCount() - start > timeout) return 1;
    Sleep(20);
  }
}

int Gone(HWND hwnd, DWORD timeout) {
  const DWORD start = GetTickCount();
  while (IsWindow(hwnd)) {
    if (GetTickCount() - start > timeout) return 1;
    Sleep(20);
  }
  return 0;
}

int WaitTitle(HWND hwnd, const char *prefix, DWORD timeout) {
  const DWORD start = GetTickCount();
  for (;;) {
    const std::string title = TitleOf(hwnd);
    if (title.compare(0, std::strlen(prefix), prefix) == 0) {
      std::printf("title_hex=%s\n", Hex(title).c_str());
      return 0;
    }
    if (!IsWindow(hwnd) || GetTickCount() - start > timeout) return 1;
    Sleep(20);
  }
}

int Key(HWND hwnd, UINT vk, int count) {
  const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC);
  for (int i = 0; i < count; ++i) {
    // Auto-repeat after the first press: bit 30 says the key was already down.
    const LPARAM down = 1 | (scan << 16) | (i > 0 ? (1u << 30) : 0);
    if (!PostMessageA(hwnd, WM_KEYDOWN, vk, down)) return 1;
  }
  PostMessageA(hwnd, WM_KEYUP, vk, 1 | (scan << 16) | (1u << 30) | (1u << 31));
  return 0;
}

int Mouse(HWND hwnd) {
  for (int i = 0; i < 20; ++i) PostMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(10 + i * 7, 20 + i * 5));
  const UINT clicks[][2] = {{WM_LBUTTONDOWN, WM_LBUTTONUP}, {WM_RBUTTONDOWN, WM_RBUTTONUP},
                            {WM_MBUTTONDOWN, WM_MBUTTONUP}};
  for (const auto &c : clicks) {
    PostMessageA(hwnd, c[0], 0, MAKELPARAM(100, 100));
    PostMessageA(hwnd, c[1], 0, MAKELPARAM(100, 100));
  }
  return 0;
}

int Run(DWORD timeout, int argc, char **argv) {
  std::string cmd;
  for (int i = 0; i < argc; ++i) {
    if (i) cmd += ' ';
    cmd += '"';
    cmd += argv[i];
    cmd += '"';
  }
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(argv[0], &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("error=%lu\n", GetLastError());
    return 1;
  }
  std::printf("pid=%lu\n", pi.dwProcessId);
  std::fflush(stdout);
  if (WaitForSingleObject(pi.hProcess, timeout) != WAIT_OBJECT_0) {
    std::printf("timeout=1\n");
    return 1;
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  std::printf("exit=%lu\n", code);
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

int Window(const char *titleHex, int width, int height) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = "BrumalisProbeWindow";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, wc.lpszClassName, FromHex(titleHex).c_str(), WS_POPUP | WS_VISIBLE,
                              100, 100, width, height, nullptr, nullptr, wc.hInstance, nullptr);
  if (!hwnd) return 1;
  std::printf("hwnd=0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(hwnd)));
  std::fflush(stdout);
  MSG msg;
  while (IsWindow(hwnd) && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

int Child(HWND parent, DWORD timeout) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND child = GetWindow(parent, GW_CHILD);
    if (child && IsWindowVisible(child)) {
      Describe(child);
      return 0;
    }
    if (!IsWindow(parent) || GetTickCount() - start > timeout) return 1;
    Sleep(20);
  }
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
  char cls[256] = "";
  GetClassNameA(child, cls, sizeof cls);
  RECT r = {};
  GetWindowRect(child, &r);
  std::printf("child=%s:%s:0x%llx:%ld:%ld:%ld:%ld:%d:%d\n", cls, Hex(TitleOf(child)).c_str(),
              static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(child)), r.left, r.top,
              r.right - r.left, r.bottom - r.top, IsWindowEnabled(child) ? 1 : 0, IsWindowVisible(child) ? 1 : 0);
  return TRUE;
}

int ComboItems(HWND combo) {
  const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
  if (count == CB_ERR) return 1;
  std::printf("count=%ld\n", static_cast<long>(count));
  for (LRESULT i = 0; i < count; ++i) {
    char item[256] = "";
    if (SendMessageA(combo, CB_GETLBTEXTLEN, i, 0) < static_cast<LRESULT>(sizeof item))
      SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
    std::printf("item%ld=%s\n", static_cast<long>(i), Hex(item).c_str());
  }
  return 0;
}

int Focus(HWND hwnd) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info)) return 1;
  std::printf("focus=0x%llx\n", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(info.hwndFocus)));
  return 0;
}

int Texts(HWND hwnd) {
  if (!IsWindow(hwnd)) return 1;
  EnumChildWindows(hwnd, PrintChild, 0);
  return 0;
}

int FakeRenderer(DWORD delay) {
  Sleep(delay);
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "Caliguna";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowExA(0, "Caliguna", "Caliguna", WS_POPUP | WS_VISIBLE, 0, 0, 64, 48, nullptr,
                              nullptr, wc.hInstance, nullptr);
  MSG msg;
  while (IsWindow(hwnd) && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}

const char *OwnName() {
  static char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const char *name = std::strrchr(self, '\\');
  return name ? name + 1 : self;
}

void Mark(const char *path, const char *text) {
  HANDLE mark = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(mark, text, lstrlenA(text), &written, nullptr);
  CloseHandle(mark);
}

int StandIn() {
  if (lstrcmpiA(OwnName(), "brumalis-browser.exe") == 0) {
    Mark("C:\\browser-opened.txt", GetCommandLineA());
    return 0;
  }
  if (lstrcmpiA(OwnName(), "Program.exe") == 0) {
    Mark("C:\\impostor-ran.txt", GetCommandLineA());
    return 0;
  }
  if (const char *delay = std::getenv("BRUMALIS_FAKE_RENDERER_DELAY_MS"))
    return FakeRenderer(std::strtoul(delay, nullptr, 0));
  if (const char *delay = std::getenv("BRUMALIS_FAKE_RENDERER_EXIT_MS")) {
    Sleep(std::strtoul(delay, nullptr, 0));  // a renderer that ends without a window
    return 0;
  }
  return 2;
}

}  // namespace

int main(int argc, char **argv) {
  if (lstrcmpiA(OwnName(), "brumalis-probe.exe") != 0) return StandIn();
  if (argc < 2) return 2;
  const std::string cmd = argv[1];
  if (cmd == "find" && argc >= 5 && argc <= 7) {
    bool visible = false;
    DWORD except = 0;
    for (int i = 5; i < argc; ++i) {
      if (std::strcmp(argv[i], "visible") == 0) visible = true;
      if (std::strncmp(argv[i], "except=", 7) == 0) except = std::strtoul(argv[i] + 7, nullptr, 0);
    }
    return Find(argv[2], argv[3], std::strtoul(argv[4], nullptr, 0), visible, except);
  }
  if (cmd == "desktop" && argc == 2) {
    Describe(GetDesktopWindow());
    return 0;
  }
  if (cmd == "info" && argc == 3) {
    HWND hwnd = ParseHwnd(argv[2]);
    if (!IsWindow(hwnd)) return 1;
    Describe(hwnd);
    return 0;
  }
  if (cmd == "gone" && argc == 4) return Gone(ParseHwnd(argv[2]), std::strtoul(argv[3], nullptr, 0));
  if (cmd == "wait-title" && argc == 5)
    return WaitTitle(ParseHwnd(argv[2]), argv[3], std::strtoul(argv[4], nullptr, 0));
  if (cmd == "key" && (argc == 4 || argc == 5))
    return Key(ParseHwnd(argv[2]), std::strtoul(argv[3], nullptr, 0), argc == 5 ? std::atoi(argv[4]) : 1);
  if (cmd == "close" && argc == 3) return PostMessageA(ParseHwnd(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
  if (cmd == "mouse" && argc == 3) return Mouse(ParseHwnd(argv[2]));
  if (cmd == "window" && argc == 5) return Window(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  if (cmd == "child" && argc == 4) return Child(ParseHwnd(argv[2]), std::strtoul(argv[3], nullptr, 0));
  if (cmd == "texts" && argc == 3) return Texts(ParseHwnd(argv[2]));
  if (cmd == "combo-items" && argc == 3) return ComboItems(ParseHwnd(argv[2]));
  if (cmd == "focus" && argc == 3) return Focus(ParseHwnd(argv[2]));
  if (cmd == "refresh" && argc == 2) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode)) return 1;
    std::printf("hz=%lu\n", static_cast<unsigned long>(mode.dmDisplayFrequency));
    return 0;
  }
  if (cmd == "run" && argc >= 4) return Run(std::strtoul(argv[2], nullptr, 0), argc - 3, argv + 3);
  return 2;
}
