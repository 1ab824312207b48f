// Loading the music choice from any settings file: the three keys (and for a
// path beyond the drive roots this user's seal) are read and nothing is
// written, a music file is kept only when it exists and this user may open
// it, the file browser's folder is the file's or the program's, and a music
// file source always has a file. Folder and existence rules hold for any
// path.
//
// Input lines: the stored BgmKind, BgmRepeat and BgmFile values, this user's
// seal, then the paths of the files that exist.
#include <string>

#include "fuzz_text.h"
#include "memory_profile.h"
#include "settings.h"

namespace {

const std::wstring kProgramFolder = L"C:\\Program Files\\Brumalis";

void CheckPath(const std::wstring &path, const MemoryFiles &existing) {
  // The folder is the path up to its last separator; the name after it has none.
  const std::wstring folder = FolderOf(path);
  FUZZ_CHECK(StartsWith(path, folder));
  std::wstring name = path.substr(folder.size());
  if (!name.empty() && name[0] == L'\\') name.erase(0, 1);
  FUZZ_CHECK(name.find_first_of(L":\\") == std::wstring::npos);
  if (!folder.empty()) FUZZ_CHECK(path.size() > folder.size() || folder.back() == L':');

  // One trailing backslash is ignored; nothing else of the path changes.
  MemoryFiles files = existing;
  files.asked.clear();
  const bool exists = FileExists(files, path);
  FUZZ_CHECK(files.asked.size() <= 1);
  if (files.asked.empty()) {
    FUZZ_CHECK(!exists && (path.empty() || path == L"\\"));
  } else {
    const std::wstring &asked = files.asked[0];
    FUZZ_CHECK(!asked.empty());
    FUZZ_CHECK(asked == path || (asked + L"\\" == path));
    FUZZ_CHECK(exists == (files.files.count(asked) > 0));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  std::vector<std::wstring> lines = LinesFromBytes(data, size);
  lines.resize(std::max<std::size_t>(lines.size(), 4));
  MemoryProfile store;
  store.Set(kKeyBgmKind, lines[0]);
  store.Set(kKeyBgmRepeat, lines[1]);
  store.Set(kKeyBgmFile, lines[2]);
  MemorySeal seal(L"S-1-5-21-1-2-3-1001");
  store.Set(SealKeyOf(seal.user), lines[3]);
  MemoryFiles files;
  for (std::size_t i = 4; i < lines.size(); ++i) files.files.insert(lines[i]);
  // The file's values are read cut to 255 characters.
  const std::wstring stored = lines[2].substr(0, kIniValueBytes - 1);
  const PathForm form = FormOf(stored);
  const bool sealed = SealedForUser(store, seal, stored);
  store.reads.clear();

  // What a previous load left behind.
  MusicSettings music;
  music.BgmKind = kBgmFile;
  music.BgmRepeat = 7;
  music.BgmFile = L"C:\\old.mp3";
  music.BgmFolder = L"C:\\";
  const LoadFor purpose = size % 2 ? LoadFor::Dialog : LoadFor::Run;
  LoadSettings(store, files, seal, kProgramFolder, purpose, music);

  FUZZ_CHECK(store.writes.empty());
  std::vector<std::wstring> reads = {kKeyBgmKind, kKeyBgmRepeat, kKeyBgmFile};
  if (!stored.empty() && NeedsSeal(form)) reads.push_back(SealKeyOf(seal.user));
  FUZZ_CHECK(store.reads == reads);
  FUZZ_CHECK(music.BgmFile.empty() || music.BgmFile == stored);
  if (music.BgmFileUnsealed) {
    // Shown as stored and never opened: only in the dialog, only a path nobody sealed here, never a device.
    FUZZ_CHECK(purpose == LoadFor::Dialog && form != PathForm::Device && !sealed && !music.BgmFile.empty());
    FUZZ_CHECK(files.asked.empty());
  } else if (!music.BgmFile.empty()) {
    FUZZ_CHECK(MayOpen(form, sealed));
    FUZZ_CHECK(FileExists(files, music.BgmFile));
  }
  if (!MayOpen(form, sealed)) FUZZ_CHECK(files.asked.empty());
  FUZZ_CHECK(music.BgmFolder ==
             (music.BgmFile.empty() || music.BgmFileUnsealed ? kProgramFolder : FolderOf(music.BgmFile)));
  FUZZ_CHECK(music.BgmKind != kBgmFile || !music.BgmFile.empty());
  // Empty values read as 0.
  if (lines[0].empty()) FUZZ_CHECK(music.BgmKind == 0);
  if (lines[1].empty()) FUZZ_CHECK(music.BgmRepeat == 0);

  for (const std::wstring &line : lines) CheckPath(line, files);
  return 0;
}
