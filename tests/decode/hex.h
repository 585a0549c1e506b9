// Bytes as hexadecimal, for messages of failed checks.
#pragma once

#include <cstdio>
#include <string>

inline std::string Hex(const std::string& s) {
  std::string h;
  char b[4];
  for (unsigned char c : s) {
    std::snprintf(b, sizeof b, "%02X ", c);
    h += b;
  }
  return h;
}
