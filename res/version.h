// The program's version, written once: the version record of every language set takes both its
// numbers and its texts from here, the version dialog its version line, and the release script
// reads it back from the built program.
#pragma once

#define STARTUP_VERSION_MAJOR 1
#define STARTUP_VERSION_MINOR 0

#define STARTUP_FILE_VERSION STARTUP_VERSION_MAJOR, STARTUP_VERSION_MINOR, 0, 0
#define STARTUP_PRODUCT_VERSION STARTUP_VERSION_MAJOR, STARTUP_VERSION_MINOR, 0, 0

// "1, 0, 0, 0": the text form of a number list, as the version record's string table holds it.
#define STARTUP_VERSION_TEXT_(...) #__VA_ARGS__
#define STARTUP_VERSION_TEXT(list) STARTUP_VERSION_TEXT_(list)

// "Version 1.0": the version dialog's line, in its template and as the dialog sets it.
#define STARTUP_VERSION_LINE                                                                       \
    "Version " STARTUP_VERSION_TEXT(STARTUP_VERSION_MAJOR) "." STARTUP_VERSION_TEXT(               \
        STARTUP_VERSION_MINOR)
