// Resource identifiers of the screensaver program.
#pragma once

#define IDB_PREVIEW 101
