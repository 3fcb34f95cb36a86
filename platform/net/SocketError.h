#pragma once

namespace platform {

// The system's socket layers report failures as Winsock error codes and show the texts of their own
// tables for them. These functions turn the POSIX results into those codes, so the same code (and text)
// appears on Linux as on the system's original platform.

// Winsock codes that callers test for by name.
constexpr int WsaEIntr = 10004;
constexpr int WsaEAcces = 10013;
constexpr int WsaEWouldBlock = 10035;
constexpr int WsaEMsgSize = 10040;
constexpr int WsaETimedOut = 10060;
constexpr int WsaEConnRefused = 10061;
constexpr int WsaSysCallFailure = 10107;
constexpr int WsaHostNotFound = 11001;
constexpr int WsaTryAgain = 11002;
constexpr int WsaNoRecovery = 11003;
constexpr int WsaNoData = 11004;

// The Winsock code for an errno value of a socket call; 0 for 0. An errno without a Winsock
// counterpart gives WsaSysCallFailure.
int WinsockErrorFromErrno(int error);

// The Winsock code for a getaddrinfo result; 0 for 0. savedErrno is errno right after the call, used for
// EAI_SYSTEM.
int WinsockErrorFromAddrInfo(int result, int savedErrno);

// The Winsock code for an h_errno value of gethostbyname and its kin; 0 for 0.
int WinsockErrorFromHostErrno(int hostError);

}  // namespace platform
