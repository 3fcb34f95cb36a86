#include "platform/net/SocketError.h"

#include <gtest/gtest.h>
#include <netdb.h>

#include <cerrno>

namespace platform {
namespace {

TEST(SocketErrorTest, ErrnoMapsOntoWinsockCodes) {
  struct Case {
    int error;
    int code;
  };
  const Case cases[] = {
      {0, 0},          {EINTR, 10004},         {EPERM, 10013},        {EACCES, 10013},
      {EAGAIN, 10035}, {EINPROGRESS, 10036},   {EMSGSIZE, 10040},     {EPROTONOSUPPORT, 10043},
      {EPIPE, 10058},  {ETIMEDOUT, 10060},     {ECONNREFUSED, 10061}, {ENETUNREACH, 10051},
      {ECONNRESET, 10054}, {EHOSTUNREACH, 10065}, {ENOTEMPTY, 10066},
      {ENOSYS, WsaSysCallFailure},  // no Winsock counterpart: never a code of another meaning
  };
  for (const Case& c : cases) EXPECT_EQ(WinsockErrorFromErrno(c.error), c.code) << "errno " << c.error;
}

TEST(SocketErrorTest, ResolverResultsMapOntoWinsockCodes) {
  EXPECT_EQ(WinsockErrorFromAddrInfo(0, 0), 0);
  EXPECT_EQ(WinsockErrorFromAddrInfo(EAI_NONAME, 0), 11001);
  EXPECT_EQ(WinsockErrorFromAddrInfo(EAI_AGAIN, 0), 11002);
  EXPECT_EQ(WinsockErrorFromAddrInfo(EAI_FAIL, 0), 11003);
  EXPECT_EQ(WinsockErrorFromAddrInfo(EAI_NODATA, 0), 11004);
  EXPECT_EQ(WinsockErrorFromAddrInfo(EAI_SYSTEM, ECONNREFUSED), 10061);

  EXPECT_EQ(WinsockErrorFromHostErrno(HOST_NOT_FOUND), 11001);
  EXPECT_EQ(WinsockErrorFromHostErrno(TRY_AGAIN), 11002);
  EXPECT_EQ(WinsockErrorFromHostErrno(NO_RECOVERY), 11003);
  EXPECT_EQ(WinsockErrorFromHostErrno(NO_DATA), 11004);
}

}  // namespace
}  // namespace platform
