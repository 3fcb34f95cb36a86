#include "platform/net/TcpSocket.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include "platform/net/SocketError.h"

namespace platform {
namespace {

// A listening loopback socket on a free port.
struct Listener {
  Socket socket{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
  uint16_t port = 0;

  Listener() {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(socket.Descriptor(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(socket.Descriptor(), 4);
    ::getsockname(socket.Descriptor(), reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
  }
};

bool WaitFor(const TcpSocket& socket, short events) {
  pollfd entry{socket.Descriptor(), events, 0};
  return ::poll(&entry, 1, 5000) == 1;
}

// Connects and waits until the connection is done; the result of the connect.
int Connect(TcpSocket& socket, uint16_t port) {
  int result = socket.StartConnect(IpAddress::V4({127, 0, 0, 1}), port);
  if (result != WsaEWouldBlock) return result;
  return WaitFor(socket, POLLOUT) ? socket.ConnectResult() : WsaETimedOut;
}

TEST(TcpSocketTest, ConnectSendReceiveAndPeerClose) {
  Listener listener;
  int error = -1;
  TcpSocket client = TcpSocket::Open(error);
  ASSERT_EQ(error, 0);
  ASSERT_EQ(Connect(client, listener.port), 0);
  Socket server(::accept(listener.socket.Descriptor(), nullptr, nullptr));
  ASSERT_TRUE(server.IsValid());

  char buffer[16];
  EXPECT_EQ(client.Receive(buffer, sizeof buffer, error), -1);
  EXPECT_EQ(error, WsaEWouldBlock);  // non-blocking: nothing there yet

  EXPECT_EQ(client.Send("HELO x\r\n", 8, error), 8);
  EXPECT_EQ(::recv(server.Descriptor(), buffer, sizeof buffer, 0), 8);
  ::send(server.Descriptor(), "250 ok\r\n", 8, 0);
  ASSERT_TRUE(WaitFor(client, POLLIN));
  EXPECT_EQ(client.Receive(buffer, sizeof buffer, error), 8);
  EXPECT_EQ(std::string(buffer, 8), "250 ok\r\n");

  server.Close();
  ASSERT_TRUE(WaitFor(client, POLLIN));
  EXPECT_EQ(client.Receive(buffer, sizeof buffer, error), 0);
  // Writing to a closed connection fails with a code, never with SIGPIPE.
  long sent = 0;
  for (int i = 0; i < 100 && sent >= 0; ++i) sent = client.Send("x", 1, error);
  EXPECT_EQ(sent, -1);
  EXPECT_TRUE(error == 10054 || error == 10058) << error;
}

TEST(TcpSocketTest, RefusedPort) {
  uint16_t port;
  {
    Listener gone;  // a port that was free a moment ago and now has no listener
    port = gone.port;
  }
  int error = -1;
  TcpSocket client = TcpSocket::Open(error);
  EXPECT_EQ(Connect(client, port), WsaEConnRefused);
}

TEST(TcpSocketTest, CloseResetsTheConnection) {
  Listener listener;
  int error = -1;
  TcpSocket client = TcpSocket::Open(error);
  ASSERT_EQ(Connect(client, listener.port), 0);
  Socket server(::accept(listener.socket.Descriptor(), nullptr, nullptr));
  client.Close();
  EXPECT_FALSE(client.IsValid());
  char c;
  EXPECT_EQ(::recv(server.Descriptor(), &c, 1, 0), -1);
  EXPECT_EQ(errno, ECONNRESET);
}

}  // namespace
}  // namespace platform
