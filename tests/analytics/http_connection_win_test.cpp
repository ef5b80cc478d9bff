// The HTTP client against a tiny HTTP server on 127.0.0.1 in the test
// itself: what goes over the wire and what comes back.

// The Windows headers depend on their order.
// clang-format off
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
// clang-format on

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>

#include "analytics/http_connection.h"
#include "analytics/http_session.h"

namespace vorn {
namespace {

std::u16string Text(const String& text) {
  return std::u16string(text.Text(), text.Length());
}

// Accepts one connection, records the request and sends a canned answer.
class OneShotServer {
 public:
  explicit OneShotServer(std::string response) : response_(std::move(response)) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(listener_, 1);
    thread_ = std::thread([this] { Serve(); });
  }
  ~OneShotServer() {
    closesocket(listener_);
    thread_.join();
  }
  uint16_t Port() const { return port_; }
  std::u16string Url() const {
    const std::string text = "http://127.0.0.1:" + std::to_string(port_);
    return std::u16string(text.begin(), text.end());
  }
  // The request as received, once the connection is done.
  std::string Request() {
    thread_.join();
    thread_ = std::thread([] {});
    return request_;
  }

 private:
  void Serve() {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) return;
    char buffer[4096];
    size_t expected = std::string::npos;
    for (;;) {
      const int got = recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) break;
      request_.append(buffer, got);
      const size_t end = request_.find("\r\n\r\n");
      if (end == std::string::npos) continue;
      if (expected == std::string::npos) {
        size_t length = 0;
        const size_t at = request_.find("Content-Length: ");
        if (at != std::string::npos && at < end) length = std::stoul(request_.substr(at + 16));
        expected = end + 4 + length;
      }
      if (request_.size() >= expected) break;
    }
    send(client, response_.data(), static_cast<int>(response_.size()), 0);
    shutdown(client, SD_SEND);
    closesocket(client);
  }

  std::string response_;
  SOCKET listener_ = INVALID_SOCKET;
  uint16_t port_ = 0;
  std::thread thread_;
  std::string request_;
};

std::string HeaderLine(const std::string& request, const std::string& name) {
  const size_t at = request.find("\r\n" + name + ": ");
  if (at == std::string::npos) return std::string();
  const size_t end = request.find("\r\n", at + 2);
  return request.substr(at + 2, end - at - 2);
}

std::string Body(const std::string& request) {
  return request.substr(request.find("\r\n\r\n") + 4);
}

TEST(HttpConnectionTest, PostsFormTextAsUtf8AndReadsTheAnswer) {
  OneShotServer server(
      "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: 2\r\nConnection: "
      "close\r\n\r\nok");
  std::unique_ptr<HttpConnection> connection(HttpConnection::Create(server.Url().c_str()));
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(connection->State(), kOk);
  EXPECT_FALSE(connection->IsSecure());
  // Three-byte UTF-8 characters: the body must not be cut short.
  const char16_t* text = u"v=1&cd=\u5B89\u88C5\u5B89\u88C5&ul=fr-fr&x=\u00E9";
  ASSERT_EQ(connection->PostText(text), kOk);
  const std::string request = server.Request();
  EXPECT_EQ(request.substr(0, request.find("\r\n")), "POST /collect HTTP/1.1");
  EXPECT_EQ(HeaderLine(request, "Content-Type"), "Content-Type: application/x-www-form-urlencoded");
  const Utf8Text agent(UserAgent());
  EXPECT_EQ(HeaderLine(request, "User-Agent"), std::string("User-Agent: ") + agent.Text());
  EXPECT_EQ(Body(request),
            "v=1&cd=\xE5\xAE\x89\xE8\xA3\x85\xE5\xAE\x89\xE8\xA3\x85&ul=fr-fr&x=\xC3\xA9");
  EXPECT_EQ(connection->StatusCode(), 200);
  EXPECT_EQ(Text(connection->ContentType()), u"text/plain");
  ASSERT_EQ(connection->Body().Size(), 2u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(connection->Body().Data()), 2), "ok");
}

TEST(HttpConnectionTest, MissingTextSendsNoBodyAndNoContentType) {
  OneShotServer server("HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n");
  std::unique_ptr<HttpConnection> connection(HttpConnection::Create(server.Url().c_str()));
  ASSERT_NE(connection, nullptr);
  ASSERT_EQ(connection->PostText(nullptr), kOk);
  const std::string request = server.Request();
  EXPECT_EQ(HeaderLine(request, "Content-Type"), "");
  EXPECT_EQ(Body(request), "");
  EXPECT_EQ(connection->StatusCode(), 204);
  EXPECT_EQ(connection->Body().Size(), 0u);
}

TEST(HttpConnectionTest, ServerErrorIsAStatusNotAFailure) {
  OneShotServer server(
      "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  std::unique_ptr<HttpConnection> connection(HttpConnection::Create(server.Url().c_str()));
  ASSERT_NE(connection, nullptr);
  EXPECT_EQ(connection->PostText(u"v=1"), kOk);
  EXPECT_EQ(connection->StatusCode(), 500);
}

TEST(HttpConnectionTest, SchemeSelectsTheSecureFlag) {
  std::unique_ptr<HttpConnection> secure(HttpConnection::Create(u"https://127.0.0.1:9/x"));
  ASSERT_NE(secure, nullptr);
  EXPECT_TRUE(secure->IsSecure());
  EXPECT_EQ(secure->Port(), 9);
  EXPECT_EQ(Text(secure->Host()), u"127.0.0.1");
  std::unique_ptr<HttpConnection> plain(HttpConnection::Create(u"http://localhost"));
  ASSERT_NE(plain, nullptr);
  EXPECT_FALSE(plain->IsSecure());
  EXPECT_EQ(plain->Port(), 80);
}

TEST(HttpConnectionTest, RefusedConnectionFailsAndLooksForAProxyOnce) {
  // A port that was just free: nothing listens there.
  WSADATA data;
  WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  int length = sizeof address;
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  const uint16_t port = ntohs(address.sin_port);
  closesocket(probe);
  const std::string url = "http://127.0.0.1:" + std::to_string(port);
  std::unique_ptr<HttpConnection> connection(
      HttpConnection::Create(std::u16string(url.begin(), url.end()).c_str()));
  ASSERT_NE(connection, nullptr);
  const Result first = connection->PostText(u"v=1");
  EXPECT_NE(first, kOk);
  EXPECT_EQ(connection->StatusCode(), 0);
  EXPECT_TRUE(connection->DiscoveryAttempted());
  EXPECT_NE(connection->PostText(u"v=1"), kOk);
}

TEST(HttpConnectionTest, BadUrlsLeaveAConnectionThatRefusesToPost) {
  std::unique_ptr<HttpConnection> bad(HttpConnection::Create(u"not a url"));
  ASSERT_NE(bad, nullptr);
  EXPECT_NE(bad->State(), kOk);
  EXPECT_EQ(bad->PostText(u"v=1"), kNotOpen);
  std::unique_ptr<HttpConnection> empty(HttpConnection::Create(u""));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->State(), kInvalidArgument);
  EXPECT_EQ(empty->PostText(nullptr), kNotOpen);
}

}  // namespace
}  // namespace vorn
