#include "version_text.h"

#include "product_version.h"

const wchar_t kProductVersion[] = L"" BRUMALIS_VERSION_TEXT;
