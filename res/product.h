// The product's title and the Korean edition's two web addresses, written once: the code takes
// them from here, and the language sets' resources that carry them include this header. Plain
// ASCII, the same bytes in every code page the sets are made in.
#pragma once

#define STARTUP_PRODUCT_TITLE "Corvath Plus"

// The addresses that the version dialog shows in every set, and that the Korean set's template
// holds (the Japanese and Traditional Chinese templates hold addresses of their own).
#define STARTUP_HOME_PAGE_ADDRESS "http://kr.orvane.example/"
#define STARTUP_COMMUNITY_ADDRESS "http://community.orvane.example/"
