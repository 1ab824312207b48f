// The banner frames as drawn, before they were compressed, are linked into
// the test at the identifiers of the stored frames plus this.
#pragma once

#define DRAWN_BANNER_OFFSET 1000
