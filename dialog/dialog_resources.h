// Resource identifiers of the settings dialog's pictures.
#pragma once

#define IDB_MARK_OFF 201
#define IDB_MARK_ON 202
#define IDB_BANNER_FIRST 211  // frames 1 to 24: 211 to 234
#define IDC_POINTING_HAND 301
#define IDI_SKY 401
