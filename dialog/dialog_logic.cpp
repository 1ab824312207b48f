#include "dialog_logic.h"

#include "numbers.h"
#include "path_trust.h"
#include "settings_file.h"

SourceView ViewOfSource(int kind) {
  SourceView view = {{kind == 0, kind == 1, kind == 2}, kind == 1, kind == 2};
  return view;
}

std::wstring FormatTrack(long value) { return value == 0 ? std::wstring() : std::to_wstring(value); }

std::int16_t TrackFromText(const std::wstring &text) {
  const auto number = ParseNumber(text);
  if (!number) return 0;
  return RoundToInt16(*number).value_or(0);
}

BannerStep BannerTick(int frame) {
  ++frame;
  if (frame >= 1 && frame <= kBannerFrames) return {frame, frame, 0};
  if (frame > kBannerFrames && frame <= 2 * kBannerFrames) return {frame, 0, frame - kBannerFrames};
  return {0, 0, 0};
}

DialogPlace PlaceDialog(long screenWidth, long screenHeight, long dialogWidth, long dialogHeight) {
  return {(screenWidth - dialogWidth) / 2, (screenHeight - dialogHeight) / 3};
}

StoredName NameToStore(const std::wstring &chosen, const std::function<AnsiForm(const std::wstring &)> &ansiFormOf,
                       const std::function<std::wstring(const std::wstring &)> &shortPathOf) {
  bool tooLong = false;  // some form survived the code page, but would come back cut
  const auto keeps = [&](const std::wstring &path) {
    if (path.empty()) return false;
    const AnsiForm form = ansiFormOf(path);
    if (!form.roundTrips) return false;
    if (form.bytes < kIniValueBytes) return true;
    tooLong = true;
    return false;
  };
  if (keeps(chosen)) return {StoredNameKind::AsChosen, chosen};
  const std::wstring shortPath = chosen.empty() ? std::wstring() : shortPathOf(chosen);
  if (keeps(shortPath)) return {StoredNameKind::ShortPath, shortPath};
  return {StoredNameKind::None, {}, tooLong};
}

ApplyTrust TrustOnApply(const std::wstring &path, int kind, bool unsealedFromFile, bool browsed) {
  if (path.empty() || !NeedsSeal(FormOf(path))) return ApplyTrust::Unseal;
  if (browsed || !unsealedFromFile) return ApplyTrust::Seal;
  return kind == 2 ? ApplyTrust::Ask : ApplyTrust::Unseal;  // 2: the file source
}

namespace {
constexpr int kSourceOrder[3] = {1, 0, 2};  // kinds, top to bottom

int PlaceOf(int kind) {
  for (int place = 0; place < 3; ++place)
    if (kSourceOrder[place] == kind) return place;
  return -1;
}
}  // namespace

int GroupFocusFor(int kind) { return PlaceOf(kind) < 0 ? kSourceOrder[0] : kind; }

int SourceAfterArrow(int focused, bool down) {
  const int place = PlaceOf(GroupFocusFor(focused));
  return kSourceOrder[(place + (down ? 1 : 2)) % 3];
}
