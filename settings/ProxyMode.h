// How the game reaches the network. The values are the access types of the Windows Internet API
// and are stored as they are in Login\UseProxy; 2 is never produced.
#pragma once

enum ProxyMode : int
{
    Preconfig = 0,  // the system's (Internet Explorer) proxy settings
    Direct = 1,     // no proxy
    NamedProxy = 3, // an explicit proxy server
};
