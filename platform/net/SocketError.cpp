#include "platform/net/SocketError.h"

#include <netdb.h>

#include <cerrno>

namespace platform {

int WinsockErrorFromErrno(int error) {
  switch (error) {
    case 0: return 0;
    case EINTR: return WsaEIntr;
    case EBADF: return 10009;
    case EPERM:  // Linux refuses a raw socket with EPERM where Winsock says access denied
    case EACCES: return WsaEAcces;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE:
    case ENFILE: return 10024;
    case EAGAIN: return WsaEWouldBlock;  // EWOULDBLOCK is the same value on Linux
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EMSGSIZE: return WsaEMsgSize;
    case EPROTOTYPE: return 10041;
    case ENOPROTOOPT: return 10042;
    case EPROTONOSUPPORT: return 10043;
    case ESOCKTNOSUPPORT: return 10044;
    case EOPNOTSUPP: return 10045;  // ENOTSUP is the same value on Linux
    case EPFNOSUPPORT: return 10046;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    case ECONNRESET: return 10054;
    case ENOBUFS:
    case ENOMEM: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    case EPIPE:  // writing after the connection was shut down
    case ESHUTDOWN: return 10058;
    case ETOOMANYREFS: return 10059;
    case ETIMEDOUT: return WsaETimedOut;
    case ECONNREFUSED: return WsaEConnRefused;
    case ELOOP: return 10062;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    case ENOTEMPTY: return 10066;
    case EUSERS: return 10068;
    case EDQUOT: return 10069;
    case ESTALE: return 10070;
    case EREMOTE: return 10071;
    default: return WsaSysCallFailure;
  }
}

int WinsockErrorFromAddrInfo(int result, int savedErrno) {
  switch (result) {
    case 0: return 0;
    case EAI_NONAME: return WsaHostNotFound;
    case EAI_AGAIN: return WsaTryAgain;
    case EAI_NODATA:
    case EAI_ADDRFAMILY: return WsaNoData;  // the name exists but has no address of the asked family
    case EAI_MEMORY: return 10055;
    case EAI_SYSTEM: return WinsockErrorFromErrno(savedErrno);
    default: return WsaNoRecovery;
  }
}

int WinsockErrorFromHostErrno(int hostError) {
  switch (hostError) {
    case 0: return 0;
    case HOST_NOT_FOUND: return WsaHostNotFound;
    case TRY_AGAIN: return WsaTryAgain;
    case NO_DATA: return WsaNoData;
    default: return WsaNoRecovery;
  }
}

}  // namespace platform
