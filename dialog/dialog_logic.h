// The rules of the settings dialog, apart from its windows: which option
// mark is chosen and which control is enabled for a music source, the track
// text, the banner's frame sequence and where the dialog opens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "shared_names.h"

// What the dialog shows for a music source (0 none, 1 CD, 2 file).
struct SourceView {
  bool markChosen[3];  // the option marks, by source index
  bool trackBoxEnabled;
  bool browseEnabled;
};
SourceView ViewOfSource(int kind);

// A number in the "##" pattern: empty for 0, otherwise its decimal digits.
std::wstring FormatTrack(long value);

// The track to store for the text of the track box: a number rounded to the
// nearest integer, ties to even; anything else, or a number beyond 16 bits, 0.
std::int16_t TrackFromText(const std::wstring &text);

// One tick of the banner: the left box plays its frames from 1 to kBannerFrames,
// then the right box plays them, then one tick shows nothing new.
struct BannerStep {
  int frame;        // the tick counter after the tick
  int leftFrame;    // frame to show in the left box (0: none), which clears the right box
  int rightFrame;   // frame to show in the right box (0: none), which clears the left box
};
BannerStep BannerTick(int frame);

// Where the dialog opens: centred across the screen, a third of the free
// height below the top; all in twips, with integer division.
struct DialogPlace {
  long left, top;
};
DialogPlace PlaceDialog(long screenWidth, long screenHeight, long dialogWidth, long dialogHeight);

// How a file chosen through the file dialog is kept in the settings file,
// which holds its text in the ANSI code page: as chosen where the path
// survives that; else by its short (8.3) path, plain ASCII that opens the
// same file; else not at all, and the previous choice stays. A path that
// would come back cut (a value longer than the file keeps) does not survive;
// the user is told which of the two kept it out.
struct AnsiForm {
  bool roundTrips;     // converts to the code page and back unchanged
  std::size_t bytes;   // its length there
};
enum class StoredNameKind { AsChosen, ShortPath, None };
struct StoredName {
  StoredNameKind kind;
  std::wstring path;     // what to store; empty for None
  bool tooLong = false;  // None only: a form survived the code page, but only cut
};
StoredName NameToStore(const std::wstring &chosen, const std::function<AnsiForm(const std::wstring &)> &ansiFormOf,
                       const std::function<std::wstring(const std::wstring &)> &shortPathOf);

// What apply does about this user's trust in the music file's path (see
// path_trust.h), whose seal it then keeps, alone, in the user's key, or
// removes: it seals a path the user chose through the file browser, and a
// path the user sealed before; it asks about a path that the settings file
// held unsealed, while the file source is chosen (with another source the
// path is kept as stored, unsealed); an empty path or a device needs no seal.
enum class ApplyTrust { Seal, Ask, Unseal };
ApplyTrust TrustOnApply(const std::wstring &path, int kind, bool unsealedFromFile, bool browsed);

// The three sources as one group of option buttons with one tab stop, in the
// order they stand: CD, none, file. The tab stop rests on the chosen source,
// or on the top one when none is chosen (a hand-edited kind).
int GroupFocusFor(int kind);
// Where an arrow key moves the choice from `focused`: Up and Left to the one
// above, Down and Right to the one below, round the ends.
int SourceAfterArrow(int focused, bool down);
