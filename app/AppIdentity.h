// The application's fixed identity. The product title is a constant of the program, in the
// edition's code page (plain ASCII, the same bytes in every code page), not a resource: it is
// spelt in res/product.h, which the language sets include where they carry it too.
#pragma once

#include "res/product.h"

constexpr const char kRegistryKey[] = "Orvane";
constexpr const char kProfileName[] = "Tessaly Kr";
constexpr const char kProductTitle[] = STARTUP_PRODUCT_TITLE;
constexpr const char kGameMutexName[] = "Velmora Mutex";
