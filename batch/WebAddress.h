#pragma once

#include <string>
#include <string_view>

// The address as it goes out, as a browser sends a typed one: the spaces and
// tabs pasted around it dropped, and each space inside written as "%20",
// which the network clients would otherwise refuse. Nothing else is changed.
std::string AddressToSend(std::string_view address);

// Whether `address` names http or https itself; the clients would guess a
// scheme for an address without one, and fetch other schemes too.
bool NamesWebScheme(std::string_view address);
