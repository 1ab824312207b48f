// Twips, pixels and dots per inch. A twip is 1/1440 inch, so a length in
// twips covers twips × dpi / 1440 pixels on a screen of `dpi` dots per inch
// (15 twips to a pixel at 96, 12 at 120, 10 at 144, 7.5 at 192). The
// conversions are exact at every DPI, also where 1440 / dpi is no whole
// number, and round to the nearest pixel, ties to even.
#pragma once

constexpr int kBaseDpi = 96;  // the DPI at which a pixel is 15 twips

// Twips to pixels, and back (the nearest whole twip).
int TwipsToPixels(long twips, int dpi);
long PixelsToTwips(long pixels, int dpi);

// The fewest whole pixels that are at least `twips` long (twips >= 0): a
// least size that rounding to the nearest pixel could undercut.
int PixelsCovering(long twips, int dpi);

// A length in pixels at 96 DPI, on a screen of `dpi`: how big a picture drawn
// for 96 DPI is shown so that it takes the same share of its place.
int ScaleFromBaseDpi(int pixels, int dpi);

// The DPI the screen reports, or 96 when it reports none that makes sense.
int UsableDpi(int reported);
