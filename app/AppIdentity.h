// The application's fixed identity. The product title is a constant of the program, in the
// edition's code page (plain ASCII, the same bytes in every code page), not a resource.
#pragma once

constexpr const char kRegistryKey[] = "Orvane";
constexpr const char kProfileName[] = "Tessaly Kr";
constexpr const char kProductTitle[] = "Corvath Plus";
constexpr const char kGameMutexName[] = "Velmora Mutex";
