#pragma once

#include <string>

namespace mailnet {

// The socket layer's error text for a Winsock error code: the code, ": " and the text of the code
// ("10061: Connection refused"), or "Unbekannte Fehlernummer " and the code for a code it does not know.
std::string WinsockErrorText(int code);

}  // namespace mailnet
