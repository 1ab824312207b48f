// Where the programs' libraries come from: the system folder alone. A copy
// of the programs run from the folder it was unpacked into would otherwise
// load, from that folder, any file named like a system library that is not
// one Windows keeps for itself. Those libraries are linked as delay imports
// (cmake/BrumalisSystemLibraries.cmake); the first call of each of their
// functions loads the library here, by its full path in the system folder.
#pragma once

// Called first thing in each program: every library loaded by a bare name
// from then on, by the system's own code inside the program too, comes from
// the system folder, where the system can be told so (Windows 8, and
// Windows 7 with its security updates). The delay imports come from there
// on every system.
void LoadLibrariesFromTheSystemFolderOnly();
