// The product's version as the programs show it ("1.0.0"). It is compiled in
// version_text.cpp alone, so that a build made as another version compiles
// that one small file again and takes everything else from the compiler
// cache.
#pragma once

extern const wchar_t kProductVersion[];
