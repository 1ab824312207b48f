// Resource identifiers of the settings dialog's pictures.
#pragma once

#define IDB_MARK_OFF 201
#define IDB_MARK_ON 202
#define IDB_BANNER_FIRST 211  // frame 1; the others follow it, one a frame (shared_names.h)
#define IDC_POINTING_HAND 301
#define IDI_SKY 401
