#include "service/StatusCells.h"

namespace velmora {

std::string HostNameCell(const std::string& host) {
  std::string cell;
  for (char c : host) {
    switch (c) {
      case '&': cell += "&amp;"; break;
      case '<': cell += "&lt;"; break;
      case '>': cell += "&gt;"; break;
      case '"': cell += "&quot;"; break;
      default: cell += c;
    }
  }
  return cell;
}

std::string RoundTripCell(int roundTripMs) {
  if (roundTripMs == -1) return R"(<Font FACE="Webdings" SIZE=4 Color="#000000"><p align="center">x</p></FONT>)";
  return R"(<Font FACE="Arial" SIZE=2 Color="#000000"><p align="center">)" + std::to_string(roundTripMs) +
         " ms</p></FONT>";
}

std::string StateCell(uint8_t state) {
  if (state == 1) return R"(<Font FACE="Webdings" SIZE=4 Color="#00FF00"><p align="center">a</p></Font>)";
  return R"(<Font FACE="Webdings" SIZE=4 Color="#FF0000"><p align="center"><b>x</b></p></Font>)";
}

}  // namespace velmora
