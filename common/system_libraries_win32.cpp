#include "system_libraries_win32.h"

#include <windows.h>
#include <delayimp.h>

// The linker's name for this program's own image.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// The library of that name (ASCII, from this program's own import table)
// from the system folder, by its full path, whose own imports are then
// looked for in that folder first; null where it is not there.
HMODULE LoadFromTheSystemFolder(const char *name) {
  wchar_t path[MAX_PATH + 64];
  const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
  if (folder == 0 || folder >= MAX_PATH) return nullptr;
  UINT at = folder;
  path[at++] = L'\\';
  for (const char *c = name; *c; ++c) {
    if (at + 1 >= sizeof path / sizeof path[0]) return nullptr;
    path[at++] = static_cast<wchar_t>(static_cast<unsigned char>(*c));
  }
  path[at] = L'\0';
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename T>
T *At(RVA rva) {
  return reinterpret_cast<T *>(reinterpret_cast<char *>(&__ImageBase) + rva);
}

}  // namespace

// The first call of a delay-imported function comes here, through the
// toolchain's thunk, with the library's descriptor and the function's slot:
// the library is loaded from the system folder (never by its bare name,
// which the usual search would look for in this program's folder first),
// the function looked up and written into its slot. Where either is missing
// the program ends with the error a missing delay import raises.
extern "C" FARPROC WINAPI BrumalisResolveDelayImport(PCImgDelayDescr library, FARPROC *slot) {
  auto *handle = At<HMODULE>(library->rvaHmod);
  if (!*handle) *handle = LoadFromTheSystemFolder(At<const char>(library->rvaDLLName));
  FARPROC function = nullptr;
  if (*handle) {
    const auto index = slot - At<FARPROC>(library->rvaIAT);
    const IMAGE_THUNK_DATA &entry = At<IMAGE_THUNK_DATA>(library->rvaINT)[index];
    const char *name = IMAGE_SNAP_BY_ORDINAL(entry.u1.Ordinal)
                           ? MAKEINTRESOURCEA(IMAGE_ORDINAL(entry.u1.Ordinal))
                           : At<IMAGE_IMPORT_BY_NAME>(static_cast<RVA>(entry.u1.AddressOfData))->Name;
    function = GetProcAddress(*handle, name);
  }
  if (!function) {
    const DWORD error = *handle ? ERROR_PROC_NOT_FOUND : ERROR_MOD_NOT_FOUND;
    RaiseException(VcppException(ERROR_SEVERITY_ERROR, error), 0, 0, nullptr);
  }
  *slot = function;
  return function;
}

#if defined(__x86_64__)
// The 64-bit thunk keeps the integer argument registers of the call it
// stands in for, not the floating-point ones (glClearColor's colour came out
// as noise): they are kept here, around the look-up.
asm(R"(
    .text
    .globl __delayLoadHelper2
    .def __delayLoadHelper2; .scl 2; .type 32; .endef
    .seh_proc __delayLoadHelper2
__delayLoadHelper2:
    subq $0x68, %rsp
    .seh_stackalloc 0x68
    .seh_endprologue
    movdqa %xmm0, 0x20(%rsp)
    movdqa %xmm1, 0x30(%rsp)
    movdqa %xmm2, 0x40(%rsp)
    movdqa %xmm3, 0x50(%rsp)
    call BrumalisResolveDelayImport
    movdqa 0x20(%rsp), %xmm0
    movdqa 0x30(%rsp), %xmm1
    movdqa 0x40(%rsp), %xmm2
    movdqa 0x50(%rsp), %xmm3
    addq $0x68, %rsp
    ret
    .seh_endproc
)");
#else
// The 32-bit thunk passes every argument on the stack, which the look-up
// leaves alone.
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr library, FARPROC *slot) {
  return BrumalisResolveDelayImport(library, slot);
}
#endif

void LoadLibrariesFromTheSystemFolderOnly() {
  using SetDirectories = BOOL(WINAPI *)(DWORD);
  const auto setDirectories = reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDirectories) setDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
